// failure_test.cpp - failure texts, status codes, details and MaybeType access.
#include "binding/failure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "binding/maybe_type.h"

namespace Brix {
namespace {

using Details = std::vector<FailureDetail>;

TEST(Failure, StatusCodeIsKeptAsDetail) {
    const Failure plain("no code");
    EXPECT_EQ(plain.StatusCode(), 0);
    EXPECT_EQ(plain.Details(), Details{});
    const Failure coded("gone", 410);
    EXPECT_EQ(coded.Message(), "gone");
    EXPECT_EQ(coded.Details(), (Details{{"errorCode_int", int64_t{410}}}));
    EXPECT_EQ(coded.FindDetail("errorCode_int"), &coded.Details()[0]);
    EXPECT_EQ(coded.FindDetail("errorCode"), nullptr);
}

TEST(Failure, FormatSubstitutesNamedPlaceholdersAndKeepsTypedDetails) {
    const Failure failure = Failure::Format("Error response for {method} {url}: {error} {missing} {",
                                            {{"method", std::string("GET")},
                                             {"url", std::string("/a")},
                                             {"error", std::string("x")},
                                             {"count", int64_t{3}},
                                             {"ratio_float", 0.5},
                                             {"flag", true}},
                                            404);
    EXPECT_EQ(failure.Message(), "Error response for GET /a: x {missing} {");
    EXPECT_EQ(failure.StatusCode(), 404);
    EXPECT_EQ(failure.Details(), (Details{{"errorCode_int", int64_t{404}},
                                          {"method_str", std::string("GET")},
                                          {"url_str", std::string("/a")},
                                          {"error_str", std::string("x")},
                                          {"count_int", int64_t{3}},
                                          {"ratio_float", 0.5},
                                          {"flag_bool", true}}));
    EXPECT_EQ(
        Failure::Format("{n} of {n}, {f} {b}", {{"n", int64_t{-2}}, {"f", 0.25}, {"b", false}}).Message(),
        "-2 of -2, 0.25 false");
    EXPECT_EQ(DetailName("peer_ip", std::string("::1")), "peer_ip");
    EXPECT_EQ(DetailName("started", std::string("t")), "started_str");
}

TEST(Failure, NotFoundAndInternalErrorHaveDefaultTexts) {
    EXPECT_EQ(NotFound().Message(), "Not found");
    EXPECT_EQ(NotFound().StatusCode(), 404);
    EXPECT_EQ(NotFound("Queue 7 not found").Message(), "Queue 7 not found");
    EXPECT_EQ(InternalServerError().Message(), "Internal server error");
    EXPECT_EQ(InternalServerError("broken").StatusCode(), 500);
}

TEST(MaybeType, HoldsValueOrFailure) {
    const MaybeType<std::string> value = std::string("ok");
    ASSERT_TRUE(value);
    EXPECT_EQ(value.Value(), "ok");
    const MaybeType<std::string> failed = NotFound();
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.Error().StatusCode(), 404);
    EXPECT_TRUE(MaybeType<void>().HasValue());
    const MaybeType<void> refused = Failure("no", 400);
    ASSERT_FALSE(refused.HasValue());
    EXPECT_EQ(refused.Error().Message(), "no");
}

}  // namespace
}  // namespace Brix
