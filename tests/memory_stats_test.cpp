// memory_stats_test.cpp - the plugin's allocation statistics as the host reads them.
#include <gtest/gtest.h>

#include "plugin_test_support.h"

namespace {

using HuxHost::MemoryStats;

constexpr size_t kPeakBytes = 0;
constexpr size_t kBlocksAtPeak = 1;
constexpr size_t kAllocations = 3;
constexpr size_t kReleases = 5;

uint64_t BlocksInUse(const MemoryStats& stats) {
    return stats.counters[kAllocations] - stats.counters[kReleases];
}

TEST(MemoryStats, CountTheLibrarysOwnAllocationsFromTheFirstOne) {
    auto host = HuxTest::OpenHost();
    ASSERT_NE(host, nullptr);
    host->Load();
    ASSERT_TRUE(host->Loaded());
    const MemoryStats stats = host->GetMemoryStats();

    // Constructing the plugin object and its registry allocates, so the counters cannot be zero.
    EXPECT_GT(stats.counters[kAllocations], 0u);
    EXPECT_GT(stats.BytesInUse(), 0u);
    EXPECT_GE(stats.counters[kAllocations], stats.counters[kReleases]);
    EXPECT_GE(stats.counters[kPeakBytes], stats.BytesInUse());
    EXPECT_GT(stats.counters[kBlocksAtPeak], 0u);
    EXPECT_EQ(stats.trailing[0], 0u);
    EXPECT_EQ(stats.trailing[1], 0u);
}

TEST(MemoryStats, AStartedAndStoppedPluginGivesBackEverythingItTook) {
    // Both hosts open the same library file, so both plugins share one set of counters, and the first
    // plugin watches what the second one does.
    auto watcher = HuxTest::OpenHost();
    ASSERT_NE(watcher, nullptr);
    watcher->Load();
    ASSERT_TRUE(watcher->Loaded());

    // What may stay allocated for the life of the process is made before the baseline, by the loaded
    // watcher and by one full cycle of another plugin: the library's static tables and what is created
    // on first use and never freed, such as the process-wide small-block allocator and its region list
    // (the 64 KiB regions themselves are mapped from the system, never counted, and keep the pages
    // given back to them). The logger lives while any module holds it; the watcher holds it from
    // construction, and the host log target each started plugin installs is freed with that plugin.
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

    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
    EXPECT_EQ(BlocksInUse(after), BlocksInUse(before));
}

}  // namespace
