// resource_events_test.cpp - subscriptions, deliveries, observed and published resources through the host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_values/host_value.h"
#include "in_process_host.h"

namespace {

using Brix::BindingProperty;
using Brix::PluginResourceEventType;
using HuxHost::HostSlot;
using HuxHost::ScriptedAnswer;

constexpr PluginResourceEventType kCreate = PluginResourceEventType::Create;
constexpr PluginResourceEventType kUpdate = PluginResourceEventType::Update;
constexpr PluginResourceEventType kDelete = PluginResourceEventType::Delete;

BindingProperty State(std::string_view state) {
    BindingProperty value;
    value.MemberForWriting("state").SetString(state);
    return value;
}

// Unregistered is a record the type registry does not know: it has no value form.
struct Unregistered {
    int32_t x = 0;
};

// Seen is one call of a typed resource handler.
struct Seen {
    std::string uri;
    PluginResourceEventType type;
    Brix::PluginManagerState state;
    bool operator==(const Seen&) const = default;
};

class ResourceEvents : public testing::Test {
protected:
    void SetUp() override { session.Start(); }

    Brix::PluginModule& Plugin() { return session.Plugin(); }
    HuxHost::DevHost& Host() { return session.host; }

    // Observe follows uri as a PluginManagerResource and keeps what the handler sees in seen.
    void Observe(std::string_view uri) {
        Plugin().ObserveResource<Brix::PluginManagerResource>(
            uri, [this](const std::string& at, PluginResourceEventType type,
                        const Brix::PluginManagerResource& value) {
                seen.push_back({at, type, value.state});
            });
    }

    HuxTest::InProcessHost<> session;
    std::vector<Seen> seen;
};

TEST_F(ResourceEvents, UrisSharingAnEventNameShareOneHostSubscription) {
    Plugin().Subscribe("/a/b/c/d");
    Plugin().Subscribe("/a/b/c/e");
    EXPECT_EQ(Plugin().SubscriptionCount("OnJsonApiEvent_a_b_c"), 2u);
    ASSERT_EQ(Host().CallsTo(HostSlot::Subscribe).size(), 1u);
    const HuxHost::Subscription& subscription = Host().Subscriptions().back();
    EXPECT_EQ(subscription.name, "OnJsonApiEvent_a_b_c");
    EXPECT_EQ(subscription.flag, 0u);
    EXPECT_EQ(subscription.hostHandle, HuxHost::DevHost::kDefaultHostHandle);
    EXPECT_EQ(subscription.context, static_cast<void*>(&Plugin()));

    Plugin().Unsubscribe("/a/b/c/d");
    EXPECT_TRUE(Host().CallsTo(HostSlot::Unsubscribe).empty());
    EXPECT_TRUE(Plugin().HasHostHandler("OnJsonApiEvent_a_b_c"));
    Plugin().Unsubscribe("/a/b/c/e");
    ASSERT_EQ(Host().CallsTo(HostSlot::Unsubscribe).size(), 1u);
    EXPECT_EQ(Host().CallsTo(HostSlot::Unsubscribe)[0].text, "OnJsonApiEvent_a_b_c");
    EXPECT_EQ(Host().CallsTo(HostSlot::Unsubscribe)[0].hostHandle, HuxHost::DevHost::kDefaultHostHandle);
    EXPECT_FALSE(Plugin().HasHostHandler("OnJsonApiEvent_a_b_c"));

    // An Unsubscribe with nothing left to undo changes nothing; a new Subscribe registers again.
    Plugin().Unsubscribe("/a/b/c/e");
    EXPECT_EQ(Host().CallsTo(HostSlot::Unsubscribe).size(), 1u);
    Plugin().Subscribe("/a/b/c");
    EXPECT_EQ(Host().CallsTo(HostSlot::Subscribe).size(), 2u);
    EXPECT_EQ(Plugin().SubscriptionCount("OnJsonApiEvent_a_b_c"), 1u);
}

TEST_F(ResourceEvents, ObservingAnExactUriHandsOverItsCurrentValueAsCreateBeforeAnyEvent) {
    Host().SetResource("/plugin-manager/v1/status", State("PluginsInitialized"));
    Observe("/plugin-manager/v1/status");
    EXPECT_EQ(seen, (std::vector<Seen>{{"/plugin-manager/v1/status", kCreate,
                                        Brix::PluginManagerState::PluginsInitialized}}));
    ASSERT_EQ(Host().Requests().size(), 1u);
    EXPECT_EQ(Host().Requests()[0].method, Brix::MethodCode::Get);
    EXPECT_EQ(Host().Requests()[0].url, "/plugin-manager/v1/status");
    EXPECT_TRUE(Host().IsSubscribed("OnJsonApiEvent_plugin-manager_v1_status"));

    EXPECT_TRUE(Host().DeliverResourceEvent("/plugin-manager/v1/status", kUpdate, State("NotReady")));
    // The host may leave out the leading "/": the event still reaches the handler of
    // /plugin-manager/v1/status.
    EXPECT_TRUE(Host().DeliverResourceEvent("plugin-manager/v1/status", kDelete));
    EXPECT_EQ(seen, (std::vector<Seen>{
                        {"/plugin-manager/v1/status", kCreate, Brix::PluginManagerState::PluginsInitialized},
                        {"/plugin-manager/v1/status", kUpdate, Brix::PluginManagerState::NotReady},
                        {"/plugin-manager/v1/status", kDelete, Brix::PluginManagerState::NotReady},
                    }));
    EXPECT_EQ(Host().Responses().Outstanding(), 0u);
}

TEST_F(ResourceEvents, AFailedFirstFetchLeavesTheHandlerWaitingForEvents) {
    Host().SetAnswer(Brix::MethodCode::Get, "/plugin-manager/v1/status",
                     ScriptedAnswer::Error(503, "starting"));
    Observe("/plugin-manager/v1/status");
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(Host().Responses().filled, 1u);
    EXPECT_EQ(Host().Responses().Outstanding(), 0u);

    Host().DeliverResourceEvent("/plugin-manager/v1/status", kUpdate, State("PluginsInitialized"));
    EXPECT_EQ(seen, (std::vector<Seen>{{"/plugin-manager/v1/status", kUpdate,
                                        Brix::PluginManagerState::PluginsInitialized}}));
}

TEST_F(ResourceEvents, PatternsFollowEveryMatchingResourceWithoutAFirstFetch) {
    Observe("/hux-game-data/v1/assets/*");
    EXPECT_TRUE(Host().Requests().empty());
    EXPECT_TRUE(Host().IsSubscribed("OnJsonApiEvent_hux-game-data_v1_assets"));

    Host().DeliverResourceEvent("/hux-game-data/v1/assets/queues.json", kUpdate, State("NotReady"));
    Host().DeliverResourceEvent("/hux-game-data/v1/assets/maps/1.json", kUpdate, State("NotReady"));
    EXPECT_EQ(seen, (std::vector<Seen>{{"/hux-game-data/v1/assets/queues.json", kUpdate,
                                        Brix::PluginManagerState::NotReady}}));
}

TEST_F(ResourceEvents, PayloadsThatDoNotConvertNeverReachTheHandler) {
    Observe("/plugin-manager/v1/status/*");
    const std::string name = "OnJsonApiEvent_plugin-manager_v1_status";

    BindingProperty notAnEvent;
    notAnEvent.SetString("/plugin-manager/v1/status/1");
    EXPECT_TRUE(Host().Deliver(name, notAnEvent));
    BindingProperty badType = State("NotReady");
    badType.MemberForWriting("uri").SetString("/plugin-manager/v1/status/1");
    badType.MemberForWriting("eventType").SetString("Rename");
    EXPECT_TRUE(Host().Deliver(name, badType));
    HostValue unknownKind = Brix::EmptyHostValue();
    unknownKind.kind = 11;
    EXPECT_TRUE(Host().DeliverCell(name, unknownKind));
    // The data converts as an event but not as the handler's type.
    EXPECT_TRUE(Host().DeliverResourceEvent("/plugin-manager/v1/status/1", kUpdate, State("Sleeping")));
    EXPECT_TRUE(seen.empty());
    const std::vector<HuxHost::HostCall> logged = Host().CallsTo(HostSlot::Log);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.back().level, 1);
    EXPECT_EQ(logged.back().text,
              "Ignored an event of /plugin-manager/v1/status/1: its data does not convert: Sleeping is not a "
              "valid PluginManagerState enumeration value for 'state'.");

    EXPECT_TRUE(
        Host().DeliverResourceEvent("/plugin-manager/v1/status/1", kUpdate, State("PluginsInitialized")));
    EXPECT_EQ(seen.size(), 1u);
}

TEST_F(ResourceEvents, PublishedUpdatesGoOutUnderTheirOwnNameAndThenAsOnJsonApiEvent) {
    Brix::PluginManagerResource value;
    value.state = Brix::PluginManagerState::PluginsInitialized;
    Plugin().PublishResourceUpdate("/hux-game-queues/v1/queues", value);

    const auto& sent = Host().SentEvents();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].name, "OnJsonApiEvent_hux-game-queues_v1_queues");
    EXPECT_EQ(sent[1].name, "OnJsonApiEvent");
    for (const HuxHost::SentEvent& event : sent) {
        EXPECT_EQ(event.flags, 0u);
        EXPECT_FALSE(event.hasContext);
        EXPECT_EQ(event.kind, static_cast<uint32_t>(HOST_VALUE_OBJECT));
        EXPECT_EQ(event.payload.Member("uri").AsString(), "/hux-game-queues/v1/queues");
        // Enums travel as their names.
        EXPECT_EQ(event.payload.Member("eventType").AsString(), "Update");
        EXPECT_EQ(event.payload.Member("data").Member("state").AsString(), "PluginsInitialized");
    }

    Plugin().PublishResourceUpdate("/hux-game-queues/v1/custom", PluginResourceEventType::Delete,
                                   BindingProperty());
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[2].payload.Member("eventType").AsString(), "Delete");

    // Sent under its own event name, an event goes out once.
    Brix::PluginResourceEvent event;
    event.uri = "/a/b/c/d";
    ASSERT_TRUE(Plugin().SendResourceEvent("OnJsonApiEvent_a_b_c", event));
    EXPECT_EQ(sent.size(), 5u);
}

TEST_F(ResourceEvents, AValueThatDoesNotConvertIsLoggedInsteadOfPublished) {
    Plugin().PublishResourceUpdate("/hux-game-queues/v1/queues", Unregistered{});
    Plugin().PublishResourceUpdate("/hux-game-queues/v1/queues", std::vector<Unregistered>(2));
    EXPECT_TRUE(Host().SentEvents().empty());
    std::vector<std::string> logged;
    for (const HuxHost::HostCall& call : Host().CallsTo(HostSlot::Log)) {
        logged.push_back(std::to_string(call.level) + " " + call.text);
    }
    const std::string unconverted =
        "2 Did not publish an update of /hux-game-queues/v1/queues: it does not convert: Couldn't convert "
        "native value because it's an unregistered structure.";
    EXPECT_EQ(logged, (std::vector<std::string>{unconverted, unconverted}));
}

}  // namespace
