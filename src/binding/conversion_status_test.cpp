// conversion_status_test.cpp - the ok flag, the failure message and first-failure-wins.
#include "binding/conversion_status.h"

#include <gtest/gtest.h>

namespace {

using Brix::ConversionStatus;

TEST(ConversionStatus, FirstFailureReplacesTheValueByASingleErrorMember) {
    ConversionStatus status;
    status.Value().MemberForWriting("partial").SetSigned(1);
    status.Value().MemberForWriting("zzz").SetSigned(2);
    status.Fail("A value for 'id' is required.");
    status.Fail("second");  // the first failure wins
    EXPECT_FALSE(status.Ok());
    EXPECT_EQ(status.Value().MemberCount(), 1u);
    EXPECT_EQ(status.Value().Member("error").AsString(), "A value for 'id' is required.");

    // A caller may fail with a text that lives in the value being replaced.
    ConversionStatus nested;
    nested.Value().ElementForWriting(0).SetString("nested message");
    nested.Fail(nested.Value().Element(0).AsString());
    EXPECT_EQ(nested.Message(), "nested message");
}

}  // namespace
