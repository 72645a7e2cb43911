// logger_test.cpp - filtering, counting, registration and lifetime of the process-wide logger.
#include "logging/logger.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "logging/console_log_targets.h"
#include "logging/log_test_support.h"
#include "platform/system_clock.h"

namespace Brix {
namespace {

using Strings = std::vector<std::string>;
using LoggerFiltering = FreshLoggerTest;
using LoggerTargets = FreshLoggerTest;

// Only the records the logger accepts reach a target and count as warnings and errors.
TEST_F(LoggerFiltering, LoggerLevelGroupsAndMute) {
    RecordingLogTarget target;
    target.SetLevel(0);
    ASSERT_TRUE(target.Register());

    Log(LogLevel::Okay, kLogGroupDbg, "okay dropped by default");
    Log(LogLevel::Error, kLogGroupXtr | kLogGroupDbg, "extra dropped by default");
    Log(LogLevel::Warn, kLogGroupDbg, "warn %d", 1);
    LoggerControl::SetMinimumLevel(0);
    Log(LogLevel::Okay, kLogGroupDbg, "okay after lowering");
    LoggerControl::SetExcludedGroups(kLogGroupNet);
    Log(LogLevel::Error, kLogGroupXtr, "extra after changing exclusions");
    Log(LogLevel::Always, kLogGroupNet, "net excluded");
    LoggerControl::Mute();
    Log(LogLevel::Error, 0, "muted");
    LoggerControl::Unmute();
    Log(-1, 0, "below every level");
    Log(LogLevel::Always, 0, "unmuted");

    EXPECT_EQ(target.Messages(),
              (Strings{"warn 1", "okay after lowering", "extra after changing exclusions", "unmuted"}));
    EXPECT_EQ(LoggerControl::WarningCount(), 1u);
    EXPECT_EQ(LoggerControl::ErrorCount(), 1u);
}

TEST_F(LoggerFiltering, TargetLevelAndMasks) {
    RecordingLogTarget dbgOnly("DbgOnly", kLogGroupDbg, 0);
    RecordingLogTarget notNet("NotNet", 0, kLogGroupNet);
    RecordingLogTarget errors("Errors");
    errors.SetLevel(2);
    for (LogTarget* target : std::vector<LogTarget*>{&dbgOnly, &notNet, &errors}) {
        ASSERT_TRUE(target->Register());
    }
    Log(LogLevel::Warn, 0, "no groups");
    Log(LogLevel::Warn, kLogGroupGen, "gen");
    Log(LogLevel::Warn, kLogGroupDbg | kLogGroupNet, "dbg net");
    Log(LogLevel::Error, kLogGroupNet, "net error");
    dbgOnly.SetMasks(kLogGroupGen, kLogGroupDbg);
    Log(LogLevel::Warn, kLogGroupGen | kLogGroupDbg, "excluded wins over included");
    Log(LogLevel::Warn, kLogGroupGen, "now gen");

    EXPECT_EQ(dbgOnly.Messages(), (Strings{"no groups", "dbg net", "now gen"}));
    EXPECT_EQ(notNet.Messages(), (Strings{"no groups", "gen", "excluded wins over included", "now gen"}));
    EXPECT_EQ(errors.Messages(), (Strings{"net error"}));
}

TEST_F(LoggerFiltering, RecordCarriesLevelGroupsTimeAndCutMessage) {
    RecordingLogTarget target;
    ASSERT_TRUE(target.Register());
    const auto timeOf = [](const auto& t) {
        return std::tuple(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
    };
    const auto before = timeOf(Platform::ReadLocalTime());
    Log(3, kLogGroupDbg | kLogGroupTst, "%s", std::string(5000, 'x').c_str());
    const auto after = timeOf(Platform::ReadLocalTime());

    ASSERT_EQ(target.records.size(), 1u);
    EXPECT_EQ(target.records[0].level, 3);
    EXPECT_EQ(target.records[0].groupMask, kLogGroupDbg | kLogGroupTst);
    EXPECT_EQ(target.records[0].message, std::string(kMaxLogMessageLength, 'x'));
    // The record's time is the local time of the call.
    EXPECT_LE(before, timeOf(target.records[0].time));
    EXPECT_LE(timeOf(target.records[0].time), after);
}

TEST_F(LoggerTargets, RegistrationOrderAndFindByClassName) {
    Strings order;
    struct OrderTarget : RecordingLogTarget {
        OrderTarget(std::string name, Strings& seen) : RecordingLogTarget(std::move(name)), seenOrder(seen) {}
        void Write(const LogRecord& /*record*/) override { seenOrder.push_back(std::string(ClassName())); }
        Strings& seenOrder;
    };
    OrderTarget first("First", order);
    OrderTarget second("Second", order);
    OrderTarget alsoFirst("First", order);
    ASSERT_TRUE(LoggerControl::RegisterTarget(&second));
    ASSERT_TRUE(LoggerControl::RegisterTarget(&first));
    ASSERT_TRUE(alsoFirst.Register());
    EXPECT_FALSE(first.Register());
    EXPECT_FALSE(LoggerControl::RegisterTarget(nullptr));
    {
        RecordingLogTarget shortLived("ShortLived");
        ASSERT_TRUE(shortLived.Register());
    }
    EXPECT_EQ(LoggerControl::FindTarget("ShortLived"), nullptr);  // a destroyed target leaves the logger

    Log(LogLevel::Warn, 0, "one");
    EXPECT_EQ(order, (Strings{"Second", "First", "First"}));
    EXPECT_EQ(LoggerControl::FindTarget("First"), &first);

    EXPECT_TRUE(LoggerControl::UnregisterTarget(&first));
    EXPECT_FALSE(first.IsRegistered());
    EXPECT_FALSE(first.Unregister());
    EXPECT_EQ(LoggerControl::FindTarget("First"), &alsoFirst);
    order.clear();
    Log(LogLevel::Warn, 0, "two");
    EXPECT_EQ(order, (Strings{"Second", "First"}));
}

TEST_F(LoggerTargets, TargetThatLogsWhileWritingDoesNotRecurse) {
    struct EchoTarget : RecordingLogTarget {
        void Write(const LogRecord& record) override {
            RecordingLogTarget::Write(record);
            Log(LogLevel::Error, 0, "echo of %s", record.message.c_str());
        }
    };
    EchoTarget echo;
    RecordingLogTarget after("After");
    ASSERT_TRUE(echo.Register());
    ASSERT_TRUE(after.Register());

    Log(LogLevel::Warn, 0, "first");
    EXPECT_EQ(echo.Messages(), (Strings{"first"}));
    EXPECT_EQ(after.Messages(), (Strings{"first"}));
    EXPECT_EQ(LoggerControl::ErrorCount(), 0u);
}

// The last release unregisters every target and resets the filters; a logger made without a reference
// is freed by the next last release, and an unmatched release is ignored.
TEST(LoggerLifetime, LastReleaseUnregistersTargetsAndResets) {
    RecordingLogTarget first("First");
    {
        LoggerReference outer;
        LoggerReference inner;
        ASSERT_TRUE(first.Register());
        LoggerControl::SetMinimumLevel(3);
        LoggerControl::Mute();
        LoggerControl::Release();  // balanced by the extra Acquire below
        LoggerControl::Acquire();
    }
    EXPECT_FALSE(first.IsRegistered());
    {
        LoggerReference again;
        EXPECT_EQ(LoggerControl::MinimumLevel(), 1);
        EXPECT_EQ(LoggerControl::FindTarget("StdErrLogTarget"), LoggerControl::StdErrTarget());
        LoggerControl::StdErrTarget()->Unregister();
        RecordingLogTarget target;
        ASSERT_TRUE(target.Register());
        Log(LogLevel::Warn, 0, "not muted");
        EXPECT_EQ(target.Messages(), Strings{"not muted"});
    }
    LoggerControl::Release();  // unmatched: ignored
    LoggerControl::SetMinimumLevel(2);
    {
        LoggerReference reference;
        EXPECT_EQ(LoggerControl::MinimumLevel(), 2);
    }
    EXPECT_EQ(LoggerControl::MinimumLevel(), 1);
    EXPECT_EQ(LoggerControl::FindTarget("StdErrLogTarget"), nullptr);
}

}  // namespace
}  // namespace Brix
