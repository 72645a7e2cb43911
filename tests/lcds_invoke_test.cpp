// lcds_invoke_test.cpp - LCDS invokes through the host: the request, the type check and the conversion.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/static_type.h"
#include "in_process_host.h"

namespace {

using Brix::BindingProperty;
using Brix::MaybeType;
using HuxHost::HostSlot;

constexpr const char* kStringClass = "java.lang.String";

class LcdsInvoke : public testing::Test {
protected:
    void SetUp() override {
        session.Start();
        Plugin().WireClasses().Add("string", Brix::StaticType<std::string>().id, kStringClass);
    }

    Brix::PluginModule& Plugin() { return session.Plugin(); }
    HuxHost::DevHost& Host() { return session.host; }

    MaybeType<std::string> Compressed() {
        return Plugin().Await(
            Plugin().LcdsInvoke<std::string>("matchmakerService", "getAllQueuesCompressed"));
    }

    static BindingProperty Text(std::string_view text) {
        BindingProperty value;
        value.SetString(text);
        return value;
    }

    HuxTest::InProcessHost<> session;
};

TEST_F(LcdsInvoke, PostsDestinationMethodAndArgumentsAndAnswersAReadyFuture) {
    Host().ScriptLcds("matchmakerService", "getAllQueuesCompressed", kStringClass, Text("H4sIAAAA"));
    MaybeType<std::string> answer = Compressed();
    ASSERT_TRUE(answer) << answer.Error().Message();
    EXPECT_EQ(answer.Value(), "H4sIAAAA");

    // One request and nothing else: the future was ready before Await saw it.
    EXPECT_EQ(HuxTest::Slots(Host().Calls()), std::vector<HostSlot>{HostSlot::Request});
    const HuxHost::RecordedRequest& request = Host().Requests().at(0);
    EXPECT_EQ(request.method, Brix::MethodCode::Post);
    EXPECT_EQ(request.url, "/hux-login/v1/session/invoke");
    ASSERT_EQ(request.params.size(), 3u);
    for (const HuxHost::RecordedParam& param : request.params) {
        EXPECT_TRUE(param.positional);
    }
    EXPECT_EQ(request.params[0].value.AsString(), "matchmakerService");
    EXPECT_EQ(request.params[1].value.AsString(), "getAllQueuesCompressed");
    EXPECT_EQ(request.params[2].kind, static_cast<uint32_t>(HOST_VALUE_ARRAY));
    EXPECT_EQ(request.params[2].value.ElementCount(), 0u);

    // Arguments travel in order inside the third parameter.
    Host().ScriptLcds("matchmakerService", "getQueue", kStringClass, Text("q"));
    const std::vector<BindingProperty> arguments = {Text("a"), Text("b")};
    ASSERT_TRUE(Plugin().Await(Plugin().LcdsInvoke<std::string>("matchmakerService", "getQueue", arguments)));
    EXPECT_EQ(Host().Requests().at(1).params[2].value.Element(1).AsString(), "b");
    EXPECT_EQ(Host().Responses().Outstanding(), 0u);
}

TEST_F(LcdsInvoke, AnswersOfAnotherClassAreRefusedBeforeConversionUnlessTheyAreEmpty) {
    Host().ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.Integer", Text("12"));
    MaybeType<std::string> wrong = Compressed();
    ASSERT_FALSE(wrong);
    EXPECT_EQ(
        wrong.Error().Message(),
        "Expected 'java.lang.String' as LCDS response for matchmakerService.getAllQueuesCompressed, but got "
        "'java.lang.Integer'");

    // An empty body skips the check; it then fails to convert like any body that does not fit.
    Host().ScriptLcds("matchmakerService", "getAllQueuesCompressed", "java.lang.Integer", BindingProperty());
    MaybeType<std::string> empty = Compressed();
    ASSERT_FALSE(empty);
    EXPECT_EQ(
        empty.Error().Message(),
        "Couldn't convert LCDS DTO " + std::string(Brix::StaticType<std::string>().name) + " to C++ from ");

    // A type without a registered class is not checked.
    BindingProperty queues = HuxHost::ParseJson(R"([{"id":420},{"id":"x"}])");
    Host().ScriptLcds("matchmakerService", "getAllQueues", "java.util.ArrayList", queues);
    MaybeType<std::vector<int32_t>> unconverted =
        Plugin().Await(Plugin().LcdsInvoke<std::vector<int32_t>>("matchmakerService", "getAllQueues"));
    ASSERT_FALSE(unconverted);
    EXPECT_EQ(unconverted.Error().Message(), "Couldn't convert LCDS DTO " +
                                                 std::string(Brix::StaticType<std::vector<int32_t>>().name) +
                                                 " to C++ from [{\"id\":420},{\"id\":\"x\"}]");
    EXPECT_EQ(unconverted.Error().StatusCode(), 0);
}

}  // namespace
