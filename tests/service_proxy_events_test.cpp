// service_proxy_events_test.cpp - the service proxy events from Start to Shutdown, through the host.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "in_process_host.h"

namespace {

using Brix::BindingProperty;
using HuxHost::HostCall;
using HuxHost::HostSlot;

BindingProperty ProxyAnswer(std::string_view uuid, std::string_view service, std::string_view method,
                            std::string_view payload = {}) {
    BindingProperty answer;
    answer.MemberForWriting("uuid").SetString(uuid);
    answer.MemberForWriting("serviceName").SetString(service);
    answer.MemberForWriting("methodName").SetString(method);
    answer.MemberForWriting("payload").SetString(payload);
    answer.MemberForWriting("status").SetString("200");
    answer.MemberForWriting("error").SetString("");
    return answer;
}

TEST(ServiceProxyEvents, AnswersAreKeptAndAsyncMessagesWithoutHandlerAreLogged) {
    HuxTest::InProcessHost<> session;
    session.Start();
    HuxHost::DevHost& host = session.host;
    Brix::ServiceProxy& proxy = session.Plugin().ServiceProxyTables();

    EXPECT_TRUE(host.Deliver("OnServiceProxyUuidEvent", ProxyAnswer("u-1", "qix-store", "getWallet")));
    EXPECT_TRUE(host.Deliver("OnServiceProxyUuidEvent", ProxyAnswer("u-2", "qix-store", "getWallet")));
    // A payload that is not an answer is dropped by the dispatcher.
    BindingProperty notAnAnswer;
    notAnAnswer.MakeCollection();
    EXPECT_TRUE(host.Deliver("OnServiceProxyUuidEvent", notAnAnswer));
    EXPECT_EQ(proxy.ReceivedCount(), 2u);
    EXPECT_TRUE(host.CallsTo(HostSlot::Log).empty());

    EXPECT_TRUE(host.Deliver("OnServiceProxyAsyncEvent", ProxyAnswer("", "qix-chat", "presence")));
    ASSERT_EQ(host.CallsTo(HostSlot::Log).size(), 1u);
    EXPECT_EQ(host.CallsTo(HostSlot::Log)[0].level, 2);
    EXPECT_EQ(
        host.CallsTo(HostSlot::Log)[0].text,
        "bridge-test: Could not find registered handler for async service proxy event qix-chat.presence");
    EXPECT_EQ(proxy.ReceivedCount(), 2u);
    std::vector<std::string> presence;
    proxy.SetAsyncHandler("qix-chat.presence", [&](const Brix::PluginServiceProxyResponse& message) {
        presence.push_back(message.payload);
    });
    EXPECT_TRUE(host.Deliver("OnServiceProxyAsyncEvent", ProxyAnswer("", "qix-chat", "presence", "online")));
    EXPECT_EQ(presence, std::vector<std::string>{"online"});
    EXPECT_EQ(host.CallsTo(HostSlot::Log).size(), 1u);

    std::vector<std::string> fulfilled;
    proxy.AwaitAnswer("qix-store.getWallet", [&](const Brix::PluginServiceProxyResponse& answer) {
        fulfilled.push_back(answer.payload);
    });
    EXPECT_TRUE(
        host.Deliver("OnServiceProxyMethodEvent", ProxyAnswer("u-3", "qix-store", "getWallet", "42 RP")));
    EXPECT_EQ(fulfilled, std::vector<std::string>{"42 RP"});
    EXPECT_EQ(host.CallsTo(HostSlot::Log).back().text,
              "bridge-test: Fulfilled service proxy request: qix-store.getWallet");
    EXPECT_EQ(proxy.ReceivedCount(), 2u);
}

TEST(ServiceProxyEvents, ShutdownUnsubscribesEverythingStillRegisteredAndClearsTheTables) {
    HuxTest::InProcessHost<> session;
    session.Start();
    HuxHost::DevHost& host = session.host;
    Brix::PluginModule& plugin = session.Plugin();
    plugin.ObserveResource<BindingProperty>("/x/1/2",
                                            [](Brix::PluginResourceEventType, const BindingProperty&) {});
    plugin.Subscribe("/y/1/2/3");
    plugin.Subscribe("/y/1/2/4");
    host.Deliver("OnServiceProxyUuidEvent", ProxyAnswer("u-1", "s", "m"));
    host.ClearCalls();

    plugin.Shutdown();
    std::vector<std::string> unsubscribed;
    for (const HostCall& call : host.CallsTo(HostSlot::Unsubscribe)) {
        unsubscribed.push_back(call.text);
        EXPECT_EQ(call.hostHandle, HuxHost::DevHost::kDefaultHostHandle);
    }
    std::sort(unsubscribed.begin(), unsubscribed.end());
    EXPECT_EQ(unsubscribed, (std::vector<std::string>{"OnJsonApiEvent_x_1_2", "OnJsonApiEvent_y_1_2",
                                                      "OnServiceProxyAsyncEvent", "OnServiceProxyMethodEvent",
                                                      "OnServiceProxyUuidEvent"}));
    EXPECT_TRUE(host.Subscriptions().empty());
    EXPECT_EQ(plugin.SubscriptionCount("OnJsonApiEvent_y_1_2"), 0u);
    EXPECT_EQ(plugin.ServiceProxyTables().ReceivedCount(), 0u);

    // Nothing is left to reach: a late delivery finds no subscriber.
    EXPECT_FALSE(host.DeliverResourceEvent("/x/1/2", Brix::PluginResourceEventType::Update));
}

}  // namespace
