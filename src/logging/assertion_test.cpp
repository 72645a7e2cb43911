// assertion_test.cpp - the shape of assertion reports, their log record, and fatal stops.
#include "logging/assertion.h"

#include <gtest/gtest.h>

#include "logging/log_test_support.h"

namespace Brix {
namespace {

TEST(AssertionReport, PartsAppearOnlyWhenGiven) {
    EXPECT_EQ(BuildAssertionReport("", "", "", 0, ""), "Assertion failed!\n\n");
    EXPECT_EQ(BuildAssertionReport("", "why", "", -3, "Run"),
              "Assertion failed!\n\nLine: -3\n\nFunction: Run\n\n\n\nDescription: why");
    EXPECT_EQ(BuildAssertionReport("ok()", "must hold", "a.cpp", 7, "Check"),
              "Assertion failed!\n\nFile: a.cpp\nLine: 7\n\nFunction: Check\n\nExpression: ok()\n\n"
              "Description: must hold");
}

using AssertionLog = FreshLoggerTest;

TEST_F(AssertionLog, ReportIsLoggedAsErrorOfThePluginGroup) {
    RecordingLogTarget target;
    ASSERT_TRUE(target.Register());
    ReportAssertion("a %s b", "", "", 0, "");
    ASSERT_EQ(target.records.size(), 1u);
    EXPECT_EQ(target.records[0].level, 2);
    EXPECT_EQ(target.records[0].groupMask, kPluginLogGroup);
    EXPECT_EQ(target.records[0].message, "Assertion failed!\n\nExpression: a %s b");
    EXPECT_EQ(LoggerControl::ErrorCount(), 1u);
}

TEST(FatalStopDeathTest, AbortsAfterWritingTheCodeToStandardError) {
    EXPECT_DEATH(FatalStop(kFatalIncompatibleHost),
                 " ERROR\\| Assertion failed!\n\nExpression: DOV-EECF0606\n");
    EXPECT_DEATH(FatalStop(kFatalBrokenFuture), "Expression: DOV-6D828C10");
}

}  // namespace
}  // namespace Brix
