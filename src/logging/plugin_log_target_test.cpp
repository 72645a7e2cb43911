// plugin_log_target_test.cpp - forwarding records to the host and routing the log to the host.
#include "logging/plugin_log_target.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "logging/log_test_support.h"

namespace Brix {
namespace {

// FakeHost: a host function table whose log function keeps what it is given.
struct FakeHost {
    HostApi api{};
    std::vector<std::pair<int32_t, std::string>> lines;

    FakeHost() { api.log = &FakeHost::Log; }

    static void Log(const HostApi* hostApi, int32_t level, const char* message) {
        // api is the first member of this standard-layout struct.
        auto* host = reinterpret_cast<FakeHost*>(const_cast<HostApi*>(hostApi));
        host->lines.emplace_back(level, message);
    }
};

using PluginLogTargetTest = FreshLoggerTest;

TEST_F(PluginLogTargetTest, HostWithoutLogFunctionIsSkipped) {
    HostApi emptyApi{};
    PluginLogTarget withoutFunction(&emptyApi);
    PluginLogTarget withoutHost(nullptr);
    RecordingLogTarget after("After");
    ASSERT_TRUE(withoutFunction.Register());
    ASSERT_TRUE(withoutHost.Register());
    ASSERT_TRUE(after.Register());
    Log(LogLevel::Error, 0, "goes past them");
    EXPECT_EQ(after.Messages(), std::vector<std::string>{"goes past them"});
}

TEST(InstallPluginLogTarget, ReplacesBuiltInTargetsOnce) {
    LoggerReference reference;
    FakeHost host;
    std::unique_ptr<PluginLogTarget> slot;
    Log(LogLevel::Okay, kPluginLogGroup, "before: dropped by the default level");

    ASSERT_TRUE(InstallPluginLogTarget(&host.api, slot));
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(LoggerControl::FindTarget("PluginLogTarget"), slot.get());
    EXPECT_FALSE(LoggerControl::StdErrTarget()->IsRegistered());
    EXPECT_FALSE(LoggerControl::DebuggerConsoleTarget()->IsRegistered());

    // Each record goes to the host with its level and message, without a line template.
    Log(LogLevel::Okay, kPluginLogGroup, "after: passes");
    Log(LogLevel::Always, kLogGroupXtr, "extra: still dropped");
    Log(LogLevel::Error, kPluginLogGroup, "Failed to get queues: %s", "timeout");
    EXPECT_EQ(host.lines, (std::vector<std::pair<int32_t, std::string>>{
                              {0, "after: passes"}, {2, "Failed to get queues: timeout"}}));

    // A second start finds the registered target and leaves it in place.
    PluginLogTarget* installed = slot.get();
    FakeHost otherHost;
    EXPECT_FALSE(InstallPluginLogTarget(&otherHost.api, slot));
    EXPECT_EQ(slot.get(), installed);

    // Once it is gone, a new one replaces the target the slot held.
    slot->Unregister();
    ASSERT_TRUE(InstallPluginLogTarget(&otherHost.api, slot));
    Log(LogLevel::Warn, kPluginLogGroup, "to the other host");
    EXPECT_EQ(otherHost.lines, (std::vector<std::pair<int32_t, std::string>>{{1, "to the other host"}}));

    slot.reset();
    EXPECT_EQ(LoggerControl::FindTarget("PluginLogTarget"), nullptr);
}

}  // namespace
}  // namespace Brix
