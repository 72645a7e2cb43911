// async_wait_test.cpp - waiting for futures, yielding to the host, with deliveries during the wait.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "binding/static_type.h"
#include "in_process_host.h"

namespace {

using Brix::BindingProperty;
using HuxHost::DevHost;
using HuxHost::HostSlot;

TEST(AsyncWait, AFutureSatisfiedByAnEventAfterThreeTurnsIsOneAnnouncedWait) {
    HuxTest::InProcessHost<> session;
    session.Start();
    Brix::PluginModule& plugin = session.Plugin();
    std::promise<std::string> promise;
    plugin.ObserveResource<BindingProperty>("/hux-login/v1/session/*",
                                            [&](Brix::PluginResourceEventType, const BindingProperty& value) {
                                                promise.set_value(std::string(value.AsString()));
                                            });
    session.host.ClearCalls();
    session.host.QueueOnYield([](DevHost&) {});
    session.host.QueueOnYield([](DevHost&) {});
    BindingProperty token;
    token.SetString("token-1");
    session.host.QueueOnYield([&](DevHost& host) {
        host.DeliverResourceEvent("/hux-login/v1/session/token", Brix::PluginResourceEventType::Update,
                                  token);
    });

    EXPECT_EQ(plugin.Await(promise.get_future()), "token-1");
    const auto& calls = session.host.Calls();
    EXPECT_EQ(HuxTest::Slots(calls),
              (std::vector<HostSlot>{HostSlot::BeginWait, HostSlot::Yield, HostSlot::Yield, HostSlot::Yield,
                                     HostSlot::EndWait}));
    EXPECT_EQ(calls[0].text, "Wait: future<" + std::string(Brix::StaticType<std::string>().name) + ">");
    EXPECT_EQ(calls[0].number, 0u);
    EXPECT_EQ(session.host.PendingYieldActions(), 0u);
}

TEST(AsyncWaitDeathTest, AFutureWithoutAResultToTakeEndsTheProcess) {
    // The plugin is not started: the fatal report goes to the console, where the test can read it.
    HuxTest::InProcessHost<> session;
    Brix::PluginModule& plugin = session.Plugin();
    // No shared state, a result already taken, a promise abandoned without a result.
    EXPECT_DEATH(plugin.Await(std::future<int>()), "DOV-6D828C10");
    std::promise<int> promise;
    std::future<int> taken = promise.get_future();
    promise.set_value(1);
    EXPECT_EQ(taken.get(), 1);
    EXPECT_DEATH(plugin.Await(std::move(taken)), "DOV-6D828C10");
    std::future<int> abandoned = std::promise<int>().get_future();
    EXPECT_DEATH(plugin.Await(std::move(abandoned)), "DOV-6D828C10");
}

}  // namespace
