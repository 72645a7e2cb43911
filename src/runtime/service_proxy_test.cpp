// service_proxy_test.cpp - keeping service proxy answers, fulfilling waiting requests, async messages.
#include "runtime/service_proxy.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "logging/log_test_support.h"

namespace Brix {
namespace {

PluginServiceProxyResponse Answer(std::string uuid, std::string service = {}, std::string method = {},
                                  std::string payload = {}) {
    PluginServiceProxyResponse answer;
    answer.uuid = std::move(uuid);
    answer.serviceName = std::move(service);
    answer.methodName = std::move(method);
    answer.payload = std::move(payload);
    return answer;
}

class ServiceProxyTest : public FreshLoggerTest {
protected:
    void SetUp() override {
        FreshLoggerTest::SetUp();
        ASSERT_TRUE(target.Register());
        proxy.Start(7, "hux-game-queues");
    }
    void TearDown() override {
        target.Unregister();
        FreshLoggerTest::TearDown();
    }

    std::mutex mutex;
    ServiceProxy proxy{mutex};
    RecordingLogTarget target;
};

TEST_F(ServiceProxyTest, AnswersWaitUntilARequestClaimsThemInTheOrderTheyCame) {
    proxy.OnUuidAnswer(Answer("u-1", "", "", "first"));
    proxy.OnUuidAnswer(Answer("u-2"));
    proxy.OnUuidAnswer(Answer("u-1", "", "", "second"));
    EXPECT_EQ(proxy.ReceivedCount(), 3u);
    EXPECT_TRUE(target.records.empty());

    std::vector<std::string> claimed;
    proxy.AwaitAnswer("u-1",
                      [&](const PluginServiceProxyResponse& answer) { claimed.push_back(answer.payload); });
    EXPECT_EQ(claimed, std::vector<std::string>{"first"});
    EXPECT_EQ(proxy.ReceivedCount(), 2u);
    ASSERT_EQ(target.records.size(), 1u);
    EXPECT_EQ(target.records[0].level, 3);
    EXPECT_EQ(target.records[0].message, "hux-game-queues: Fulfilled service proxy request: u-1");

    // A request registered before its answer is fulfilled when the answer comes, under service.method.
    proxy.AwaitAnswer("keld-store.getWallet",
                      [&](const PluginServiceProxyResponse& answer) { claimed.push_back(answer.payload); });
    EXPECT_EQ(claimed, std::vector<std::string>{"first"});
    proxy.OnMethodAnswer(Answer("u-9", "keld-store", "getWallet", "wallet"));
    EXPECT_EQ(claimed, (std::vector<std::string>{"first", "wallet"}));
    EXPECT_EQ(proxy.ReceivedCount(), 2u);
    // A claimed request waits no more: the same answer again is kept for no one.
    proxy.OnMethodAnswer(Answer("u-9", "keld-store", "getWallet", "again"));
    EXPECT_EQ(claimed, (std::vector<std::string>{"first", "wallet"}));
    EXPECT_EQ(proxy.ReceivedCount(), 3u);

    proxy.Clear();
    EXPECT_EQ(proxy.ReceivedCount(), 0u);
}

}  // namespace
}  // namespace Brix
