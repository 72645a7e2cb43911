// host_requests_test.cpp - requests through the host: parameters, answers, streams and their failures.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "in_process_host.h"

namespace {

using Brix::BindingProperty;
using Brix::MaybeType;
using Brix::MethodCode;
using Brix::RequestParameter;
using HuxHost::HostSlot;
using HuxHost::ScriptedAnswer;

// Unregistered is a record the type registry does not know: it has no value form.
struct Unregistered {
    int32_t x = 0;
};

class HostRequests : public testing::Test {
protected:
    void SetUp() override { session.Start(); }

    Brix::PluginModule& Plugin() { return session.Plugin(); }
    HuxHost::DevHost& Host() { return session.host; }

    void ExpectEverythingReleased() {
        EXPECT_EQ(Host().Responses().Outstanding(), 0u);
        EXPECT_EQ(HuxHost::UnknownReleases(), unknownReleasesBefore);
    }

    // JsonText is a text of n bytes that reads as one JSON string.
    static std::string JsonText(std::size_t n) { return "\"" + std::string(n - 2, 'q') + "\""; }

    HuxTest::InProcessHost<> session;
    std::size_t unknownReleasesBefore = HuxHost::UnknownReleases();
};

TEST_F(HostRequests, TypedRequestsConvertTheAnswerAndSendParametersAsCells) {
    Host().SetAnswer(MethodCode::Post, "/plugin-manager/v1/status?x=1",
                     ScriptedAnswer::Json(R"({"state":"PluginsInitialized","extra":[1,2]})"));
    const Brix::RequestParameters parameters = {
        RequestParameter::Named("kind", Brix::PluginResourceEventType::Delete),
        RequestParameter::Positional(int32_t{-5}),
        RequestParameter::Named("labels", std::vector<std::string>{"a", "b"}),
    };
    MaybeType<Brix::PluginManagerResource> answer = Plugin().TypedRequest<Brix::PluginManagerResource>(
        MethodCode::Post, "/plugin-manager/v1/status?x=1", parameters);
    ASSERT_TRUE(answer) << answer.Error().Message();
    EXPECT_EQ(answer.Value().state, Brix::PluginManagerState::PluginsInitialized);

    ASSERT_EQ(Host().Requests().size(), 1u);
    const HuxHost::RecordedRequest& request = Host().Requests()[0];
    EXPECT_EQ(request.method, MethodCode::Post);
    EXPECT_EQ(request.url, "/plugin-manager/v1/status?x=1");
    EXPECT_EQ(request.hostHandle, HuxHost::DevHost::kDefaultHostHandle);
    ASSERT_EQ(request.params.size(), 3u);
    // An enum travels as its name, in an owned text.
    EXPECT_EQ(request.params[0].name, "kind");
    EXPECT_FALSE(request.params[0].positional);
    EXPECT_EQ(request.params[0].kind, static_cast<uint32_t>(HOST_VALUE_OWNED_TEXT));
    EXPECT_EQ(request.params[0].value.AsString(), "Delete");
    EXPECT_TRUE(request.params[1].positional);
    EXPECT_EQ(request.params[1].kind, static_cast<uint32_t>(HOST_VALUE_SIGNED));
    EXPECT_EQ(request.params[1].value.AsSigned(), -5);
    EXPECT_EQ(request.params[2].kind, static_cast<uint32_t>(HOST_VALUE_ARRAY));
    EXPECT_EQ(request.params[2].value.Element(1).AsString(), "b");
    ExpectEverythingReleased();
}

TEST_F(HostRequests, EachFailureHasItsOwnTextAndStatus) {
    // The host answers with an error text: its status comes along.
    Host().SetAnswer(MethodCode::Get, "/a", ScriptedAnswer::Error(404, "x"));
    MaybeType<BindingProperty> refused = Plugin().TypedRequest<BindingProperty>(MethodCode::Get, "/a");
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.Error().Message(), "Error response for GET /a: x");
    EXPECT_EQ(refused.Error().StatusCode(), 404);
    ASSERT_NE(refused.Error().FindDetail("errorCode_int"), nullptr);
    EXPECT_EQ(refused.Error().FindDetail("errorCode_int")->value, Brix::FailureDetail::Value(int64_t{404}));
    ASSERT_NE(refused.Error().FindDetail("url_str"), nullptr);
    EXPECT_EQ(refused.Error().FindDetail("url_str")->value, Brix::FailureDetail::Value(std::string("/a")));

    // A parameter that does not convert: nothing is sent.
    MaybeType<BindingProperty> unsent = Plugin().TypedRequest<BindingProperty>(
        MethodCode::Put, "/b",
        {RequestParameter::Positional(1), RequestParameter::Positional(Unregistered{})});
    ASSERT_FALSE(unsent);
    EXPECT_EQ(unsent.Error().Message(),
              "Request not sent: Error converting parameters for PUT /b: Couldn't convert native value "
              "because it's "
              "an unregistered structure.");
    EXPECT_EQ(unsent.Error().StatusCode(), 400);
    EXPECT_EQ(Host().Requests().size(), 1u);

    // A body cell the plugin cannot read.
    ScriptedAnswer unreadable;
    unreadable.bodyKind = 11;
    Host().SetAnswer(MethodCode::Get, "/c", unreadable);
    MaybeType<BindingProperty> unread = Plugin().TypedRequest<BindingProperty>(MethodCode::Get, "/c");
    ASSERT_FALSE(unread);
    EXPECT_EQ(unread.Error().Message(),
              "Error converting response for GET /c: Couldn't assign value to '<result>' of type object "
              "because the "
              "input is of an incompatible type ''.");
    EXPECT_EQ(unread.Error().StatusCode(), 0);

    // A body that is not the type asked for.
    Host().SetAnswer(MethodCode::Get, "/d", ScriptedAnswer::Json(R"({"state":"Sleeping"})"));
    MaybeType<Brix::PluginManagerResource> wrong =
        Plugin().TypedRequest<Brix::PluginManagerResource>(MethodCode::Get, "/d");
    ASSERT_FALSE(wrong);
    EXPECT_EQ(
        wrong.Error().Message(),
        "Error converting response for GET /d: Sleeping is not a valid PluginManagerState enumeration value "
        "for 'state'.");
    EXPECT_EQ(wrong.Error().StatusCode(), 0);

    // Nothing answers at all.
    MaybeType<void> lost = Plugin().SendTelemetry("queue-joined").get();
    ASSERT_FALSE(lost);
    EXPECT_EQ(lost.Error().Message(), "Error response for POST /telemetry/v1/events/queue-joined: Not found");
    ExpectEverythingReleased();
}

TEST_F(HostRequests, StreamsAreReadInFullBuffersAndYieldOnlyAfterAShortPiece) {
    const std::string text = JsonText(4096 + 4096 + 10);
    Host().SetAnswer(MethodCode::Get, "/s",
                     ScriptedAnswer::Stream({.text = text, .chunks = {4096, 4096, 10}}));
    MaybeType<BindingProperty> whole = Plugin().TypedRequest<BindingProperty>(MethodCode::Get, "/s");
    ASSERT_TRUE(whole) << whole.Error().Message();
    EXPECT_EQ(whole.Value().AsString().size(), text.size() - 2);
    const auto& reads = Host().Responses().streamReads;
    ASSERT_EQ(reads.size(), 3u);
    EXPECT_EQ(reads[0].capacity, 4096u);
    EXPECT_EQ(reads[2].written, 10u);
    EXPECT_EQ(reads[2].more, 0);
    EXPECT_TRUE(Host().CallsTo(HostSlot::Yield).empty());
    EXPECT_EQ(Host().Responses().closedStreams, 1u);

    // A short piece while more is to come gives the host one announced turn before the next read.
    Host().ClearCalls();
    Host().SetAnswer(MethodCode::Get, "/t",
                     ScriptedAnswer::Stream({.text = JsonText(30), .chunks = {10, 10}}));
    ASSERT_TRUE(Plugin().TypedRequest<BindingProperty>(MethodCode::Get, "/t"));
    EXPECT_EQ(reads.size(), 6u);
    EXPECT_EQ(
        HuxTest::Slots(Host().Calls()),
        (std::vector<HostSlot>{HostSlot::Request, HostSlot::BeginWait, HostSlot::Yield, HostSlot::EndWait,
                               HostSlot::BeginWait, HostSlot::Yield, HostSlot::EndWait}));
    EXPECT_EQ(Host().Calls()[1].text, "Wait: yield");
    EXPECT_EQ(Host().Calls()[1].number, 0u);
    EXPECT_EQ(Host().Responses().closedStreams, 2u);
    ExpectEverythingReleased();
}

TEST_F(HostRequests, StreamFailuresCloseTheStreamAndReleaseTheResponse) {
    const std::vector<std::tuple<std::string, HuxHost::StreamScript, std::string>> cases = {
        {"/broken",
         {.text = JsonText(5000), .chunks = {4096}, .failAtRead = 1},
         "Error reading streamed response for GET /broken: Stream read error"},
        // A read that claims more bytes than the buffer holds is refused, not trusted.
        {"/overstated",
         {.text = JsonText(5000), .overstateAtRead = 0},
         "Error reading streamed response for GET /overstated: Stream read error"},
        {"/garbled",
         {.text = "{\"a\":", .chunks = {3}},
         "Error reading streamed response for GET /garbled: Error: Invalid value. at offset 5."},
    };
    std::size_t closed = 0;
    for (const auto& [url, script, message] : cases) {
        Host().SetAnswer(MethodCode::Get, url, ScriptedAnswer::Stream(script));
        MaybeType<BindingProperty> failed = Plugin().TypedRequest<BindingProperty>(MethodCode::Get, url);
        ASSERT_FALSE(failed);
        EXPECT_EQ(failed.Error().Message(), message);
        EXPECT_EQ(failed.Error().StatusCode(), 0);
        EXPECT_EQ(Host().Responses().closedStreams, ++closed);
    }
    ExpectEverythingReleased();
}

TEST_F(HostRequests, TelemetryIsPostedUnderItsEventName) {
    Host().SetAnswer(MethodCode::Post, "/telemetry/v1/events/queue-joined", ScriptedAnswer::Value({}));
    std::future<MaybeType<void>> sent =
        Plugin().SendTelemetry("queue-joined", {RequestParameter::Named("queueId", int64_t{420})});
    EXPECT_TRUE(Plugin().Await(std::move(sent)));
    ASSERT_EQ(Host().Requests().size(), 1u);
    EXPECT_EQ(Host().Requests()[0].method, MethodCode::Post);
    EXPECT_EQ(Host().Requests()[0].params.at(0).name, "queueId");
    // The future was ready: waiting for it cost nothing.
    EXPECT_TRUE(Host().CallsTo(HostSlot::BeginWait).empty());
    ExpectEverythingReleased();
}

TEST(HostRequestsBeforeStart, TelemetryFailsWhileThereIsNoHost) {
    HuxTest::InProcessHost<> session;
    MaybeType<void> sent = session.Plugin().SendTelemetry("queue-joined").get();
    ASSERT_FALSE(sent);
    EXPECT_EQ(sent.Error().Message(), "Internal server error");
    EXPECT_EQ(sent.Error().StatusCode(), 500);
    EXPECT_TRUE(session.host.Calls().empty());
}

}  // namespace
