// resource_events_test.cpp - subscriptions, deliveries, observed and published resources and the service
// proxy events through the host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_values/host_value.h"
#include "in_process_host.h"

namespace {

using Brix::BindingProperty;
using Brix::PluginManagerState;
using Brix::PluginResourceEventType;
using HuxHost::HostSlot;

constexpr PluginResourceEventType kCreate = PluginResourceEventType::Create;
constexpr PluginResourceEventType kUpdate = PluginResourceEventType::Update;
constexpr PluginResourceEventType kDelete = PluginResourceEventType::Delete;
constexpr std::string_view kStatus = "/plugin-manager/v1/status";

BindingProperty State(std::string_view state) {
    BindingProperty value;
    value.MemberForWriting("state").SetString(state);
    return value;
}

BindingProperty ProxyAnswer(std::string_view service, std::string_view method,
                            std::string_view payload = {}) {
    BindingProperty answer;
    answer.MemberForWriting("uuid").SetString("u-1");
    answer.MemberForWriting("serviceName").SetString(service);
    answer.MemberForWriting("methodName").SetString(method);
    answer.MemberForWriting("payload").SetString(payload);
    answer.MemberForWriting("status").SetString("200");
    answer.MemberForWriting("error").SetString("");
    return answer;
}

// Unregistered is a record the type registry does not know: it has no value form.
struct Unregistered {
    int32_t x = 0;
};

// Seen is one call of a typed resource handler.
struct Seen {
    std::string uri;
    PluginResourceEventType type;
    PluginManagerState state;
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

    // Logged lists the level and text of each line the plugin logged.
    std::vector<std::string> Logged() const {
        std::vector<std::string> logged;
        for (const HuxHost::HostCall& call : session.host.CallsTo(HostSlot::Log)) {
            logged.push_back(std::to_string(call.level) + " " + call.text);
        }
        return logged;
    }

    HuxTest::InProcessHost session;
    std::vector<Seen> seen;
};

TEST_F(ResourceEvents, UrisSharingAnEventNameShareOneHostSubscriptionUntilTheLastIsUndone) {
    Plugin().Subscribe("/a/b/c/d");
    Plugin().Subscribe("/a/b/c/e");
    ASSERT_EQ(Host().CallsTo(HostSlot::Subscribe).size(), 1u);
    EXPECT_EQ(Host().CallsTo(HostSlot::Subscribe)[0].text, "OnJsonApiEvent_a_b_c");
    Plugin().Unsubscribe("/a/b/c/d");
    EXPECT_TRUE(Host().CallsTo(HostSlot::Unsubscribe).empty());
    Plugin().Unsubscribe("/a/b/c/e");
    Plugin().Unsubscribe("/a/b/c/e");  // nothing left to undo
    ASSERT_EQ(Host().CallsTo(HostSlot::Unsubscribe).size(), 1u);
    EXPECT_EQ(Host().CallsTo(HostSlot::Unsubscribe)[0].text, "OnJsonApiEvent_a_b_c");
    EXPECT_FALSE(Plugin().HasHostHandler("OnJsonApiEvent_a_b_c"));
}

TEST_F(ResourceEvents, AnExactUriHandsOverItsCurrentValueAsCreateAndAPatternOnlyItsEvents) {
    Host().SetResource(std::string(kStatus), State("PluginsInitialized"));
    Host().SetAnswer(Brix::MethodCode::Get, "/plugin-manager/v1/other",
                     HuxHost::ScriptedAnswer::Error(503, "x"));
    Observe(kStatus);
    Observe("/hux-game-data/v1/assets/*");
    // A failed first fetch leaves the handler waiting for events.
    Observe("/plugin-manager/v1/other");
    ASSERT_EQ(Host().Requests().size(), 2u);
    EXPECT_EQ(Host().Requests()[0].url, kStatus);
    EXPECT_EQ(Host().Requests()[1].url, "/plugin-manager/v1/other");

    // The host may leave out the leading "/": the event still reaches the handler of kStatus.
    EXPECT_TRUE(Host().DeliverResourceEvent("plugin-manager/v1/status", kDelete));
    Host().DeliverResourceEvent("/plugin-manager/v1/other", kUpdate, State("PluginsInitialized"));
    Host().DeliverResourceEvent("/hux-game-data/v1/assets/queues.json", kUpdate, State("NotReady"));
    Host().DeliverResourceEvent("/hux-game-data/v1/assets/maps/1.json", kUpdate, State("NotReady"));
    EXPECT_EQ(seen, (std::vector<Seen>{
                        {std::string(kStatus), kCreate, PluginManagerState::PluginsInitialized},
                        {std::string(kStatus), kDelete, PluginManagerState::NotReady},
                        {"/plugin-manager/v1/other", kUpdate, PluginManagerState::PluginsInitialized},
                        {"/hux-game-data/v1/assets/queues.json", kUpdate, PluginManagerState::NotReady}}));
    EXPECT_EQ(Host().Responses().Outstanding(), 0u);
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
    EXPECT_EQ(Logged(),
              std::vector<std::string>{"1 Ignored an event of /plugin-manager/v1/status/1: its data "
                                       "does not convert: Sleeping is not a valid PluginManagerState "
                                       "enumeration value for 'state'."});
}

TEST_F(ResourceEvents, AValueThatDoesNotConvertIsLoggedInsteadOfPublished) {
    Plugin().PublishResourceUpdate("/hux-game-queues/v1/queues", Unregistered{});
    Plugin().PublishResourceUpdate("/hux-game-queues/v1/queues", std::vector<Unregistered>(2));
    EXPECT_TRUE(Host().SentEvents().empty());
    const std::string unconverted =
        "2 Did not publish an update of /hux-game-queues/v1/queues: it does not convert: Couldn't convert "
        "native value because it's an unregistered structure.";
    EXPECT_EQ(Logged(), (std::vector<std::string>{unconverted, unconverted}));
}

TEST_F(ResourceEvents, ServiceProxyEventsReachTheProxyAndAsyncOnesWithoutHandlerAreLogged) {
    Brix::ServiceProxy& proxy = Plugin().ServiceProxyTables();
    std::vector<std::string> payloads;
    auto keep = [&](const Brix::PluginServiceProxyResponse& message) { payloads.push_back(message.payload); };
    EXPECT_TRUE(Host().Deliver("OnServiceProxyUuidEvent", ProxyAnswer("qix-store", "getWallet")));
    BindingProperty notAnAnswer;  // dropped by the dispatcher
    notAnAnswer.MakeCollection();
    EXPECT_TRUE(Host().Deliver("OnServiceProxyUuidEvent", notAnAnswer));
    EXPECT_EQ(proxy.ReceivedCount(), 1u);

    proxy.AwaitAnswer("qix-store.getWallet", keep);
    proxy.SetAsyncHandler("qix-chat.presence", keep);
    EXPECT_TRUE(Host().Deliver("OnServiceProxyMethodEvent", ProxyAnswer("qix-store", "getWallet", "42 RP")));
    EXPECT_TRUE(Host().Deliver("OnServiceProxyAsyncEvent", ProxyAnswer("qix-chat", "presence", "online")));
    EXPECT_TRUE(Host().Deliver("OnServiceProxyAsyncEvent", ProxyAnswer("qix-chat", "typing")));
    EXPECT_EQ(payloads, (std::vector<std::string>{"42 RP", "online"}));
    EXPECT_EQ(proxy.ReceivedCount(), 1u);
    EXPECT_EQ(Logged(),
              (std::vector<std::string>{"3 bridge-test: Fulfilled service proxy request: qix-store.getWallet",
                                        "2 bridge-test: Could not find registered handler for async service "
                                        "proxy event qix-chat.typing"}));
}

}  // namespace
