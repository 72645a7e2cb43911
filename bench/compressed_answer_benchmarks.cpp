// compressed_answer_benchmarks.cpp - the matchmaker's compressed answer (Base64 of gzip of JSON) read
// into a tree, against the plain way, and its decoding steps one by one.
#include <zlib.h>

#include <span>
#include <string>
#include <vector>

#include "bench/allocation_meter.h"
#include "bench/bench_inputs.h"
#include "bench/compressed_answer_peer.h"
#include "bench/queue_scenario.h"
#include "binding/base64.h"
#include "codecs/json_reader.h"
#include "queues/service/compressed_queues.h"
#include "queues/service/inflate_gzip.h"

namespace Brix::Bench {

namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

void SetTextThroughput(benchmark::State& state, const QueueScenario& scenario) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.json.size()));
}

// The whole way, as the plugin takes it: decode and inflate the answer, then read the JSON text.
void CompressedAnswerReadBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    AllocationMeter meter;
    for (auto _ : state) {
        MaybeType<std::string> text = GameQueues::DecodeCompressedQueues(scenario.compressedAnswer);
        if (!text) {
            state.SkipWithError("the compressed answer does not decode");
            break;
        }
        ConversionStatus read = Json::Read(text.Value());
        benchmark::DoNotOptimize(read);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario);
}

// The plain way: a table Base64 decoder, zlib inflating once into a buffer sized from the gzip
// trailer, and RapidJSON's DOM.
void CompressedAnswerReadPlain(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    AllocationMeter meter;
    for (auto _ : state) {
        PeerDocument document;
        if (!ReadCompressedAnswer(scenario.compressedAnswer, document)) {
            state.SkipWithError("the compressed answer does not read");
            break;
        }
        benchmark::DoNotOptimize(document);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario);
}

void DecodeCompressedQueuesBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    AllocationMeter meter;
    for (auto _ : state) {
        MaybeType<std::string> text = GameQueues::DecodeCompressedQueues(scenario.compressedAnswer);
        benchmark::DoNotOptimize(text);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario);
}

void InflateBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
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
    SetTextThroughput(state, scenario);
}

// The peer's inflation: one zlib call into a buffer sized from the gzip trailer.
void InflateZlibSized(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    AllocationMeter meter;
    for (auto _ : state) {
        std::string output;
        if (!InflateSized(scenario.gzip, output) || output.size() != scenario.json.size()) {
            state.SkipWithError("the queue list does not inflate");
            break;
        }
        benchmark::DoNotOptimize(output);
    }
    meter.Report(state);
    SetTextThroughput(state, scenario);
}

void Base64DecodeBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    AllocationMeter meter;
    for (auto _ : state) {
        std::vector<uint8_t> bytes = Base64Decode(scenario.compressedAnswer);
        benchmark::DoNotOptimize(bytes);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.compressedAnswer.size()));
}

void Base64DecodePlain(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    AllocationMeter meter;
    for (auto _ : state) {
        std::string bytes = DecodePlainBase64(scenario.compressedAnswer);
        benchmark::DoNotOptimize(bytes);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.compressedAnswer.size()));
}

const bool registered =
    RegisterOnInputs("CompressedAnswerRead/Brix", CompressedAnswerReadBrix, kQueueInputs) &&
    RegisterOnInputs("CompressedAnswerRead/ZlibBase64RapidJson", CompressedAnswerReadPlain, kQueueInputs) &&
    RegisterOnInputs("DecodeCompressedQueues/Brix", DecodeCompressedQueuesBrix, kQueueInputs) &&
    RegisterOnInputs("InflateGzip/Brix", InflateBrix, kQueueInputs) &&
    RegisterOnInputs("InflateGzip/ZlibSized", InflateZlibSized, kQueueInputs) &&
    RegisterOnInputs("Base64Decode/Brix", Base64DecodeBrix, kQueueInputs) &&
    RegisterOnInputs("Base64Decode/Plain", Base64DecodePlain, kQueueInputs);

}  // namespace

}  // namespace Brix::Bench
