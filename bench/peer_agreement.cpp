// peer_agreement.cpp - every reader against the canonical text of every input.
#include "bench/peer_agreement.h"

#include <rapidjson/writer.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "bench/bench_inputs.h"
#include "bench/compressed_answer_peer.h"
#include "bench/libyaml_events.h"
#include "bench/nlohmann_records.h"
#include "bench/peer_values.h"
#include "bench/queue_scenario.h"
#include "binding/value_conversion.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "codecs/msgpack_reader.h"
#include "codecs/yaml_reader.h"
#include "queues/service/compressed_queues.h"

namespace Brix::Bench {

namespace {

[[noreturn]] void Disagree(std::string_view reader, InputId input, std::string_view what) {
    std::fprintf(stderr, "benchmark inputs: %.*s on %.*s: %.*s\n", static_cast<int>(reader.size()),
                 reader.data(), static_cast<int>(InputName(input).size()), InputName(input).data(),
                 static_cast<int>(what.size()), what.data());
    std::exit(1);
}

// FirstDifference shows where text first departs from canonical, with a little of each around it.
std::string FirstDifference(std::string_view text, std::string_view canonical) {
    constexpr std::size_t kContext = 40;
    std::size_t at = 0;
    while (at < text.size() && at < canonical.size() && text[at] == canonical[at]) {
        ++at;
    }
    const std::size_t from = at > kContext ? at - kContext : 0;
    return "at offset " + std::to_string(at) + ", \"" + std::string(text.substr(from, 2 * kContext)) +
           "\" where the input has \"" + std::string(canonical.substr(from, 2 * kContext)) + "\"";
}

// Checker compares the readers' results on one input with its canonical text.
class Checker {
public:
    explicit Checker(InputId id) : input(id), canonical(Input(id).json) {}

    // Same checks a generic value: converted (false: the peer's tree has no generic form) and equal.
    void Same(std::string_view reader, bool converted, const BindingProperty& value) const {
        if (!converted) {
            Disagree(reader, input, "the result has no generic form");
        }
        const std::string text = Json::Write(value);
        if (text != canonical) {
            Disagree(reader, input, "reads another document: " + FirstDifference(text, canonical));
        }
    }

    void SameStatus(std::string_view reader, const ConversionStatus& read) const {
        if (!read.Ok()) {
            Disagree(reader, input, read.Message());
        }
        Same(reader, true, read.Value());
    }

    // SameText checks a JSON text written by a writer: it reads back as the document.
    void SameText(std::string_view writer, const std::string& text) const {
        SameStatus(writer, Json::Read(text));
    }

    InputId Id() const noexcept { return input; }

private:
    InputId input;
    const std::string& canonical;
};

void CheckOurReaders(const Checker& check, const BenchInput& input) {
    check.SameStatus("JsonRead/Brix", Json::Read(input.json));
    std::size_t consumed = 0;
    check.SameStatus("MsgPackRead/Brix", MsgPack::Read(input.msgPack, &consumed));
    if (consumed != input.msgPack.size()) {
        Disagree("MsgPackRead/Brix", check.Id(), "reads short");
    }
    check.SameStatus("YamlRead/Brix", Yaml::Read(input.yaml));
    check.SameText("JsonWrite/Brix", Json::Write(input.tree));
}

void CheckJsonPeers(const Checker& check, const BenchInput& input) {
    PeerDocument document;
    document.Parse<kPeerParseFlags>(input.json.data(), input.json.size());
    BindingProperty fromRapidJson;
    check.Same("JsonRead/RapidJsonDom", !document.HasParseError() && FromRapidJson(document, fromRapidJson),
               fromRapidJson);

    PeerStringBuffer buffer;
    rapidjson::Writer<PeerStringBuffer, rapidjson::UTF8<>, rapidjson::UTF8<>, CountingRapidJsonAllocator>
        writer(buffer);
    document.Accept(writer);
    check.SameText("JsonWrite/RapidJsonWriter", std::string(buffer.GetString(), buffer.GetSize()));

    const nlohmann::json parsed = nlohmann::json::parse(input.json, nullptr, false);
    BindingProperty fromNlohmann;
    check.Same("JsonRead/Nlohmann", !parsed.is_discarded() && FromNlohmann(parsed, fromNlohmann),
               fromNlohmann);

    simdjson::dom::parser parser;
    const simdjson::padded_string padded(input.json);
    simdjson::dom::element root;
    BindingProperty fromSimdjson;
    check.Same("JsonRead/SimdjsonDom",
               parser.parse(padded).get(root) == simdjson::SUCCESS && FromSimdjson(root, fromSimdjson),
               fromSimdjson);
}

void CheckMsgPackAndYamlPeers(const Checker& check, const BenchInput& input) {
    BindingProperty fromMsgpack;
    const msgpack::object_handle unpacked = msgpack::unpack(input.msgPack.data(), input.msgPack.size());
    check.Same("MsgPackRead/MsgpackUnpack", FromMsgpack(unpacked.get(), fromMsgpack), fromMsgpack);

    BindingProperty fromYamlCpp;
    check.Same("YamlRead/YamlCpp", FromYamlCpp(YAML::Load(input.yaml), fromYamlCpp), fromYamlCpp);

    const std::size_t events = ParseYamlEvents(input.yaml);
    if (events != YamlEventCount(input.tree)) {
        Disagree(
            "YamlRead/LibyamlEvents", check.Id(),
            "sees " + std::to_string(events) + " events of " + std::to_string(YamlEventCount(input.tree)));
    }
}

void CheckQueuePeers(const Checker& check, std::size_t queueCount) {
    const QueueScenario& scenario = Scenario(queueCount);

    MaybeType<std::string> decoded = GameQueues::DecodeCompressedQueues(scenario.compressedAnswer);
    if (!decoded) {
        Disagree("CompressedAnswerRead/Brix", check.Id(), decoded.Error().Message());
    }
    check.SameStatus("CompressedAnswerRead/Brix", Json::Read(decoded.Value()));
    PeerDocument document;
    BindingProperty fromPeer;
    check.Same("CompressedAnswerRead/ZlibBase64RapidJson",
               ReadCompressedAnswer(scenario.compressedAnswer, document) && FromRapidJson(document, fromPeer),
               fromPeer);

    const TypeRegistry& registry = QueueRegistry();
    std::vector<GameQueues::Lcds::GameQueueConfig> ours;
    ConversionStatus status;
    ValueToNative(status, ours, scenario.queueList, "<value>", registry);
    if (!status.Ok() || ours != scenario.matchmakerQueues) {
        Disagree("TreeToRecords/Brix", check.Id(), "gives other records");
    }
    const auto theirs =
        nlohmann::json::parse(scenario.json).get<std::vector<GameQueues::Lcds::GameQueueConfig>>();
    if (theirs != scenario.matchmakerQueues) {
        Disagree("TreeToRecords/NlohmannFromJson", check.Id(), "gives other records");
    }

    BindingProperty ourTree;
    NativeToValue(status, ourTree, scenario.queues, registry);
    const nlohmann::json theirTree = scenario.queues;
    BindingProperty theirValue;
    if (!status.Ok() || !FromNlohmann(theirTree, theirValue) ||
        Json::Write(ourTree, &registry) != Json::Write(theirValue)) {
        Disagree("RecordsToTree/NlohmannToJson", check.Id(), "gives another tree than RecordsToTree/Brix");
    }
}

}  // namespace

void CheckPeersAgree() {
    try {
        for (InputId id : kAllInputs) {
            const Checker check(id);
            const BenchInput& input = Input(id);
            CheckOurReaders(check, input);
            CheckJsonPeers(check, input);
            CheckMsgPackAndYamlPeers(check, input);
            if (id != InputId::Mixed) {
                CheckQueuePeers(check, QueueCountOf(id));
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "benchmark inputs: a peer fails: %s\n", error.what());
        std::exit(1);
    }
    std::fprintf(stderr, "benchmark inputs: every reader reads each input as the same document\n");
    for (InputId id : kAllInputs) {
        const BenchInput& input = Input(id);
        std::fprintf(stderr, "  %-12s JSON %zu bytes, MessagePack %zu bytes, YAML %zu bytes\n",
                     std::string(InputName(id)).c_str(), input.json.size(), input.msgPack.size(),
                     input.yaml.size());
    }
}

}  // namespace Brix::Bench
