// game_queues_service_test.cpp - the real plugin on a development host: a whole conversation, its
// routes, the matchmaker fallbacks, readiness, change detection and reconnects.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "runtime/event_names.h"
#include "service_conversation.h"

namespace HuxTest {
namespace {

using Brix::BindingProperty;
using Brix::PluginResourceEventType;

constexpr std::string_view kConfigurationComplete =
    "Platform config's initial configuration is complete, any missing configuration will use defaults";

// QueueIds lists the ids of a published queue list.
std::vector<int64_t> QueueIds(const BindingProperty& queues) {
    std::vector<int64_t> ids;
    for (const BindingProperty& queue : queues.Elements()) {
        ids.push_back(queue.Member("id").AsSigned());
    }
    return ids;
}

const BindingProperty& Queue(const BindingProperty& queues, int64_t id) {
    for (const BindingProperty& queue : queues.Elements()) {
        if (queue.Member("id").AsSigned() == id) {
            return queue;
        }
    }
    ADD_FAILURE() << "no queue " << id;
    return queues;
}

TEST_F(ServiceConversation, StartPublishesTheQueuesAndCustomGamesOnceTheirInputsHaveArrived) {
    Start();
    // The queue list is built when its last input arrives (the asset mutators) and again for each
    // later queue input: the observable modes and the observer mode.
    const auto queueEvents = EventsFor(kQueuesUri);
    ASSERT_EQ(queueEvents.size(), 3u);
    const BindingProperty& queues = queueEvents.back().payload.Member("data");
    EXPECT_EQ(queueEvents.back().payload.Member("eventType").AsString(), "Update");
    EXPECT_EQ(QueueIds(queues), (std::vector<int64_t>{420, 430, 450}));
    EXPECT_EQ(LcdsCalls("getAllQueuesCompressed"), 1u);
    EXPECT_EQ(LcdsCalls("getAllQueues"), 0u);

    // Availability follows the enabled list, not the matchmaker's state.
    EXPECT_EQ(Queue(queues, 420).Member("queueAvailability").AsString(), "Available");
    EXPECT_EQ(Queue(queues, 430).Member("queueAvailability").AsString(), "PlatformDisabled");
    EXPECT_EQ(Queue(queues, 450).Member("queueAvailability").AsString(), "Available");
    EXPECT_EQ(Queue(queues, 450).Member("assetMutator").AsString(), "AssetYulm");
    EXPECT_TRUE(Queue(queues, 430).Member("spectatorEnabled").AsBool());
    EXPECT_EQ(Queue(queues, 420).Member("championsRequiredToPlay").AsUnsigned(), 20u);
    EXPECT_TRUE(Queue(queues, 420).Member("showPositionSelector").AsBool());
    EXPECT_EQ(Queue(queues, 420).Member("gameTypeConfig").Member("maxAllowableBans").AsSigned(), 10);
    // Translations are loaded after the subscriptions: lists built during Start have no texts.
    EXPECT_EQ(Queue(queues, 420).Member("name").AsString(), "");
    EXPECT_EQ(LoggedCount("Translations not found for queue id 420."), 3u);

    EXPECT_EQ(LoggedCount("Queues configuration has been updated"), 3u);
    // The custom documents follow their own inputs.
    EXPECT_EQ(EventsFor(kCustomUri).size(), 6u);
    EXPECT_EQ(EventsFor(kCustomNonDefaultUri).size(), 6u);

    // A later change rebuilds with the translations, which have arrived by now (streamed).
    Update(Namespaced("ClientSystemStates/enabledQueueIdsList"), "[430, 420, 450]");
    const BindingProperty rebuilt = EventsFor(kQueuesUri).back().payload.Member("data");
    EXPECT_EQ(Queue(rebuilt, 420).Member("name").AsString(), "Ranked Solo/Duo");
    EXPECT_EQ(Queue(rebuilt, 430).Member("queueAvailability").AsString(), "Available");
    EXPECT_EQ(LoggedCount("The queues cache is stale. The following queues have changed: 430"), 1u);
    EXPECT_EQ(LcdsCalls("getAllQueuesCompressed"), 1u);  // the matchmaker's list is kept
}

TEST_F(ServiceConversation, RoutesAnswerFromTheCacheAndTheConfiguration) {
    Start();
    const std::size_t fetches = LcdsCalls("getAllQueuesCompressed");

    HuxHost::RouteAnswer all = Get("/hux-game-queues/v1/queues");
    EXPECT_EQ(all.error, std::nullopt);
    EXPECT_EQ(QueueIds(all.body), (std::vector<int64_t>{420, 430, 450}));
    EXPECT_EQ(Get("/hux-game-queues/v1/queues/450").body.Member("gameMode").AsString(), "SKELV");
    EXPECT_EQ(Get("/hux-game-queues/v1/queues/type/NORMAL").body.Member("id").AsSigned(), 430);
    EXPECT_EQ(LcdsCalls("getAllQueuesCompressed"), fetches);

    EXPECT_EQ(Refusal("/hux-game-queues/v1/queues/999"), "404 No queue found with id 999");
    EXPECT_EQ(Refusal("/hux-game-queues/v1/queues/type/normal"), "404 No queue found with type normal");
    EXPECT_EQ(LoggedCount("No queue found with id 999"), 1u);
    EXPECT_EQ(LoggedCount("No queue found with queue type normal"), 1u);

    EXPECT_EQ(Get("/hux-game-queues/v1/game-type-config/18").body.Member("name").AsString(), "CFG_PRENDA");
    EXPECT_EQ(Refusal("/hux-game-queues/v1/game-type-config/5"), "404 No game type config found with id 5");
    // A map without its own configuration gets the general one.
    EXPECT_EQ(Get("/hux-game-queues/v1/game-type-config/2/map/11").body.Member("name").AsString(),
              "CFG_MOSSEL");

    HuxHost::RouteAnswer custom = Get("/hux-game-queues/v1/custom");
    EXPECT_EQ(custom.error, std::nullopt);
    EXPECT_EQ(custom.body.Member("spectatorSlotLimit").AsUnsigned(), 4u);
    EXPECT_EQ(custom.body.Member("gameServerRegions").ElementCount(), 1u);
    EXPECT_EQ(Get("/hux-game-queues/v1/custom-non-default").error, std::nullopt);
    // A malformed argument is refused by the route table, with status 0, before the handler runs.
    EXPECT_EQ(Refusal("/hux-game-queues/v1/queues/abc"),
              "0 Value abc for 'id' of type int32 is in an incorrect format");
}

TEST_F(ServiceConversation, BeforeAnyInputRoutesAnswerMissingConfiguration) {
    host->Load();
    EXPECT_EQ(Refusal("/hux-game-queues/v1/queues"), "500 Missing configuration data");
    EXPECT_EQ(Refusal("/hux-game-queues/v1/queues/420"), "500 Missing configuration data");
    EXPECT_EQ(Refusal("/hux-game-queues/v1/custom"), "500 Missing configuration data");
    EXPECT_EQ(Refusal("/hux-game-queues/v1/game-type-config/5"), "404 No game type config found with id 5");
}

TEST_F(ServiceConversation, TheLoggedInSessionAtStartCountsAsAReconnect) {
    Start();
    const std::vector<std::string> lines = Logged();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Checking queue cache and custom readiness after reconnect.");
    EXPECT_EQ(lines[1],
              "Queues configuration is not available yet: (Game Type Configs) (Platform Enabled Queues)");
    EXPECT_EQ(lines[2], "Failed to get queues: Missing configuration data");

    // A disconnect and a reconnect publish the queues only when the cache is empty: it is not.
    const std::size_t queueEvents = EventsFor(kQueuesUri).size();
    const std::size_t customEvents = EventsFor(kCustomUri).size();
    Update(kSessionUri, R"({"state": "SUCCEEDED", "summonerId": 7, "accountId": 8, "connected": false})");
    Update(kSessionUri, R"({"state": "SUCCEEDED", "summonerId": 7, "accountId": 8, "connected": true})");
    EXPECT_EQ(EventsFor(kQueuesUri).size(), queueEvents);
    EXPECT_EQ(EventsFor(kCustomUri).size(), customEvents + 1);
    EXPECT_EQ(LoggedCount("Checking queue cache and custom readiness after reconnect."), 2u);
}

TEST_F(ServiceConversation, InitialConfigurationCompleteOpensTheGatesWithDefaults) {
    RemoveResource(Namespaced("Mutators/EnabledAssetMutators"));
    RemoveResource(Namespaced("ClientSystemStates/enabledQueueIdsList"));
    Start();
    EXPECT_TRUE(EventsFor(kQueuesUri).empty());
    EXPECT_EQ(Get("/hux-game-queues/v1/queues").error, "Missing configuration data");

    const std::size_t warnings =
        LoggedCount("Queues configuration is not available yet: (Platform Enabled Queues)");
    Update(kInitialConfigurationUri, "true");
    // The warning of what is still missing, written once more as the configuration completes.
    EXPECT_EQ(LoggedCount("Queues configuration is not available yet: (Platform Enabled Queues)"),
              warnings + 1);
    EXPECT_EQ(LoggedCount(kConfigurationComplete), 1u);
    ASSERT_EQ(EventsFor(kQueuesUri).size(), 1u);
    // Without an enabled list the matchmaker's states decide.
    const BindingProperty queues = EventsFor(kQueuesUri).back().payload.Member("data");
    EXPECT_EQ(Queue(queues, 430).Member("queueAvailability").AsString(), "PlatformDisabled");
    EXPECT_EQ(Queue(queues, 420).Member("queueAvailability").AsString(), "Available");

    // Delivered again, the "complete" line is not repeated but both gates run again.
    Update(kInitialConfigurationUri, "true");
    EXPECT_EQ(LoggedCount(kConfigurationComplete), 1u);
    EXPECT_EQ(EventsFor(kQueuesUri).size(), 2u);
}

TEST_F(ServiceConversation, EnabledQueueIdsAreComparedAsSortedLists) {
    Start();
    const std::size_t events = EventsFor(kQueuesUri).size();
    Update(Namespaced("ClientSystemStates/enabledQueueIdsList"), "[420, 450]");
    EXPECT_EQ(LoggedCount("Received an updated enabledQueueIdsList, but there are no changes."), 1u);
    EXPECT_EQ(EventsFor(kQueuesUri).size(), events);

    Update(Namespaced("ClientSystemStates/enabledQueueIdsList"), "[450, 430, 1]");
    EXPECT_EQ(LoggedCount("The queues cache is stale. The following queues have changed: 1, 420, 430"), 1u);
    EXPECT_EQ(EventsFor(kQueuesUri).size(), events + 1);

    Update(Namespaced("ClientSystemStates/enabledQueueIdsList"), R"({"not": "a list"})");
    EXPECT_EQ(LoggedCount("Unable to parse enabled queues, cannot update"), 1u);
}

TEST_F(ServiceConversation, TheCompressedFormFallsBackToThePlainOne) {
    const std::string whole = CompressedAnswer(kMatchmakerQueues);
    struct Case {
        const char* what;
        std::optional<std::string> answer;  // the compressed answer, or none for a failing call
    };
    const std::vector<Case> cases = {
        {"compressed call fails", std::nullopt},
        {"truncated gzip", whole.substr(0, whole.size() / 2)},
        {"not JSON", CompressedAnswer("[{")},
        {"not queue records", CompressedAnswer(R"([{"id": "x"}])")},
    };
    for (const Case& fallback : cases) {
        SCOPED_TRACE(fallback.what);
        TearDown();
        SetUp();
        if (fallback.answer) {
            host->ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.String",
                             Text(*fallback.answer));
        } else {
            host->ScriptLcdsError("matchmakerService", "getAllQueuesCompressed", 500, "down");
        }
        AnswerPlain(R"([{"id": 901, "type": "NORMAL", "queueState": "ON", "supportedMapIds": [11]}])");
        Start();
        EXPECT_EQ(LcdsCalls("getAllQueues"), 1u);
        EXPECT_EQ(QueueIds(Get("/hux-game-queues/v1/queues").body), std::vector<int64_t>{901});
    }
}

TEST_F(ServiceConversation, AMalformedPremadeSizeSettingFailsTheBuildWithoutAnEvent) {
    SetJson(Namespaced("QueueRestriction"), R"({"AllowablePremadeSizesForQueueId420": "1,,2"})");
    Start();
    EXPECT_TRUE(EventsFor(kQueuesUri).empty());
    EXPECT_EQ(LoggedCount("Failed to get queues: invalid stoi argument"), 3u);
    EXPECT_EQ(Refusal("/hux-game-queues/v1/queues"), "500 invalid stoi argument");
}

TEST_F(ServiceConversation, AGateOpenedDuringTheMatchmakerWaitRebuildsAfterTheRunningBuild) {
    // The host delivers a new enabled list from inside its answer to the first matchmaker request.
    bool delivered = false;
    host->SetRequestHook([&delivered](HuxHost::DevHost& devHost, const HuxHost::RecordedRequest& request) {
        if (delivered || request.url != "/hux-login/v1/session/invoke") {
            return;
        }
        delivered = true;
        devHost.DeliverResourceEvent(Namespaced("ClientSystemStates/enabledQueueIdsList"),
                                     PluginResourceEventType::Update, HuxHost::ParseJson("[430]"));
    });
    Start();
    ASSERT_TRUE(delivered);
    EXPECT_EQ(LcdsCalls("getAllQueuesCompressed"), 1u);
    // Every queue event carries a whole list, and the first one already reflects the new input.
    const auto events = EventsFor(kQueuesUri);
    ASSERT_FALSE(events.empty());
    for (const HuxHost::SentEvent& event : events) {
        EXPECT_EQ(QueueIds(event.payload.Member("data")), (std::vector<int64_t>{420, 430, 450}));
    }
    const BindingProperty& first = events.front().payload.Member("data");
    EXPECT_EQ(Queue(first, 430).Member("queueAvailability").AsString(), "Available");
    EXPECT_EQ(Queue(first, 420).Member("queueAvailability").AsString(), "PlatformDisabled");
}

TEST_F(ServiceConversation, ARequestWhileTheBuildWaitsForTheMatchmakerIsRefusedAndLaterGetsTheBuiltList) {
    // The host offers two requests to the plugin's routes from inside its answer to the first matchmaker
    // call, while the first queue build waits for it.
    std::vector<HuxHost::RouteAnswer> during;
    std::size_t logLinesDuring = 0;
    host->SetRequestHook([&](HuxHost::DevHost& devHost, const HuxHost::RecordedRequest& request) {
        if (!during.empty() || request.url != "/hux-login/v1/session/invoke") {
            return;
        }
        const std::size_t before = devHost.CallsTo(HuxHost::HostSlot::Log).size();
        during.push_back(devHost.CallRoute(Brix::MethodCode::Get, "/hux-game-queues/v1/queues"));
        during.push_back(devHost.CallRoute(Brix::MethodCode::Get, "/hux-game-queues/v1/queues/420"));
        logLinesDuring = devHost.CallsTo(HuxHost::HostSlot::Log).size() - before;
    });
    Start();
    ASSERT_EQ(during.size(), 2u);
    for (const HuxHost::RouteAnswer& answer : during) {
        EXPECT_EQ(answer.status, 500u);
        EXPECT_EQ(answer.error, "The queue list is being rebuilt");
    }
    EXPECT_EQ(logLinesDuring, 0u);

    // The build that waited finished with the matchmaker's answer: the same requests get the list.
    EXPECT_EQ(QueueIds(Get("/hux-game-queues/v1/queues").body), (std::vector<int64_t>{420, 430, 450}));
    EXPECT_EQ(Get("/hux-game-queues/v1/queues/420").body.Member("type").AsString(), "RANKED_SOLO_5x5");
    EXPECT_EQ(LcdsCalls("getAllQueuesCompressed"), 1u);
    ASSERT_EQ(EventsFor(kQueuesUri).size(), 3u);
    EXPECT_EQ(QueueIds(EventsFor(kQueuesUri).front().payload.Member("data")),
              (std::vector<int64_t>{420, 430, 450}));
}

TEST_F(ServiceConversation, AFailingMatchmakerIsAskedAgainAtEachBuildAndItsFirstGoodAnswerIsPublished) {
    const std::string invoke = "Error response for POST /hux-login/v1/session/invoke: ";
    struct Case {
        const char* what;
        HuxHost::ScriptedAnswer plain;  // the plain answer; the compressed one does not decode
        std::string failure;
    };
    const std::vector<Case> cases = {
        {"error status", HuxHost::ScriptedAnswer::Error(503, "busy"),
         "Error requesting available queues: " + invoke + "busy"},
        {"undecodable body", HuxHost::ScriptedAnswer::Stream({.text = R"({"typeName": [)", .chunks = {}}),
         "Error requesting available queues: Error reading streamed response for POST "
         "/hux-login/v1/session/invoke: Error: Invalid value. at offset 14."},
    };
    for (const Case& failing : cases) {
        SCOPED_TRACE(failing.what);
        TearDown();
        SetUp();
        host->ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.String", Text("H4sI"));
        host->ScriptLcdsAnswer("matchmakerService", "getAllQueues", failing.plain);
        Start();
        EXPECT_TRUE(EventsFor(kQueuesUri).empty());
        EXPECT_EQ(LoggedCount("Failed to get queues: " + failing.failure), 3u);
        EXPECT_EQ(Get("/hux-game-queues/v1/queues").error, failing.failure);

        // A change of a queue input builds again and asks the matchmaker again: it still fails.
        host->ClearRecords();
        Update(Namespaced("ClientSystemStates/enabledQueueIdsList"), "[450, 420, 430]");
        EXPECT_EQ(Logged(), (std::vector<std::string>{
                                "The queues cache is stale. The following queues have changed: 430",
                                "Failed to get queues: " + failing.failure,
                            }));
        EXPECT_EQ(LcdsCalls("getAllQueuesCompressed"), 1u);
        EXPECT_EQ(LcdsCalls("getAllQueues"), 1u);
        EXPECT_TRUE(EventsFor(kQueuesUri).empty());

        // The next build gets a good answer: the list is built and published.
        AnswerCompressed(kMatchmakerQueues);
        host->ClearRecords();
        Update(Namespaced("ClientSystemStates/enabledQueueIdsList"), "[450, 420]");
        EXPECT_EQ(Logged(), (std::vector<std::string>{
                                "The queues cache is stale. The following queues have changed: 430",
                                "Queues configuration has been updated",
                            }));
        const auto events = EventsFor(kQueuesUri);
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].payload.Member("eventType").AsString(), "Update");
        const BindingProperty& queues = events[0].payload.Member("data");
        EXPECT_EQ(QueueIds(queues), (std::vector<int64_t>{420, 430, 450}));
        EXPECT_EQ(Queue(queues, 430).Member("queueAvailability").AsString(), "PlatformDisabled");
        EXPECT_EQ(QueueIds(Get("/hux-game-queues/v1/queues").body), (std::vector<int64_t>{420, 430, 450}));
        EXPECT_EQ(LcdsCalls("getAllQueuesCompressed"), 1u);
    }
}

TEST_F(ServiceConversation, ThePluginSubscribesEachFollowedResourceUnderTheNameTheHostDeliversItUnder) {
    Start();
    // What the plugin did for its followed resources, in order: a subscription to an event name it did
    // not follow yet, then the first fetch of the resource.
    std::vector<std::string> observed;
    for (const HuxHost::HostCall& call : host->Calls()) {
        const bool followed =
            std::any_of(kConfiguration.begin(), kConfiguration.end(),
                        [&](const auto& input) { return ConfigurationUri(input.first) == call.text; });
        if (call.slot == HuxHost::HostSlot::Subscribe && call.number == 0) {
            observed.push_back("subscribe " + call.text);
        } else if (call.slot == HuxHost::HostSlot::Request && followed) {
            observed.push_back("fetch " + call.text);
        }
    }
    // The same, with the names the development host delivers each resource's events under.
    std::vector<std::string> expected;
    std::vector<std::string> names;
    for (const auto& [key, json] : kConfiguration) {
        const std::string uri = ConfigurationUri(key);
        const std::string name = Brix::EventNameFromUri(uri);
        if (std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
            expected.push_back("subscribe " + name);
        }
        expected.push_back("fetch " + uri);
    }
    EXPECT_EQ(observed, expected);

    // Every resource's event reaches the plugin under the host's name for it.
    for (const auto& [key, json] : kConfiguration) {
        EXPECT_TRUE(host->DeliverResourceEvent(ConfigurationUri(key), PluginResourceEventType::Update,
                                               HuxHost::ParseJson(json)))
            << key;
    }
}

}  // namespace
}  // namespace HuxTest
