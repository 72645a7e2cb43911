// configuration_inputs_test.cpp - Delete events of the configuration inputs on the real plugin: the
// three inputs that a Delete clears, and the sixteen that keep their last value in force.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "codecs/json_writer.h"
#include "service_conversation.h"

namespace HuxTest {
namespace {

using Brix::BindingProperty;
using Brix::PluginResourceEventType;

constexpr const char* kQueuesUpdated = "Queues configuration has been updated";
constexpr const char* kCustomUpdated = "Custom game configuration has been updated";
constexpr const char* kNonDefaultUpdated = "Non default custom game configuration has been updated";

class ConfigurationDeletes : public ServiceConversation {
protected:
    // Delete delivers a Delete of uri and answers what the plugin logged for it.
    std::vector<std::string> Delete(std::string_view uri) {
        const std::size_t before = Logged().size();
        host->DeliverResourceEvent(uri, PluginResourceEventType::Delete);
        const std::vector<std::string> lines = Logged();
        return {lines.begin() + static_cast<std::ptrdiff_t>(before), lines.end()};
    }
    BindingProperty LastData(std::string_view uri) const {
        return EventsFor(uri).back().payload.Member("data");
    }
    // LastJson is the same document as JSON text, which a failing comparison shows.
    std::string LastJson(std::string_view uri) const { return Brix::Json::Write(LastData(uri)); }

    const std::string observerModeUri = Namespaced("ClientSystemStates/observerModeEnabled");
};

TEST_F(ConfigurationDeletes, OnlyThreeInputsTakeADeleteAndEveryOtherValueStaysInForce) {
    struct Case {
        std::string uri;
        std::vector<std::string> logged;  // by the Delete
        std::size_t queueEvents;          // sent because of it
        std::size_t customEvents;
    };
    const std::vector<Case> cases = {
        {std::string(kSessionUri), {}, 0, 0},
        {std::string(kInitialConfigurationUri),
         {"Platform config's initial configuration has been deleted", kQueuesUpdated, kCustomUpdated,
          kNonDefaultUpdated},
         1,
         1},
        {Namespaced("ChampionMasteryConfig/ChampionPointQueueTypes"), {kQueuesUpdated}, 1, 0},
        {Namespaced("LoginDataPacket/gameTypeConfigs"), {}, 0, 0},
        {Namespaced("ClientSystemStates/enabledQueueIdsList"), {}, 0, 0},
        {Namespaced("QueueRestriction/QueuesRequiringTwentyChampions"), {}, 0, 0},
        {Namespaced("QueueRestriction"), {}, 0, 0},
        {Namespaced("ClientSystemStates/practiceGameEnabled"), {}, 0, 0},
        {Namespaced("ClientSystemStates/gameMapEnabledDTOList"), {}, 0, 0},
        {Namespaced("Mutators/EnabledModes"), {}, 0, 0},
        {Namespaced("Mutators/EnabledMutators"), {}, 0, 0},
        {Namespaced("Mutators/EnabledAssetMutators"), {}, 0, 0},
        {Namespaced("ClientSystemStates/practiceGameTypeConfigIdList"), {}, 0, 0},
        {Namespaced("ClientSystemStates/knownGeographicGameServerRegions"), {}, 0, 0},
        {Namespaced("ClientSystemStates/MaxNumPlayersForPracticeToolGame"), {}, 0, 0},
        {Namespaced("ClientSystemStates/observableGameModes"), {}, 0, 0},
        {Namespaced("ClientSystemStates/observableCustomGameModes"), {}, 0, 0},
        {observerModeUri, {}, 0, 0},
        {Namespaced("ClientSystemStates/spectatorSlotLimit"), {}, 0, 0},
    };
    for (const Case& deleted : cases) {
        SCOPED_TRACE(deleted.uri);
        TearDown();
        SetUp();
        Start();
        // Built again once the translations are held: the documents every later build must give.
        Update(observerModeUri, "true");
        const std::string queues = LastJson(kQueuesUri);
        const std::string custom = LastJson(kCustomUri);
        const std::size_t queueEvents = EventsFor(kQueuesUri).size();
        const std::size_t customEvents = EventsFor(kCustomUri).size();

        EXPECT_EQ(Delete(deleted.uri), deleted.logged);
        EXPECT_EQ(EventsFor(kQueuesUri).size(), queueEvents + deleted.queueEvents);
        EXPECT_EQ(EventsFor(kCustomUri).size(), customEvents + deleted.customEvents);
        EXPECT_EQ(EventsFor(kCustomNonDefaultUri).size(), customEvents + deleted.customEvents);

        // Both documents built again afterwards are those of before: only the champion point queue
        // types, which the Delete emptied, are missing from the queue list.
        Update(observerModeUri, "true");
        EXPECT_EQ(LastJson(kCustomUri), custom);
        const bool championPoints = LastData(kQueuesUri)
                                        .Elements()[0]
                                        .Member("queueRewards")
                                        .Member("isChampionPointsEnabled")
                                        .AsBool();
        EXPECT_EQ(championPoints, deleted.uri != Namespaced("ChampionMasteryConfig/ChampionPointQueueTypes"));
        if (championPoints) {
            EXPECT_EQ(LastJson(kQueuesUri), queues);
        }
    }
}

TEST_F(ConfigurationDeletes, ADeletedSessionIsNotConnectedSoTheNextConnectedOneIsAReconnect) {
    Start();
    const std::size_t customEvents = EventsFor(kCustomUri).size();
    Delete(kSessionUri);
    Update(kSessionUri, R"({"state": "SUCCEEDED", "summonerId": 7, "accountId": 8, "connected": true})");
    EXPECT_EQ(LoggedCount("Checking queue cache and custom readiness after reconnect."), 2u);
    EXPECT_EQ(EventsFor(kCustomUri).size(), customEvents + 1);
}

TEST_F(ConfigurationDeletes, ADeletedInitialConfigurationClosesTheGateThatItAloneHeldOpen) {
    SetJson(kInitialConfigurationUri, "true");
    RemoveResource(Namespaced("Mutators/EnabledAssetMutators"));
    Start();
    ASSERT_EQ(Get("/hux-game-queues/v1/queues").error, std::nullopt);

    EXPECT_EQ(Delete(kInitialConfigurationUri),
              (std::vector<std::string>{"Platform config's initial configuration has been deleted",
                                        "Queues configuration is not available yet:", kCustomUpdated,
                                        kNonDefaultUpdated}));
    EXPECT_EQ(Refusal("/hux-game-queues/v1/queues"), "500 Missing configuration data");
}

}  // namespace
}  // namespace HuxTest
