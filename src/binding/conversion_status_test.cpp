// conversion_status_test.cpp - the ok flag, the failure message and first-failure-wins.
#include "binding/conversion_status.h"

#include <gtest/gtest.h>

namespace {

using Brix::BindingKind;
using Brix::ConversionStatus;

TEST(ConversionStatus, FirstFailureReplacesTheValueByASingleErrorMember) {
    ConversionStatus status;
    EXPECT_TRUE(status.Ok());
    EXPECT_EQ(status.Message(), "");
    status.Value().MemberForWriting("partial").SetSigned(1);
    status.Value().MemberForWriting("zzz").SetSigned(2);
    status.Fail("A value for 'id' is required.");
    EXPECT_FALSE(status.Ok());
    EXPECT_EQ(status.Value().MemberCount(), 1u);
    EXPECT_EQ(status.Value().Member("error").Kind(), BindingKind::String);
    EXPECT_EQ(status.Message(), "A value for 'id' is required.");

    status.Fail("second");  // the first failure wins
    EXPECT_EQ(status.Value().MemberCount(), 1u);
    EXPECT_EQ(status.Message(), "A value for 'id' is required.");
}

// A caller may fail with a text that lives in the value being replaced.
TEST(ConversionStatus, FailsWithATextOfItsOwnValue) {
    ConversionStatus status;
    status.Value().ElementForWriting(0).SetString("nested message");
    status.Fail(status.Value().Element(0).AsString());
    EXPECT_EQ(status.Message(), "nested message");
    ConversionStatus outer;
    outer.Fail(status.Message());  // forwarding a nested failure unchanged
    EXPECT_EQ(outer.Message(), "nested message");
}

}  // namespace
