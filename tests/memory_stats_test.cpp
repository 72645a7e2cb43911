// memory_stats_test.cpp - the plugin's allocation statistics as the host reads them.
#include <gtest/gtest.h>

#include <array>

#include "plugin_test_support.h"

namespace {

using HuxHost::MemoryStats;

constexpr size_t kPeakBytes = 0;
constexpr size_t kAllocations = 3;
constexpr size_t kReleases = 5;

uint64_t BlocksInUse(const MemoryStats& stats) {
    return stats.counters[kAllocations] - stats.counters[kReleases];
}

TEST(MemoryStats, AStartedAndStoppedPluginGivesBackEverythingItTook) {
    // Both hosts open the same library file, so both plugins share one set of counters, and the first
    // plugin watches what the second one does.
    auto watcher = HuxTest::OpenHost();
    ASSERT_NE(watcher, nullptr);
    watcher->Load();

    // What stays allocated for the life of the process (static tables, what is made on first use such
    // as the small-block allocator's region list) is made before the baseline by one full cycle of
    // another plugin.
    {
        auto warmUp = HuxTest::OpenHost();
        ASSERT_NE(warmUp, nullptr);
        warmUp->Load();
        ASSERT_TRUE(warmUp->Start());
        warmUp->Stop();
    }
    const MemoryStats before = watcher->GetMemoryStats();

    MemoryStats during;
    {
        auto host = HuxTest::OpenHost();
        ASSERT_NE(host, nullptr);
        host->Load();
        ASSERT_TRUE(host->Start());
        during = watcher->GetMemoryStats();
        host->Stop();
    }
    const MemoryStats after = watcher->GetMemoryStats();

    EXPECT_GT(during.counters[kAllocations], before.counters[kAllocations]);
    EXPECT_GT(during.BytesInUse(), before.BytesInUse());
    EXPECT_GE(after.counters[kPeakBytes], during.BytesInUse());
    EXPECT_EQ(during.trailing, (std::array<uint32_t, 2>{0, 0}));

    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
    EXPECT_EQ(BlocksInUse(after), BlocksInUse(before));
}

}  // namespace
