// failure_test.cpp - failure texts, status codes and details.
#include "binding/failure.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Brix {
namespace {

using Details = std::vector<FailureDetail>;

// The host requests' tests drive the usual form; these are the placeholders and detail names at the edges.
TEST(Failure, FormatSubstitutesNamedPlaceholdersAndKeepsTypedDetails) {
    const Failure failure =
        Failure::Format("{n} of {n}, {f} {b} {missing} {",
                        {{"n", int64_t{-2}}, {"f", 0.25}, {"b", false}, {"x_float", 0.5}}, 404);
    EXPECT_EQ(failure.Message(), "-2 of -2, 0.25 false {missing} {");
    EXPECT_EQ(failure.Details(), (Details{{"errorCode_int", int64_t{404}},
                                          {"n_int", int64_t{-2}},
                                          {"f_float", 0.25},
                                          {"b_bool", false},
                                          {"x_float", 0.5}}));
    EXPECT_EQ(DetailName("peer_ip", std::string("::1")), "peer_ip");
    EXPECT_EQ(Failure("no code").Details(), Details{});
}

}  // namespace
}  // namespace Brix
