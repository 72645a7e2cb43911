// plugin_lifecycle_test.cpp - Start without a host table, and logging to the host after Start.
#include <gtest/gtest.h>

#include <vector>

#include "plugin_test_support.h"

namespace {

using HuxHost::HostCall;
using HuxHost::HostSlot;

TEST(PluginLifecycle, RefusesToStartWithoutAHostTable) {
    auto host = HuxTest::OpenHost();
    ASSERT_NE(host, nullptr);
    host->Load();
    EXPECT_FALSE(host->StartWithContext(nullptr));
    const HostContext withoutApi{nullptr, 7};
    EXPECT_FALSE(host->StartWithContext(&withoutApi));
    // A plugin that never started is released without a single call into the host.
    host->Stop();
    EXPECT_FALSE(host->Loaded());
    EXPECT_TRUE(host->Calls().empty());
}

TEST(PluginLifecycle, LogRecordsReachTheHostsLogFunctionAfterStart) {
    auto host = HuxTest::OpenHost(HuxTest::kProbePluginPath, HuxTest::kProbePluginEntry);
    ASSERT_NE(host, nullptr);
    host->Load();
    ASSERT_TRUE(host->Start(18517));

    const std::vector<HostCall> lines = host->CallsTo(HostSlot::Log);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].level, 1);
    EXPECT_EQ(lines[0].text, "probe started with handle 18517");
    // The runtime lowers the minimum level to 0 when it hands logging to the host.
    EXPECT_EQ(lines[1].level, 0);
    EXPECT_EQ(lines[1].text, "level 0 passes once the host logs");
    host->Stop();
    EXPECT_EQ(host->CallsTo(HostSlot::Log).size(), 2u);
}

}  // namespace
