// service_conversation.h - a development host scripted with everything the game queues service
// follows: the nineteen configuration resources, the matchmaker and the queue translations.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "binding/base64.h"
#include "gzip_text.h"
#include "plugin_test_support.h"
#include "runtime/event_names.h"

namespace HuxTest {

// Namespaced is the resource of one platform configuration key.
inline std::string Namespaced(std::string_view key) {
    return std::string("/hux-platform-config/v1/namespaces/").append(key);
}

inline constexpr std::string_view kSessionUri = "/hux-login/v1/session";
inline constexpr std::string_view kInitialConfigurationUri =
    "/hux-platform-config/v1/initial-configuration-complete";
inline constexpr std::string_view kQueuesUri = "/hux-game-queues/v1/queues";
inline constexpr std::string_view kCustomUri = "/hux-game-queues/v1/custom";
inline constexpr std::string_view kCustomNonDefaultUri = "/hux-game-queues/v1/custom-non-default";
inline constexpr std::string_view kTranslationsUri = "/hux-game-data/assets/v1/queues.json";

// kMatchmakerQueues: three queues of the matchmaker. 420 ranked on map 11 with a draft game type, 430
// a blind pick normal queue switched off by the matchmaker, 450 on map 12 with an asset mutator.
inline constexpr std::string_view kMatchmakerQueues = R"([
  {"id": 420, "type": "RANKED_SOLO_5x5", "gameMode": "CLASSIC", "queueState": "ON", "supportedMapIds": [11],
   "gameTypeConfigId": 18, "numPlayersPerTeam": 5, "minimumParticipantListSize": 1,
   "maximumParticipantListSize": 2, "ranked": true, "gameMutators": [],
   "matchingThrottleConfig": {"cacheName": "ranked", "limit": 3}},
  {"id": 430, "type": "NORMAL", "gameMode": "CLASSIC", "queueState": "OFF", "supportedMapIds": [11],
   "gameTypeConfigId": 2, "numPlayersPerTeam": 5, "minimumParticipantListSize": 1,
   "maximumParticipantListSize": 5, "gameMutators": ["ReRoll"]},
  {"id": 450, "type": "NORMAL", "gameMode": "SKELV", "queueState": "ON", "supportedMapIds": [12],
   "gameTypeConfigId": 2, "numPlayersPerTeam": 5, "minimumParticipantListSize": 1,
   "maximumParticipantListSize": 5, "gameMutators": ["Frostel", "AssetYulm"]}
])";

inline constexpr std::string_view kTranslations = R"({
  "420": {"name": "Ranked Solo/Duo", "shortName": "Solo/Duo", "description": "Ranked",
          "detailedDescription": "5v5 Ranked Solo/Duo"},
  "430": {"name": "Blind Pick", "shortName": "Blind", "description": "Normal", "detailedDescription": "5v5 Blind"},
  "450": {"name": "SKELV", "shortName": "SKELV", "description": "SKELV", "detailedDescription": "5v5 SKELV"}
})";

// CompressedAnswer is the matchmaker's compressed form of a JSON text: Base64 of gzip.
inline std::string CompressedAnswer(std::string_view json) {
    const std::vector<uint8_t> gzip = HuxHost::GzipText(json);
    return Brix::Base64Encode(gzip);
}

inline Brix::BindingProperty Text(std::string_view text) {
    Brix::BindingProperty value;
    value.SetString(text);
    return value;
}

// kConfiguration lists the nineteen configuration resources in the order the service follows them, each
// with the consistent value a conversation starts from. A key without a leading "/" is a platform
// configuration key (ConfigurationUri).
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 19> kConfiguration = {{
    {kSessionUri, R"({"state": "SUCCEEDED", "summonerId": 7, "accountId": 8, "connected": true})"},
    {kInitialConfigurationUri, "false"},
    {"ChampionMasteryConfig/ChampionPointQueueTypes", R"("RANKED_SOLO_5x5,,NORMAL")"},
    {"LoginDataPacket/gameTypeConfigs",
     R"([{"id": 2, "name": "CFG_MOSSEL", "pickMode": "ChorusPickStrategy"},
         {"id": 7, "name": "CFG_MULKA", "pickMode": "ChorusPickStrategy"},
         {"id": 18, "name": "CFG_PRENDA", "pickMode": "TeamBuilderDraftPickStrategy", "maxAllowableBans": 10}])"},
    {"ClientSystemStates/enabledQueueIdsList", "[450, 420]"},
    {"QueueRestriction/QueuesRequiringTwentyChampions", "[420]"},
    {"QueueRestriction", R"({"AllowablePremadeSizesForQueueId420": "1,2"})"},
    {"ClientSystemStates/practiceGameEnabled", "true"},
    {"ClientSystemStates/gameMapEnabledDTOList",
     R"([{"gameMapId": 11, "minPlayers": 0}, {"gameMapId": 12, "minPlayers": 0}])"},
    {"Mutators/EnabledModes", R"(["CLASSIC", "SKELV", "PRACTICETOOL"])"},
    {"Mutators/EnabledMutators", "[]"},
    {"Mutators/EnabledAssetMutators", R"(["AssetYulm"])"},
    {"ClientSystemStates/practiceGameTypeConfigIdList", "[7, 2]"},
    {"ClientSystemStates/knownGeographicGameServerRegions", R"(["OSTRAK", ""])"},
    {"ClientSystemStates/MaxNumPlayersForPracticeToolGame", "5"},
    {"ClientSystemStates/observableGameModes", R"(["NORMAL"])"},
    {"ClientSystemStates/observableCustomGameModes", R"("ALL")"},
    {"ClientSystemStates/observerModeEnabled", "true"},
    {"ClientSystemStates/spectatorSlotLimit", "4"},
}};

inline std::string ConfigurationUri(std::string_view key) {
    return key.front() == '/' ? std::string(key) : Namespaced(key);
}

// ServiceConversation is a test with the real plugin on a development host whose resources hold a
// consistent platform configuration; a test changes what it needs before Start.
class ServiceConversation : public testing::Test {
protected:
    void SetUp() override {
        host = OpenHost();
        ASSERT_NE(host, nullptr);
        for (const auto& [key, json] : kConfiguration) {
            SetJson(ConfigurationUri(key), json);
        }
        host->SetAnswer(Brix::MethodCode::Get, std::string(kTranslationsUri),
                        HuxHost::ScriptedAnswer::Stream({std::string(kTranslations), {100, 60}, 0}));
        AnswerCompressed(kMatchmakerQueues);
        host->ScriptLcdsError("matchmakerService", "getAllQueues", 503, "plain form not expected");
    }

    void TearDown() override {
        if (host != nullptr && host->Loaded()) {
            host->Stop();
        }
    }

    void SetJson(std::string_view uri, std::string_view json) {
        host->SetResource(std::string(uri), HuxHost::ParseJson(json));
    }
    void RemoveResource(std::string_view uri) { host->RemoveAnswer(Brix::MethodCode::Get, std::string(uri)); }
    void AnswerCompressed(std::string_view json) {
        host->ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.String",
                         Text(CompressedAnswer(json)));
    }
    void AnswerPlain(std::string_view json) {
        host->ScriptLcds("matchmakerService", "getAllQueues", "java.util.ArrayList",
                         HuxHost::ParseJson(json));
    }

    void Start() {
        host->Load();
        ASSERT_TRUE(host->Start());
    }

    // Update delivers a new value of a followed resource.
    void Update(std::string_view uri, std::string_view json) {
        host->DeliverResourceEvent(uri, Brix::PluginResourceEventType::Update, HuxHost::ParseJson(json));
    }

    HuxHost::RouteAnswer Get(std::string_view url) { return host->CallRoute(Brix::MethodCode::Get, url); }
    // Refusal is the status and error of a route's answer.
    std::string Refusal(std::string_view url) {
        const HuxHost::RouteAnswer answer = Get(url);
        return std::to_string(answer.status) + " " + answer.error.value_or("no error");
    }

    // Logged lists the messages the plugin logged, oldest first.
    std::vector<std::string> Logged() const {
        std::vector<std::string> messages;
        for (const HuxHost::HostCall& call : host->CallsTo(HuxHost::HostSlot::Log)) {
            messages.push_back(call.text);
        }
        return messages;
    }
    std::size_t LoggedCount(std::string_view message) const {
        const std::vector<std::string> lines = Logged();
        return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), message));
    }

    // EventsFor lists the events sent for one of the service's resources, under its own name.
    std::vector<HuxHost::SentEvent> EventsFor(std::string_view uri) const {
        std::vector<HuxHost::SentEvent> events;
        for (const HuxHost::SentEvent& event : host->SentEvents()) {
            if (event.name == Brix::EventNameFromUri(uri) && event.payload.Member("uri").AsString() == uri) {
                events.push_back(event);
            }
        }
        return events;
    }

    std::size_t LcdsCalls(std::string_view method) const {
        std::size_t count = 0;
        for (const HuxHost::RecordedRequest& request : host->Requests()) {
            if (request.url == "/hux-login/v1/session/invoke" && request.params.size() == 3 &&
                request.params[1].value.AsString() == method) {
                ++count;
            }
        }
        return count;
    }

    std::unique_ptr<HuxHost::DevHost> host;
};

}  // namespace HuxTest
