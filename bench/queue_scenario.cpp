// queue_scenario.cpp - reading the recorded platform and preparing each size of queue list from it.
#include "bench/queue_scenario.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string_view>

#include "bench/msgpack_encoding.h"
#include "bench/yaml_emitting.h"
#include "binding/base64.h"
#include "binding/value_conversion.h"
#include "binding/wire_class_names.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "codecs/msgpack_reader.h"
#include "codecs/yaml_reader.h"
#include "queues/model/matchmaker_records_registration.h"
#include "queues/model/queue_records_registration.h"
#include "queues/service/comma_separated_set.h"
#include "queues/service/compressed_queues.h"

namespace Brix::Bench {

namespace {

using GameQueues::Api::QueueGameTypeConfig;
using GameQueues::Api::QueueTranslation;

constexpr int32_t kIdStride = 10000;
constexpr std::string_view kNamespaces = "/hux-platform-config/v1/namespaces/";
constexpr std::string_view kPremadeSizesPrefix = "AllowablePremadeSizesForQueueId";

[[noreturn]] void Stop(std::string_view what) {
    std::fprintf(stderr, "benchmark data: %.*s\n", static_cast<int>(what.size()), what.data());
    std::exit(1);
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        Stop("cannot open " + path);
    }
    std::ostringstream text;
    text << file.rdbuf();
    return std::move(text).str();
}

// Recording is the recorded platform. It is destroyed with the other statics, not left to the end of
// the process: its heap blocks are reachable only through pool pages, which the leak checker does not
// search, so a recording kept to the end would be reported as leaked.
const BindingProperty& Recording() {
    static const BindingProperty recording = [] {
        ConversionStatus read = Json::Read(ReadFile(HUX_BENCH_DATA_DIR "/platform_scenario.json"));
        if (!read.Ok()) {
            Stop(read.Message());
        }
        return std::move(read.Value());
    }();
    return recording;
}

const BindingProperty& Setting(std::string_view name) {
    const BindingProperty* setting =
        Recording().Member("resources").FindMember(std::string(kNamespaces) + std::string(name));
    if (setting == nullptr) {
        Stop("the recording has no setting " + std::string(name));
    }
    return *setting;
}

template <class T>
T Convert(const BindingProperty& value, std::string_view what) {
    T native{};
    ConversionStatus status;
    ValueToNative(status, native, value, "<value>", QueueRegistry());
    if (!status.Ok()) {
        Stop(std::string(what) + ": " + std::string(status.Message()));
    }
    return native;
}

// Repeated lists `rounds` copies of ids, the copy of round r shifted by r * kIdStride.
std::vector<int32_t> Repeated(const std::vector<int32_t>& ids, int32_t rounds) {
    std::vector<int32_t> all;
    for (int32_t round = 0; round < rounds; ++round) {
        for (int32_t id : ids) {
            all.push_back(id + round * kIdStride);
        }
    }
    return all;
}

std::string Gzip(std::string_view text) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        Stop("deflateInit2 failed");
    }
    std::string out(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int status = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END) {
        Stop("deflate failed");
    }
    return out;
}

// CheckSameDocument stops unless read holds the document whose compact JSON text is json.
void CheckSameDocument(const ConversionStatus& read, const std::string& json, std::string_view form) {
    if (!read.Ok()) {
        Stop(std::string(form) + " of the queue list does not read: " + std::string(read.Message()));
    }
    if (Json::Write(read.Value()) != json) {
        Stop(std::string(form) + " of the queue list reads as another document");
    }
}

std::unique_ptr<QueueScenario> MakeScenario(std::size_t queueCount) {
    auto scenario = std::make_unique<QueueScenario>();
    const BindingProperty& recordedQueues = Recording().Member("matchmaker").Member("queues");
    const std::size_t recordedCount = recordedQueues.ElementCount();
    if (recordedCount != kRecordedQueueCount) {
        Stop("the recording holds " + std::to_string(recordedCount) + " queues");
    }
    const auto rounds = static_cast<int32_t>((queueCount + recordedCount - 1) / recordedCount);

    scenario->queueList.ReserveElements(queueCount);
    for (std::size_t i = 0; i < queueCount; ++i) {
        const BindingProperty& recorded = recordedQueues.Element(i % recordedCount);
        BindingProperty& queue = scenario->queueList.AppendElement();
        queue = recorded;
        const auto round = static_cast<int64_t>(i / recordedCount);
        if (round > 0) {
            const auto id = recorded.Member("id").AsUnsigned() + static_cast<uint64_t>(round * kIdStride);
            queue.MemberForWriting("id").SetUnsigned(id);
        }
    }

    scenario->championPointQueueTypes = GameQueues::SplitCommaSeparatedSet(
        Setting("ChampionMasteryConfig/ChampionPointQueueTypes").AsString());
    for (const auto& config : Convert<std::vector<QueueGameTypeConfig>>(
             Setting("LoginDataPacket/gameTypeConfigs"), "game type configs")) {
        scenario->gameTypeConfigs.insert_or_assign(config.id, config);
    }
    scenario->observerModeEnabled = Setting("ClientSystemStates/observerModeEnabled").AsBool();
    scenario->observableQueueTypes =
        Convert<std::vector<std::string>>(Setting("ClientSystemStates/observableGameModes"), "observable");
    scenario->queuesRequiringTwentyChampions = Repeated(
        Convert<std::vector<int32_t>>(Setting("QueueRestriction/QueuesRequiringTwentyChampions"), "twenty"),
        rounds);
    scenario->enabledQueueIds = Repeated(
        Convert<std::vector<int32_t>>(Setting("ClientSystemStates/enabledQueueIdsList"), "enabled"), rounds);
    for (const std::string& mutator :
         Convert<std::vector<std::string>>(Setting("Mutators/EnabledAssetMutators"), "asset mutators")) {
        scenario->enabledAssetMutators.insert(mutator);
    }

    // The restrictions namespace: the twenty-champion list and one premade-size setting per queue.
    const BindingProperty& restriction = Setting("QueueRestriction");
    for (const auto& [name, value] : restriction.Members()) {
        if (!name.starts_with(kPremadeSizesPrefix)) {
            continue;
        }
        const int32_t id = std::stoi(std::string(name.substr(kPremadeSizesPrefix.size())));
        for (int32_t round = 0; round < rounds; ++round) {
            const std::string repeated =
                std::string(kPremadeSizesPrefix) + std::to_string(id + round * kIdStride);
            scenario->queueRestriction.MemberForWriting(repeated) = value;
        }
    }
    BindingProperty& twenty = scenario->queueRestriction.MemberForWriting("QueuesRequiringTwentyChampions");
    for (int32_t id : scenario->queuesRequiringTwentyChampions) {
        twenty.AppendElement().SetSigned(id);
    }

    for (const auto& [name, value] : Recording().Member("translations").Members()) {
        const auto translation = Convert<QueueTranslation>(value, "translation");
        const int32_t id = std::stoi(std::string(name));
        for (int32_t round = 0; round < rounds; ++round) {
            scenario->translations.insert_or_assign(id + round * kIdStride, translation);
        }
    }

    scenario->json = Json::Write(scenario->queueList);
    scenario->msgPack = EncodeMsgPack(scenario->queueList);
    scenario->yaml = EmitYaml(scenario->queueList);
    scenario->gzip = Gzip(scenario->json);
    scenario->compressedAnswer =
        Base64Encode({reinterpret_cast<const uint8_t*>(scenario->gzip.data()), scenario->gzip.size()});

    std::size_t consumed = 0;
    CheckSameDocument(MsgPack::Read(scenario->msgPack, &consumed), scenario->json, "MessagePack");
    if (consumed != scenario->msgPack.size()) {
        Stop("MessagePack of the queue list reads short");
    }
    CheckSameDocument(Yaml::Read(scenario->yaml), scenario->json, "YAML");
    MaybeType<std::string> decoded = GameQueues::DecodeCompressedQueues(scenario->compressedAnswer);
    if (!decoded || decoded.Value() != scenario->json) {
        Stop("the compressed answer does not decode to the queue list");
    }

    scenario->matchmakerQueues =
        Convert<std::vector<GameQueues::Lcds::GameQueueConfig>>(scenario->queueList, "matchmaker queues");
    MaybeType<std::vector<GameQueues::Api::Queue>> built =
        GameQueues::BuildQueueList(scenario->matchmakerQueues, scenario->Inputs());
    if (!built) {
        Stop("the queue list does not build: " + built.Error().Message());
    }
    scenario->queues = std::move(built).Value();
    return scenario;
}

}  // namespace

GameQueues::QueueBuildInputs QueueScenario::Inputs() const {
    return {championPointQueueTypes,
            gameTypeConfigs,
            observerModeEnabled,
            observableQueueTypes,
            queuesRequiringTwentyChampions,
            translations,
            queueRestriction,
            enabledAssetMutators,
            enabledQueueIds,
            true};
}

const QueueScenario& Scenario(std::size_t queueCount) {
    static std::map<std::size_t, std::unique_ptr<QueueScenario>> scenarios;
    std::unique_ptr<QueueScenario>& scenario = scenarios[queueCount];
    if (scenario == nullptr) {
        scenario = MakeScenario(queueCount);
    }
    return *scenario;
}

const TypeRegistry& QueueRegistry() {
    struct Registered {
        Registered() {
            const std::vector<std::string> tags{"Plugins", "Plugin hux-game-queues"};
            GameQueues::Lcds::RegisterLcdsRecords(registry, wireClasses, tags);
            GameQueues::Api::RegisterApiRecords(registry, "HuxGameQueues", tags);
        }
        TypeRegistry registry;
        WireClassNames wireClasses;
    };
    static const Registered registered;
    return registered.registry;
}

}  // namespace Brix::Bench
