// queue_list_benchmarks.cpp - the queue list's way through the plugin: decoding the compressed answer,
// native conversion both ways and building the published list.
#include <zlib.h>

#include <span>
#include <string>
#include <vector>

#include "bench/allocation_meter.h"
#include "bench/queue_scenario.h"
#include "binding/base64.h"
#include "binding/value_conversion.h"
#include "queues/model/queue_builder.h"
#include "queues/service/compressed_queues.h"
#include "queues/service/inflate_gzip.h"

namespace Brix::Bench {

namespace {

using GameQueues::Api::Queue;
using GameQueues::Lcds::GameQueueConfig;

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// InflateOneShot is the peer of the windowed inflation: zlib inflating the whole gzip stream in one
// call into a buffer of the exact inflated size, which the caller knows beforehand. No real caller
// knows it; this is the floor of what inflation can cost.
bool InflateOneShot(const std::string& gzip, std::string& out) {
    z_stream stream{};
    if (inflateInit2(&stream, 31) != Z_OK) {
        return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.data()));
    stream.avail_in = static_cast<uInt>(gzip.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return status == Z_STREAM_END && stream.total_out == out.size();
}

void DecodeCompressedQueuesBrix(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        MaybeType<std::string> text = GameQueues::DecodeCompressedQueues(scenario.compressedAnswer);
        benchmark::DoNotOptimize(text);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.json.size()));
}

void InflateBrix(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        GameQueues::InflatedBytes output(2 * scenario.gzip.size());
        const int status = GameQueues::InflateGzip(Bytes(scenario.gzip), output);
        if (status != 0 || output.Length() != scenario.json.size()) {
            state.SkipWithError("the queue list does not inflate");
            break;
        }
        benchmark::DoNotOptimize(output);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.json.size()));
}

void InflateZlibOneShot(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        std::string output(scenario.json.size(), '\0');
        if (!InflateOneShot(scenario.gzip, output)) {
            state.SkipWithError("the queue list does not inflate");
            break;
        }
        benchmark::DoNotOptimize(output);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.json.size()));
}

void Base64DecodeBrix(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        std::vector<uint8_t> bytes = Base64Decode(scenario.compressedAnswer);
        benchmark::DoNotOptimize(bytes);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.compressedAnswer.size()));
}

void ValueToMatchmakerQueues(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    const TypeRegistry& registry = QueueRegistry();
    AllocationMeter meter;
    for (auto _ : state) {
        std::vector<GameQueueConfig> queues;
        ConversionStatus status;
        ValueToNative(status, queues, scenario.queueList, "<value>", registry);
        benchmark::DoNotOptimize(queues);
    }
    meter.Report(state);
}

void PublishedQueuesToValue(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    const TypeRegistry& registry = QueueRegistry();
    AllocationMeter meter;
    for (auto _ : state) {
        BindingProperty value;
        ConversionStatus status;
        NativeToValue(status, value, scenario.queues, registry);
        benchmark::DoNotOptimize(value);
    }
    meter.Report(state);
    BindingProperty value;
    ConversionStatus status;
    NativeToValue(status, value, scenario.queues, registry);
    state.counters["poolB"] = PoolBytes(value);
}

void BuildQueueList(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    const GameQueues::QueueBuildInputs inputs = scenario.Inputs();
    AllocationMeter meter;
    for (auto _ : state) {
        MaybeType<std::vector<Queue>> queues = GameQueues::BuildQueueList(scenario.matchmakerQueues, inputs);
        benchmark::DoNotOptimize(queues);
    }
    meter.Report(state);
}

}  // namespace

BENCHMARK(DecodeCompressedQueuesBrix)->Name("DecodeCompressedQueues/Brix")->Apply(QueueCounts);
BENCHMARK(InflateBrix)->Name("InflateGzip/Brix")->Apply(QueueCounts);
BENCHMARK(InflateZlibOneShot)->Name("InflateGzip/ZlibOneShot")->Apply(QueueCounts);
BENCHMARK(Base64DecodeBrix)->Name("Base64Decode/Brix")->Apply(QueueCounts);
BENCHMARK(ValueToMatchmakerQueues)->Name("ValueToNative/GameQueueConfigs")->Apply(QueueCounts);
BENCHMARK(PublishedQueuesToValue)->Name("NativeToValue/Queues")->Apply(QueueCounts);
BENCHMARK(BuildQueueList)->Name("BuildQueueList")->Apply(QueueCounts);

}  // namespace Brix::Bench
