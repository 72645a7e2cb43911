// allocation_stats_test.cpp - the counting wrappers, the peak rule and the host's statistics words.
//
// The unit tests link the standard operator new, so only the explicit wrapper calls below move the
// counters and every delta can be checked exactly.
#include "host_values/allocation_stats.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Brix::MemoryCounter;
using Brix::MemoryStats;

uint64_t Delta(const MemoryStats& before, const MemoryStats& after, MemoryCounter which) {
    return after.Counter(which) - before.Counter(which);
}

TEST(AllocationStats, AllocationAndReleaseCountTheSameUsableSize) {
    const MemoryStats before = Brix::ReadMemoryStats();
    void* block = Brix::CountedAllocate(100);
    ASSERT_NE(block, nullptr);
    const std::size_t usable = Brix::CountedUsableSize(block);
    EXPECT_GE(usable, 100u);
    const MemoryStats allocated = Brix::ReadMemoryStats();
    Brix::CountedRelease(block);
    const MemoryStats after = Brix::ReadMemoryStats();

    EXPECT_EQ(Delta(before, allocated, MemoryCounter::BytesAllocated), usable);
    EXPECT_EQ(Delta(before, allocated, MemoryCounter::Allocations), 1u);
    EXPECT_EQ(Delta(before, allocated, MemoryCounter::BytesReleased), 0u);
    EXPECT_EQ(Delta(before, after, MemoryCounter::BytesAllocated), usable);
    EXPECT_EQ(Delta(before, after, MemoryCounter::BytesReleased), usable);
    EXPECT_EQ(Delta(before, after, MemoryCounter::Allocations), 1u);
    EXPECT_EQ(Delta(before, after, MemoryCounter::Releases), 1u);
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());

    // Releasing null is not a release.
    Brix::CountedRelease(nullptr);
    EXPECT_EQ(Brix::ReadMemoryStats().counters, after.counters);
}

TEST(AllocationStats, ResizeCountsAReleaseAndAnAllocation) {
    char* block = static_cast<char*>(Brix::CountedAllocate(16));
    ASSERT_NE(block, nullptr);
    std::memcpy(block, "fifteen letters", 16);
    const std::size_t oldUsable = Brix::CountedUsableSize(block);
    const MemoryStats before = Brix::ReadMemoryStats();

    block = static_cast<char*>(Brix::CountedResize(block, 4096));
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(block, "fifteen letters");
    const std::size_t newUsable = Brix::CountedUsableSize(block);
    const MemoryStats after = Brix::ReadMemoryStats();
    EXPECT_EQ(Delta(before, after, MemoryCounter::BytesReleased), oldUsable);
    EXPECT_EQ(Delta(before, after, MemoryCounter::Releases), 1u);
    EXPECT_EQ(Delta(before, after, MemoryCounter::BytesAllocated), newUsable);
    EXPECT_EQ(Delta(before, after, MemoryCounter::Allocations), 1u);

    // A size of zero still answers a block, so that null keeps meaning failure.
    block = static_cast<char*>(Brix::CountedResize(block, 0));
    ASSERT_NE(block, nullptr);
    Brix::CountedRelease(block);
}

TEST(AllocationStats, DuplicatesAndAlignedBlocksAreCountedLikeTheRest) {
    const MemoryStats before = Brix::ReadMemoryStats();
    // With a length, NULs inside are copied and a NUL is added after the last byte.
    char* copy = Brix::CountedDuplicate("a\0bc", 3);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(copy, "a\0b\0", 4), 0);
    const MemoryStats afterCopy = Brix::ReadMemoryStats();
    EXPECT_EQ(Delta(before, afterCopy, MemoryCounter::BytesAllocated), Brix::CountedUsableSize(copy));
    // Any size is accepted, not only multiples of the alignment.
    void* aligned = Brix::CountedAllocateAligned(100, 256);
    ASSERT_NE(aligned, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 256, 0u);
    EXPECT_GE(Delta(afterCopy, Brix::ReadMemoryStats(), MemoryCounter::BytesAllocated), 100u);
    Brix::CountedRelease(copy);
    Brix::CountedReleaseAligned(aligned, 256);
    EXPECT_EQ(Brix::ReadMemoryStats().BytesInUse(), before.BytesInUse());

    // Nothing to copy and impossible alignments give null and count nothing.
    const MemoryStats beforeNull = Brix::ReadMemoryStats();
    EXPECT_EQ(Brix::CountedDuplicate(nullptr), nullptr);
    EXPECT_EQ(Brix::CountedDuplicate(nullptr, 4), nullptr);
    EXPECT_EQ(Brix::CountedAllocateAligned(16, 24), nullptr);
    EXPECT_EQ(Brix::ReadMemoryStats().counters, beforeNull.counters);
}

TEST(AllocationStats, PeakRisesOnlyWhenBytesInUseExceedIt) {
    const MemoryStats before = Brix::ReadMemoryStats();
    // A block larger than the peak so far, so that it must raise it.
    const std::size_t size = before.Counter(MemoryCounter::PeakBytes) + (1u << 20);
    void* big = Brix::CountedAllocate(size);
    ASSERT_NE(big, nullptr);
    const MemoryStats raised = Brix::ReadMemoryStats();
    EXPECT_EQ(raised.Counter(MemoryCounter::PeakBytes), raised.BytesInUse());
    EXPECT_EQ(raised.Counter(MemoryCounter::BlocksAtPeak), raised.BlocksInUse());
    EXPECT_GT(raised.Counter(MemoryCounter::PeakBytes), before.Counter(MemoryCounter::PeakBytes));

    // Below the peak, neither peak counter moves.
    Brix::CountedRelease(big);
    void* small = Brix::CountedAllocate(64);
    ASSERT_NE(small, nullptr);
    const MemoryStats lower = Brix::ReadMemoryStats();
    EXPECT_EQ(lower.Counter(MemoryCounter::PeakBytes), raised.Counter(MemoryCounter::PeakBytes));
    EXPECT_EQ(lower.Counter(MemoryCounter::BlocksAtPeak), raised.Counter(MemoryCounter::BlocksAtPeak));
    Brix::CountedRelease(small);
}

TEST(AllocationStats, ConcurrentUpdatesAreNeverLost) {
    constexpr int kThreads = 4;
    constexpr int kRounds = 20000;
    const MemoryStats before = Brix::ReadMemoryStats();
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < kRounds; ++i) {
                Brix::CountedRelease(Brix::CountedAllocate(24));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    const MemoryStats after = Brix::ReadMemoryStats();
    EXPECT_EQ(Delta(before, after, MemoryCounter::Allocations), uint64_t{kThreads} * kRounds);
    EXPECT_EQ(Delta(before, after, MemoryCounter::Releases), uint64_t{kThreads} * kRounds);
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
}

TEST(AllocationStats, WordsCarryEachCounterLowWordFirstThenTwoZeros) {
    MemoryStats stats;
    for (std::size_t i = 0; i < stats.counters.size(); ++i) {
        stats.counters[i] = (uint64_t{0x10u + i} << 32) | (0xA0000000u + i);
    }
    std::array<uint32_t, Brix::kMemoryStatsWordCount + 1> words;
    words.fill(0xFFFFFFFFu);
    Brix::EncodeMemoryStatsWords(stats, words.data());
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(words[2 * size_t{i}], 0xA0000000u + i) << "low word of counter " << i;
        EXPECT_EQ(words[2 * size_t{i} + 1], 0x10u + i) << "high word of counter " << i;
    }
    EXPECT_EQ(words[12], 0u);
    EXPECT_EQ(words[13], 0u);
    EXPECT_EQ(words[14], 0xFFFFFFFFu) << "wrote past the fourteen words";

    // The live form writes the current counters and ignores a null block.
    std::array<uint32_t, Brix::kMemoryStatsWordCount> live{};
    const MemoryStats now = Brix::ReadMemoryStats();
    Brix::WriteMemoryStatsWords(live.data());
    EXPECT_EQ(uint64_t{live[6]} | (uint64_t{live[7]} << 32), now.Counter(MemoryCounter::Allocations));
    Brix::WriteMemoryStatsWords(nullptr);
}

}  // namespace
