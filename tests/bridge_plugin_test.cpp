// bridge_plugin_test.cpp - whole conversations with a loaded plugin library through the development host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/json_writer.h"
#include "plugin_test_support.h"

namespace {

using Brix::BindingProperty;
using Brix::MethodCode;
using Brix::PluginResourceEventType;
using HuxHost::DevHost;
using HuxHost::HostSlot;
using HuxHost::ScriptedAnswer;

BindingProperty Settings(std::string_view method) {
    BindingProperty settings;
    settings.MemberForWriting("destination").SetString("matchmakerService");
    settings.MemberForWriting("method").SetString(method);
    return settings;
}

BindingProperty Text(std::string_view text) {
    BindingProperty value;
    value.SetString(text);
    return value;
}

class BridgePlugin : public testing::Test {
protected:
    void SetUp() override {
        host = HuxTest::OpenHost(HuxTest::kBridgeProbePath, HuxTest::kBridgeProbeEntry);
        ASSERT_NE(host, nullptr);
        host->Load();
        ASSERT_TRUE(host->Loaded());
    }

    // Answers lists the event names the plugin sent with the "value" or "error" they carried.
    std::vector<std::string> Answers() const {
        std::vector<std::string> answers;
        for (const HuxHost::SentEvent& event : host->SentEvents()) {
            const BindingProperty& data = event.payload.Member("data");
            const BindingProperty* value = data.FindMember("value");
            answers.push_back(event.name + " " +
                              std::string((value != nullptr ? *value : data.Member("error")).AsString()));
        }
        return answers;
    }

    std::unique_ptr<DevHost> host;
};

TEST_F(BridgePlugin, FollowsItsSettingsAndPublishesWhatTheMatchmakerAnswers) {
    host->SetResource("/probe/v1/settings", Settings("getAllQueuesCompressed"));
    host->ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.String", Text("H4sI"));
    host->ScriptLcdsError("matchmakerService", "getAllQueues", 500, "matchmaker unavailable");
    ASSERT_TRUE(host->Start());

    // The service proxy subscribes first, then the plugin's own Start runs and follows its settings,
    // whose current value it fetches at once and answers through the matchmaker.
    EXPECT_EQ(HuxTest::Slots(host->Calls()),
              (std::vector<HostSlot>{HostSlot::Subscribe, HostSlot::Subscribe, HostSlot::Subscribe,
                                     HostSlot::Log, HostSlot::Subscribe, HostSlot::Request, HostSlot::Request,
                                     HostSlot::SendEvent, HostSlot::SendEvent}));
    std::vector<std::string> texts;
    for (const HuxHost::HostCall& call : host->Calls()) {
        texts.push_back(call.text + " " + std::to_string(call.number));
    }
    // Subscribe calls carry the flag (1 for the proxy events), requests the method (2 GET, 6 POST).
    EXPECT_EQ(texts,
              (std::vector<std::string>{
                  "OnServiceProxyUuidEvent 1", "OnServiceProxyMethodEvent 1", "OnServiceProxyAsyncEvent 1",
                  "bridge probe started with handle 18517 0", "OnJsonApiEvent_probe_v1_settings 0",
                  "/probe/v1/settings 2", "/hux-login/v1/session/invoke 6",
                  "OnJsonApiEvent_probe_v1_answer 0", "OnJsonApiEvent 0"}));
    EXPECT_EQ(host->CallsTo(HostSlot::Log).at(0).level, 0);
    EXPECT_EQ(Answers(),
              (std::vector<std::string>{"OnJsonApiEvent_probe_v1_answer H4sI", "OnJsonApiEvent H4sI"}));

    ASSERT_TRUE(host->DeliverResourceEvent("/probe/v1/settings", PluginResourceEventType::Update,
                                           Settings("getAllQueues")));
    EXPECT_EQ(Answers().back(),
              "OnJsonApiEvent Error response for POST /hux-login/v1/session/invoke: matchmaker unavailable");
    EXPECT_EQ(host->Responses().Outstanding(), 0u);

    host->Stop();
    EXPECT_TRUE(host->Subscriptions().empty());
}

TEST_F(BridgePlugin, RoutesAreOfferedInTableOrderUntilOneAnswers) {
    ASSERT_TRUE(host->Start(9));
    const std::vector<std::pair<std::string, std::string>> headers = {{"accept", "application/json"},
                                                                      {"x-request", "7"}};
    HuxHost::RouteAnswer echo =
        host->CallRoute(MethodCode::Post, "/probe/v1/echo?x=1", headers, R"({"a":1})", "application/json");
    EXPECT_EQ(echo.status, 201u);
    EXPECT_FALSE(echo.error.has_value());
    EXPECT_TRUE(echo.released);
    EXPECT_EQ(
        Brix::Json::Write(echo.body),
        R"({"body":"{\"a\":1}","contentType":"application/json",)"
        R"("headers":{"accept":"application/json","x-request":"7"},"hostHandle":9,"url":"/probe/v1/echo?x=1"})");
    EXPECT_EQ(echo.headers, (std::vector<std::pair<std::string, std::string>>{{"x-probe", "echo"}}));

    // No record takes DELETE except the one for any method, which declines.
    HuxHost::RouteAnswer none = host->CallRoute(MethodCode::Delete, "/probe/v1/echo");
    EXPECT_EQ(none.status, 404u);
    EXPECT_EQ(none.error, "Invalid function");
}

TEST_F(BridgePlugin, ABogusExpectedSizeDoesNotMakeThePluginReserveIt) {
    const std::string text = "\"" + std::string(10000, 'q') + "\"";
    host->SetAnswer(
        MethodCode::Get, "/probe/v1/big",
        ScriptedAnswer::Stream({.text = text, .chunks = {4096, 4096}, .expectedSize = 0xFFFFFFFFu}));
    ASSERT_TRUE(host->Start());

    HuxHost::RouteAnswer fetched = host->CallRoute(MethodCode::Get, "/probe/v1/fetch");
    ASSERT_FALSE(fetched.error.has_value()) << *fetched.error;
    EXPECT_EQ(fetched.status, 200u);
    EXPECT_EQ(fetched.body.Member("length").AsUnsigned(), 10000u);
    EXPECT_EQ(host->Responses().closedStreams, 1u);
    EXPECT_EQ(host->Responses().Outstanding(), 0u);
    // The hint asked for 4 GiB; what the plugin ever held stays far below that.
    EXPECT_LT(host->GetMemoryStats().counters[0], uint64_t{256} << 20) << "peak bytes in use";
}

}  // namespace
