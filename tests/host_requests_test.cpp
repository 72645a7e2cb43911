// host_requests_test.cpp - requests through the host: parameters, answers, streams, LCDS invokes,
// telemetry and their failures.
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <tuple>
#include <vector>

#include "binding/static_type.h"
#include "codecs/json_writer.h"
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

// Failure is the message and status of a failed answer.
template <class Answer>
std::string Failure(const Answer& answer) {
    return answer ? "no failure"
                  : answer.Error().Message() + " (" + std::to_string(answer.Error().StatusCode()) + ")";
}

// JsonText is a text of n bytes that reads as one JSON string.
std::string JsonText(std::size_t n) {
    return "\"" + std::string(n - 2, 'q') + "\"";
}

BindingProperty Text(std::string_view text) {
    BindingProperty value;
    value.SetString(text);
    return value;
}

class HostRequests : public testing::Test {
protected:
    void SetUp() override { session.Start(); }
    void TearDown() override {
        EXPECT_EQ(Host().Responses().Outstanding(), 0u);
        EXPECT_EQ(HuxHost::UnknownReleases(), unknownReleasesBefore);
    }

    Brix::PluginModule& Plugin() { return session.Plugin(); }
    HuxHost::DevHost& Host() { return session.host; }

    HuxTest::InProcessHost session;
    std::size_t unknownReleasesBefore = HuxHost::UnknownReleases();
};

TEST_F(HostRequests, TypedRequestsConvertTheAnswerAndSendParametersAsCells) {
    Host().SetAnswer(MethodCode::Post, "/plugin-manager/v1/status?x=1",
                     ScriptedAnswer::Json(R"({"state":"PluginsInitialized","extra":[1,2]})"));
    MaybeType<Brix::PluginManagerResource> answer = Plugin().TypedRequest<Brix::PluginManagerResource>(
        MethodCode::Post, "/plugin-manager/v1/status?x=1",
        {RequestParameter::Named("kind", Brix::PluginResourceEventType::Delete),
         RequestParameter::Positional(int32_t{-5}),
         RequestParameter::Named("labels", std::vector<std::string>{"a", "b"})});
    ASSERT_TRUE(answer) << answer.Error().Message();
    EXPECT_EQ(answer.Value().state, Brix::PluginManagerState::PluginsInitialized);

    // Each parameter as its name (or positional), the kind of its cell and its value: an enum travels as its
    // name.
    std::vector<std::string> params;
    for (const HuxHost::RecordedParam& param : Host().Requests().at(0).params) {
        params.push_back((param.positional ? std::string("positional") : param.name) + " " +
                         std::to_string(param.kind) + " " + Brix::Json::Write(param.value));
    }
    EXPECT_EQ(params,
              (std::vector<std::string>{"kind " + std::to_string(HOST_VALUE_OWNED_TEXT) + " \"Delete\"",
                                        "positional " + std::to_string(HOST_VALUE_SIGNED) + " -5",
                                        "labels " + std::to_string(HOST_VALUE_ARRAY) + " [\"a\",\"b\"]"}));

    // Telemetry is a POST under the event's name; its future is ready, so waiting for it costs nothing.
    Host().SetAnswer(MethodCode::Post, "/telemetry/v1/events/queue-joined", ScriptedAnswer::Value({}));
    EXPECT_TRUE(Plugin().Await(
        Plugin().SendTelemetry("queue-joined", {RequestParameter::Named("queueId", int64_t{420})})));
    EXPECT_EQ(Host().Requests().at(1).params.at(0).value.AsSigned(), 420);
    EXPECT_TRUE(Host().CallsTo(HostSlot::BeginWait).empty());
}

TEST_F(HostRequests, EachFailureHasItsOwnTextAndStatus) {
    ScriptedAnswer unreadable;
    unreadable.bodyKind = 11;
    const std::vector<std::tuple<std::string, ScriptedAnswer, std::string>> cases = {
        {"/a", ScriptedAnswer::Error(404, "x"), "Error response for GET /a: x (404)"},
        {"/c", unreadable,
         "Error converting response for GET /c: Couldn't assign value to '<result>' of type object because "
         "the "
         "input is of an incompatible type ''. (0)"},
        {"/broken", ScriptedAnswer::Stream({.text = JsonText(5000), .chunks = {4096}, .failAtRead = 1}),
         "Error reading streamed response for GET /broken: Stream read error (0)"},
        // A read that claims more bytes than the buffer holds is refused, not trusted.
        {"/overstated", ScriptedAnswer::Stream({.text = JsonText(5000), .overstateAtRead = 0}),
         "Error reading streamed response for GET /overstated: Stream read error (0)"}};
    for (const auto& [url, answer, message] : cases) {
        Host().SetAnswer(MethodCode::Get, url, answer);
        EXPECT_EQ(Failure(Plugin().TypedRequest<BindingProperty>(MethodCode::Get, url)), message);
    }
    EXPECT_EQ(Host().Responses().closedStreams, 2u);

    Host().SetAnswer(MethodCode::Get, "/d", ScriptedAnswer::Json(R"({"state":"Sleeping"})"));
    EXPECT_EQ(Failure(Plugin().TypedRequest<Brix::PluginManagerResource>(MethodCode::Get, "/d")),
              "Error converting response for GET /d: Sleeping is not a valid PluginManagerState enumeration "
              "value for 'state'. (0)");
    // A parameter that does not convert: nothing is sent.
    const std::size_t sent = Host().Requests().size();
    EXPECT_EQ(
        Failure(Plugin().TypedRequest<BindingProperty>(MethodCode::Put, "/b",
                                                       {RequestParameter::Positional(Unregistered{})})),
        "Request not sent: Error converting parameters for PUT /b: Couldn't convert native value because "
        "it's an unregistered structure. (400)");
    EXPECT_EQ(Host().Requests().size(), sent);
    EXPECT_EQ(Failure(Plugin().SendTelemetry("queue-joined").get()),
              "Error response for POST /telemetry/v1/events/queue-joined: Not found (404)");
}

TEST_F(HostRequests, StreamsAreReadInFullBuffersAndYieldOnlyAfterAShortPiece) {
    Host().SetAnswer(MethodCode::Get, "/s",
                     ScriptedAnswer::Stream({.text = JsonText(4106), .chunks = {4096, 10}}));
    Host().SetAnswer(MethodCode::Get, "/t",
                     ScriptedAnswer::Stream({.text = JsonText(30), .chunks = {10, 10}}));
    ASSERT_TRUE(Plugin().TypedRequest<BindingProperty>(MethodCode::Get, "/s"));
    EXPECT_EQ(HuxTest::Slots(Host().Calls()), std::vector<HostSlot>{HostSlot::Request});
    const auto& reads = Host().Responses().streamReads;
    ASSERT_EQ(reads.size(), 2u);
    EXPECT_EQ(reads[0].capacity, 4096u);
    EXPECT_EQ(reads[1].written, 10u);
    EXPECT_EQ(reads[1].more, 0);

    // A short piece while more is to come gives the host one announced turn before the next read.
    Host().ClearCalls();
    ASSERT_TRUE(Plugin().TypedRequest<BindingProperty>(MethodCode::Get, "/t"));
    EXPECT_EQ(reads.size(), 5u);
    EXPECT_EQ(
        HuxTest::Slots(Host().Calls()),
        (std::vector<HostSlot>{HostSlot::Request, HostSlot::BeginWait, HostSlot::Yield, HostSlot::EndWait,
                               HostSlot::BeginWait, HostSlot::Yield, HostSlot::EndWait}));
    EXPECT_EQ(Host().Calls()[1].text, "Wait: yield");
    EXPECT_EQ(Host().Responses().closedStreams, 2u);
}

TEST_F(HostRequests, LcdsAnswersOfAnotherClassAreRefusedBeforeConversionUnlessTheyAreEmpty) {
    Plugin().WireClasses().Add("string", Brix::StaticType<std::string>().id, "java.lang.String");
    auto compressed = [this] {
        return Plugin().Await(
            Plugin().LcdsInvoke<std::string>("matchmakerService", "getAllQueuesCompressed"));
    };
    Host().ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.Integer", Text("12"));
    EXPECT_EQ(
        Failure(compressed()),
        "Expected 'java.lang.String' as LCDS response for matchmakerService.getAllQueuesCompressed, but "
        "got 'java.lang.Integer' (0)");
    // An empty body skips the check; it then fails to convert like any body that does not fit.
    Host().ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.Integer", BindingProperty());
    EXPECT_EQ(Failure(compressed()), "Couldn't convert LCDS DTO " +
                                         std::string(Brix::StaticType<std::string>().name) +
                                         " to C++ from  (0)");

    // A type without a registered class is not checked; its arguments travel in the third parameter.
    Host().ScriptLcds("matchmakerService", "getQueue", "java.util.ArrayList",
                      HuxHost::ParseJson(R"([{"id":420},{"id":"x"}])"));
    EXPECT_EQ(Failure(Plugin().Await(Plugin().LcdsInvoke<std::vector<int32_t>>(
                  "matchmakerService", "getQueue", std::vector<BindingProperty>{Text("a"), Text("b")}))),
              "Couldn't convert LCDS DTO " + std::string(Brix::StaticType<std::vector<int32_t>>().name) +
                  " to C++ from [{\"id\":420},{\"id\":\"x\"}] (0)");
    EXPECT_EQ(Host().Requests().back().params.at(2).value.Element(1).AsString(), "b");
}

TEST(HostRequestsBeforeStart, TelemetryFailsWhileThereIsNoHost) {
    HuxTest::InProcessHost session;
    EXPECT_EQ(Failure(session.Plugin().SendTelemetry("queue-joined").get()), "Internal server error (500)");
    EXPECT_TRUE(session.host.Calls().empty());
}

TEST(HostRequestsDeathTest, AFutureWithoutAResultToTakeEndsTheProcess) {
    // The plugin is not started: the fatal report goes to the console, where the test can read it.
    HuxTest::InProcessHost session;
    // No shared state, a result already taken, a promise abandoned without a result.
    EXPECT_DEATH(session.Plugin().Await(std::future<int>()), "DOV-6D828C10");
    std::promise<int> promise;
    std::future<int> taken = promise.get_future();
    promise.set_value(1);
    EXPECT_EQ(taken.get(), 1);
    EXPECT_DEATH(session.Plugin().Await(std::move(taken)), "DOV-6D828C10");
    std::future<int> abandoned = std::promise<int>().get_future();
    EXPECT_DEATH(session.Plugin().Await(std::move(abandoned)), "DOV-6D828C10");
}

}  // namespace
