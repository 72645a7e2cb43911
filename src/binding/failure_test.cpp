// failure_test.cpp - failure texts, status codes, details and MaybeType access.
#include "binding/failure.h"

#include <gtest/gtest.h>

#include <string>

#include "binding/maybe_type.h"

namespace Brix {
namespace {

TEST(Failure, StatusCodeIsKeptAsDetail) {
    Failure plain("no code");
    EXPECT_EQ(plain.StatusCode(), 0);
    EXPECT_TRUE(plain.Details().empty());

    Failure coded("gone", 410);
    EXPECT_EQ(coded.Message(), "gone");
    ASSERT_NE(coded.FindDetail("errorCode_int"), nullptr);
    EXPECT_EQ(coded.FindDetail("errorCode_int")->value, FailureDetail::Value(int64_t{410}));
}

TEST(Failure, FormatSubstitutesNamedPlaceholdersAndKeepsTypedDetails) {
    Failure failure = Failure::Format("Error response for {method} {url}: {error} {missing} {",
                                      {{"method", std::string("GET")},
                                       {"url", std::string("/a")},
                                       {"error", std::string("x")},
                                       {"count", int64_t{3}},
                                       {"ratio_float", 0.5},
                                       {"flag", true}},
                                      404);
    EXPECT_EQ(failure.Message(), "Error response for GET /a: x {missing} {");
    EXPECT_EQ(failure.StatusCode(), 404);
    EXPECT_NE(failure.FindDetail("errorCode_int"), nullptr);
    EXPECT_NE(failure.FindDetail("method_str"), nullptr);
    EXPECT_NE(failure.FindDetail("count_int"), nullptr);
    EXPECT_NE(failure.FindDetail("ratio_float"), nullptr);
    EXPECT_NE(failure.FindDetail("flag_bool"), nullptr);
    EXPECT_EQ(failure.FindDetail("ratio_float_float"), nullptr);

    EXPECT_EQ(Failure::Format("{n} of {n}", {{"n", int64_t{-2}}}).Message(), "-2 of -2");
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
    MaybeType<std::string> value = std::string("ok");
    ASSERT_TRUE(value);
    EXPECT_EQ(value.Value(), "ok");

    MaybeType<std::string> failed = NotFound();
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.Error().StatusCode(), 404);

    MaybeType<void> done;
    EXPECT_TRUE(done.HasValue());
    MaybeType<void> refused = Failure("no", 400);
    EXPECT_EQ(refused.Error().Message(), "no");
}

}  // namespace
}  // namespace Brix
