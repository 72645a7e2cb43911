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

// The whole way, as the plugin takes it: decode and inflate the answer, then read the JSON text.
void CompressedAnswerReadBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, scenario.json.size(), "the compressed answer does not decode", [&] {
        MaybeType<std::string> text = GameQueues::DecodeCompressedQueues(scenario.compressedAnswer);
        if (!text) {
            return false;
        }
        ConversionStatus read = Json::Read(text.Value());
        benchmark::DoNotOptimize(read);
        return true;
    });
}

// The plain way: a table Base64 decoder, zlib inflating once into a buffer sized from the gzip
// trailer, and RapidJSON's DOM.
void CompressedAnswerReadPlain(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, scenario.json.size(), "the compressed answer does not read", [&] {
        PeerDocument document;
        const bool read = ReadCompressedAnswer(scenario.compressedAnswer, document);
        benchmark::DoNotOptimize(document);
        return read;
    });
}

void DecodeCompressedQueuesBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, scenario.json.size(), [&] {
        MaybeType<std::string> text = GameQueues::DecodeCompressedQueues(scenario.compressedAnswer);
        benchmark::DoNotOptimize(text);
    });
}

void InflateBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, scenario.json.size(), "the queue list does not inflate", [&] {
        GameQueues::InflatedBytes output(2 * scenario.gzip.size());
        const int status = GameQueues::InflateGzip(Bytes(scenario.gzip), output);
        benchmark::DoNotOptimize(output);
        return status == 0 && output.Length() == scenario.json.size();
    });
}

// The peer's inflation: one zlib call into a buffer sized from the gzip trailer.
void InflateZlibSized(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, scenario.json.size(), "the queue list does not inflate", [&] {
        std::string output;
        const bool inflated = InflateSized(scenario.gzip, output);
        benchmark::DoNotOptimize(output);
        return inflated && output.size() == scenario.json.size();
    });
}

void Base64DecodeBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, scenario.compressedAnswer.size(), [&] {
        std::vector<uint8_t> bytes = Base64Decode(scenario.compressedAnswer);
        benchmark::DoNotOptimize(bytes);
    });
}

void Base64DecodePlain(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, scenario.compressedAnswer.size(), [&] {
        std::string bytes = DecodePlainBase64(scenario.compressedAnswer);
        benchmark::DoNotOptimize(bytes);
    });
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
