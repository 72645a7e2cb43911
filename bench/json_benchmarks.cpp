// json_benchmarks.cpp - reading JSON text into a tree and writing a tree as compact JSON, against
// RapidJSON's DOM and Writer, nlohmann::json and simdjson's DOM.
#include <rapidjson/writer.h>
#include <simdjson.h>
#include <nlohmann/json.hpp>

#include <string>

#include "bench/allocation_meter.h"
#include "bench/bench_inputs.h"
#include "bench/counting_rapidjson_allocator.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"

namespace Brix::Bench {

namespace {

void JsonReadBrix(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.json.size(), [&] {
        ConversionStatus read = Json::Read(input.json);
        benchmark::DoNotOptimize(read);
    });
    state.counters["poolB"] = PoolBytes(Json::Read(input.json).Value());
}

// JsonReadRapidJsonDom parses with RapidJSON's defaults, the peer the goal is set against; the
// checked peer parses with the two guarantees the plugin's reader gives on top (encoding checked,
// numbers read exactly), for reference.
template <unsigned kFlags>
void JsonReadRapidJsonDom(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.json.size(), "RapidJSON does not read the input", [&] {
        PeerDocument document;
        document.Parse<kFlags>(input.json.data(), input.json.size());
        benchmark::DoNotOptimize(document);
        return !document.HasParseError();
    });
}

void JsonReadNlohmann(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.json.size(), "nlohmann::json does not read the input", [&] {
        nlohmann::json document = nlohmann::json::parse(input.json, nullptr, false);
        benchmark::DoNotOptimize(document);
        return !document.is_discarded();
    });
}

// simdjson is measured as it is meant to be used: one parser kept across documents (its buffers are
// made by a first parse before the meter starts) and the text copied once, outside the loop, into the
// padded buffer it reads from.
void JsonReadSimdjsonDom(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    const simdjson::padded_string padded(input.json);
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    if (parser.parse(padded).get(root) != simdjson::SUCCESS) {
        state.SkipWithError("simdjson does not read the input");
        return;
    }
    MeasureEach(state, input.json.size(), "simdjson does not read the input", [&] {
        const bool read = parser.parse(padded).get(root) == simdjson::SUCCESS;
        benchmark::DoNotOptimize(root);
        return read;
    });
}

void JsonWriteBrix(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.json.size(), [&] {
        std::string text = Json::Write(input.tree);
        benchmark::DoNotOptimize(text);
    });
}

// The peer writes a Document of the same text into its own buffer and hands the text over as a
// std::string, as the plugin's writer does.
void JsonWriteRapidJsonWriter(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    PeerDocument document;
    document.Parse<kPeerParseFlags>(input.json.data(), input.json.size());
    MeasureEach(state, input.json.size(), [&] {
        PeerStringBuffer buffer;
        rapidjson::Writer<PeerStringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>, CountingRapidJsonAllocator>
            writer(buffer);
        document.Accept(writer);
        std::string text(buffer.GetString(), buffer.GetSize());
        benchmark::DoNotOptimize(text);
    });
}

void JsonWritePrettyBrix(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, 0, [&] {
        std::string text = Json::Write(input.tree, nullptr, "\n");
        benchmark::DoNotOptimize(text);
    });
}

const bool registered =
    RegisterOnInputs("JsonRead/Brix", JsonReadBrix, kAllInputs) &&
    RegisterOnInputs("JsonRead/RapidJsonDom", JsonReadRapidJsonDom<rapidjson::kParseDefaultFlags>,
                     kAllInputs) &&
    RegisterOnInputs("JsonRead/RapidJsonDomChecked", JsonReadRapidJsonDom<kPeerParseFlags>, kAllInputs) &&
    RegisterOnInputs("JsonRead/Nlohmann", JsonReadNlohmann, kAllInputs) &&
    RegisterOnInputs("JsonRead/SimdjsonDom", JsonReadSimdjsonDom, kAllInputs) &&
    RegisterOnInputs("JsonWrite/Brix", JsonWriteBrix, kAllInputs) &&
    RegisterOnInputs("JsonWrite/RapidJsonWriter", JsonWriteRapidJsonWriter, kAllInputs) &&
    RegisterOnInputs("JsonWritePretty/Brix", JsonWritePrettyBrix, kQueueInputs);

}  // namespace

}  // namespace Brix::Bench
