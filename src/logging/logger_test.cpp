// logger_test.cpp - filtering, counting, registration and lifetime of the process-wide logger.
#include "logging/logger.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "logging/console_log_targets.h"
#include "logging/log_test_support.h"
#include "platform/system_clock.h"

namespace Brix {
namespace {

using LoggerFiltering = FreshLoggerTest;

// TimeOf orders a local time or a record's time, from the year down to the millisecond.
template <class Time>
auto TimeOf(const Time& time) {
    return std::tuple(time.year, time.month, time.day, time.hour, time.minute, time.second, time.millisecond);
}
using LoggerTargets = FreshLoggerTest;

TEST(LoggerDefaults, FreshLoggerHasBuiltInTargetsAndDefaultFilters) {
    LoggerReference reference;
    EXPECT_EQ(LoggerControl::MinimumLevel(), 1);
    EXPECT_EQ(LoggerControl::ExcludedGroups(), kLogGroupXtr);
    // Standard error and the debugger console are registered, standard output is not.
    EXPECT_EQ(LoggerControl::FindTarget("StdErrLogTarget"), LoggerControl::StdErrTarget());
    EXPECT_EQ(LoggerControl::FindTarget("DebuggerConsoleLogTarget"), LoggerControl::DebuggerConsoleTarget());
    EXPECT_EQ(LoggerControl::FindTarget("StdOutLogTarget"), nullptr);
    struct Expected {
        const LogTarget* target;
        uint64_t include;
        uint64_t exclude;
        std::string_view lineTemplate;
    };
    for (const Expected& e :
         {Expected{LoggerControl::StdErrTarget(), kLogGroupDbg, kLogGroupGen, "#E(#T): #L| #M"},
          Expected{LoggerControl::StdOutTarget(), kLogGroupGen, kLogGroupDbg, "#M"},
          Expected{LoggerControl::DebuggerConsoleTarget(), kLogGroupDbg, 0, "#E(#T): #L| #M"}}) {
        EXPECT_EQ(e.target->IncludeMask(), e.include) << e.target->ClassName();
        EXPECT_EQ(e.target->ExcludeMask(), e.exclude) << e.target->ClassName();
        EXPECT_EQ(e.target->LineTemplate(), e.lineTemplate) << e.target->ClassName();
    }
    EXPECT_FALSE(LoggerControl::StdOutTarget()->FlushEachLine());
}

TEST_F(LoggerFiltering, LoggerLevelGroupsAndMute) {
    RecordingLogTarget target;
    target.SetLevel(0);
    ASSERT_TRUE(target.Register());

    Log(LogLevel::Okay, kLogGroupDbg, "okay dropped by default");
    Log(LogLevel::Warn, kLogGroupXtr | kLogGroupDbg, "extra dropped by default");
    Log(LogLevel::Warn, kLogGroupDbg, "warn %d", 1);
    LoggerControl::SetMinimumLevel(0);
    Log(LogLevel::Okay, kLogGroupDbg, "okay after lowering");
    LoggerControl::SetExcludedGroups(kLogGroupNet);
    Log(LogLevel::Always, kLogGroupXtr, "extra after changing exclusions");
    Log(LogLevel::Always, kLogGroupNet, "net excluded");
    LoggerControl::Mute();
    Log(LogLevel::Always, 0, "muted");
    LoggerControl::Unmute();
    Log(-1, 0, "below every level");
    Log(LogLevel::Always, 0, "unmuted");

    EXPECT_EQ(target.Messages(), (std::vector<std::string>{"warn 1", "okay after lowering",
                                                           "extra after changing exclusions", "unmuted"}));
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

    EXPECT_EQ(dbgOnly.Messages(), (std::vector<std::string>{"no groups", "dbg net"}));
    EXPECT_EQ(notNet.Messages(), (std::vector<std::string>{"no groups", "gen"}));
    EXPECT_EQ(errors.Messages(), (std::vector<std::string>{"net error"}));

    dbgOnly.SetMasks(kLogGroupGen, kLogGroupDbg);
    Log(LogLevel::Warn, kLogGroupGen | kLogGroupDbg, "excluded wins over included");
    Log(LogLevel::Warn, kLogGroupGen, "now gen");
    EXPECT_EQ(dbgOnly.Messages(), (std::vector<std::string>{"no groups", "dbg net", "now gen"}));
}

TEST_F(LoggerFiltering, RecordCarriesLevelGroupsTimeAndCutMessage) {
    RecordingLogTarget target;
    ASSERT_TRUE(target.Register());
    const auto before = TimeOf(Platform::ReadLocalTime());
    std::string longText(5000, 'x');
    Log(3, kLogGroupDbg | kLogGroupTst, "%s", longText.c_str());
    Log(LogLevel::Warn, kLogGroupDbg, "No queue found with id %d", 7);

    const auto after = TimeOf(Platform::ReadLocalTime());

    ASSERT_EQ(target.records.size(), 2u);
    EXPECT_EQ(target.records[0].level, 3);
    EXPECT_EQ(target.records[0].groupMask, kLogGroupDbg | kLogGroupTst);
    EXPECT_EQ(target.records[0].message, std::string(kMaxLogMessageLength, 'x'));
    EXPECT_EQ(target.records[1].message, "No queue found with id 7");
    // The record's time is the local time of the call.
    EXPECT_LE(before, TimeOf(target.records[0].time));
    EXPECT_LE(TimeOf(target.records[1].time), after);
}

TEST_F(LoggerFiltering, CountsWarningsAndErrorsOfAcceptedRecordsOnly) {
    Log(LogLevel::Warn, kLogGroupDbg, "counted without any target");
    Log(LogLevel::Error, kLogGroupDbg, "error");
    Log(LogLevel::Error, kLogGroupDbg, "error");
    Log(LogLevel::Always, kLogGroupDbg, "not a warning");
    Log(LogLevel::Error, kLogGroupXtr, "dropped");
    LoggerControl::Mute();
    Log(LogLevel::Warn, 0, "dropped");
    LoggerControl::Unmute();

    EXPECT_EQ(LoggerControl::WarningCount(), 1u);
    EXPECT_EQ(LoggerControl::ErrorCount(), 2u);
}

TEST_F(LoggerTargets, RegistrationOrderAndFindByClassName) {
    std::vector<std::string> order;
    struct OrderTarget : RecordingLogTarget {
        OrderTarget(std::string name, std::vector<std::string>& seen)
            : RecordingLogTarget(std::move(name)), seenOrder(seen) {}
        void Write(const LogRecord& /*record*/) override { seenOrder.push_back(std::string(ClassName())); }
        std::vector<std::string>& seenOrder;
    };
    OrderTarget first("First", order);
    OrderTarget second("Second", order);
    OrderTarget alsoFirst("First", order);
    ASSERT_TRUE(LoggerControl::RegisterTarget(&second));
    ASSERT_TRUE(LoggerControl::RegisterTarget(&first));
    ASSERT_TRUE(alsoFirst.Register());
    EXPECT_FALSE(first.Register());
    EXPECT_FALSE(LoggerControl::RegisterTarget(nullptr));

    Log(LogLevel::Warn, 0, "one");
    EXPECT_EQ(order, (std::vector<std::string>{"Second", "First", "First"}));
    EXPECT_EQ(LoggerControl::FindTarget("First"), &first);
    EXPECT_EQ(LoggerControl::FindTarget("Missing"), nullptr);

    EXPECT_TRUE(LoggerControl::UnregisterTarget(&first));
    EXPECT_FALSE(first.IsRegistered());
    EXPECT_FALSE(first.Unregister());
    EXPECT_EQ(LoggerControl::FindTarget("First"), &alsoFirst);
    order.clear();
    Log(LogLevel::Warn, 0, "two");
    EXPECT_EQ(order, (std::vector<std::string>{"Second", "First"}));
}

TEST_F(LoggerTargets, DestroyedTargetLeavesTheLogger) {
    {
        RecordingLogTarget shortLived("ShortLived");
        ASSERT_TRUE(shortLived.Register());
    }
    EXPECT_EQ(LoggerControl::FindTarget("ShortLived"), nullptr);
    Log(LogLevel::Warn, 0, "reaches no destroyed target");
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
    EXPECT_EQ(echo.Messages(), (std::vector<std::string>{"first"}));
    EXPECT_EQ(after.Messages(), (std::vector<std::string>{"first"}));
    EXPECT_EQ(LoggerControl::ErrorCount(), 0u);
}

TEST(LoggerLifetime, LastReleaseUnregistersNewestFirstAndResets) {
    std::vector<std::string> journal;
    RecordingLogTarget first("First", 0, 0, &journal);
    RecordingLogTarget second("Second", 0, 0, &journal);
    {
        LoggerReference outer;
        LoggerReference inner;
        ASSERT_TRUE(first.Register());
        ASSERT_TRUE(second.Register());
        LoggerControl::SetMinimumLevel(3);
        LoggerControl::SetExcludedGroups(0);
        LoggerControl::Mute();
        LoggerControl::Release();  // balanced by the extra Acquire below
        LoggerControl::Acquire();
        Log(LogLevel::Warn, 0, "muted, not counted");
    }
    EXPECT_EQ(journal, (std::vector<std::string>{"Second", "First"}));
    EXPECT_FALSE(first.IsRegistered());
    EXPECT_FALSE(second.IsRegistered());

    LoggerReference again;
    EXPECT_EQ(LoggerControl::MinimumLevel(), 1);
    EXPECT_EQ(LoggerControl::ExcludedGroups(), kLogGroupXtr);
    EXPECT_EQ(LoggerControl::FindTarget("First"), nullptr);
    EXPECT_EQ(LoggerControl::FindTarget("StdErrLogTarget"), LoggerControl::StdErrTarget());
    LoggerControl::StdErrTarget()->Unregister();
    RecordingLogTarget target;
    ASSERT_TRUE(target.Register());
    Log(LogLevel::Warn, 0, "not muted");
    EXPECT_EQ(target.Messages(), std::vector<std::string>{"not muted"});
}

TEST(LoggerLifetime, LoggerMadeWithoutReferenceIsFreedByTheNextLastRelease) {
    LoggerControl::Release();  // unmatched: ignored
    LoggerControl::SetMinimumLevel(2);
    EXPECT_EQ(LoggerControl::MinimumLevel(), 2);
    {
        LoggerReference reference;
        EXPECT_EQ(LoggerControl::MinimumLevel(), 2);
    }
    EXPECT_EQ(LoggerControl::MinimumLevel(), 1);
    EXPECT_EQ(LoggerControl::FindTarget("StdErrLogTarget"), nullptr);
}

}  // namespace
}  // namespace Brix
