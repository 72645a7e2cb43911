// json_benchmarks.cpp - reading and writing the queue list as JSON, against RapidJSON's DOM.
#include <rapidjson/writer.h>

#include <string>

#include "bench/allocation_meter.h"
#include "bench/counting_rapidjson_allocator.h"
#include "bench/queue_scenario.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"

namespace Brix::Bench {

namespace {

void SetTextThroughput(benchmark::State& state, std::size_t textSize) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(textSize));
}

void JsonReadBrix(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        ConversionStatus read = Json::Read(scenario.json);
        benchmark::DoNotOptimize(read);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario.json.size());
    state.counters["poolB"] = PoolBytes(Json::Read(scenario.json).Value());
}

void JsonReadRapidJsonDom(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        PeerDocument document;
        document.Parse(scenario.json.data(), scenario.json.size());
        if (document.HasParseError()) {
            state.SkipWithError("RapidJSON does not read the queue list");
            break;
        }
        benchmark::DoNotOptimize(document);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario.json.size());
}

void JsonWriteBrix(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        std::string text = Json::Write(scenario.queueList);
        benchmark::DoNotOptimize(text);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario.json.size());
}

// The peer writes into its own buffer and hands the text over as a std::string, as the plugin's
// writer does.
void JsonWriteRapidJsonDom(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    PeerDocument document;
    document.Parse(scenario.json.data(), scenario.json.size());
    AllocationMeter meter;
    for (auto _ : state) {
        PeerStringBuffer buffer;
        rapidjson::Writer<PeerStringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>, CountingRapidJsonAllocator>
            writer(buffer);
        document.Accept(writer);
        std::string text(buffer.GetString(), buffer.GetSize());
        benchmark::DoNotOptimize(text);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario.json.size());
}

void JsonWritePrettyBrix(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        std::string text = Json::Write(scenario.queueList, nullptr, "\n");
        benchmark::DoNotOptimize(text);
    }
    meter.Report(state);
}

}  // namespace

BENCHMARK(JsonReadBrix)->Name("JsonRead/Brix")->Apply(QueueCounts);
BENCHMARK(JsonReadRapidJsonDom)->Name("JsonRead/RapidJsonDom")->Apply(QueueCounts);
BENCHMARK(JsonWriteBrix)->Name("JsonWrite/Brix")->Apply(QueueCounts);
BENCHMARK(JsonWriteRapidJsonDom)->Name("JsonWrite/RapidJsonDom")->Apply(QueueCounts);
BENCHMARK(JsonWritePrettyBrix)->Name("JsonWritePretty/Brix")->Apply(QueueCounts);

}  // namespace Brix::Bench
