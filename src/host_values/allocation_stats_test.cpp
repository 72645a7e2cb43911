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

// Moved is how far the totals moved from before to after: bytes allocated, allocations, bytes
// released and releases.
std::array<uint64_t, 4> Moved(const MemoryStats& before, const MemoryStats& after) {
    std::array<uint64_t, 4> moved{};
    for (std::size_t i = 0; i < moved.size(); ++i) {
        moved[i] = after.counters[i + 2] - before.counters[i + 2];
    }
    return moved;
}

TEST(AllocationStats, EachWrapperCountsTheUsableSizeOfItsBlocks) {
    const MemoryStats before = Brix::ReadMemoryStats();
    char* block = static_cast<char*>(Brix::CountedAllocate(16));
    ASSERT_NE(block, nullptr);
    const uint64_t small = Brix::CountedUsableSize(block);
    EXPECT_GE(small, 16u);
    EXPECT_EQ(Moved(before, Brix::ReadMemoryStats()), (std::array<uint64_t, 4>{small, 1, 0, 0}));

    // A resize counts a release and an allocation, and keeps the contents.
    std::memcpy(block, "fifteen letters", 16);
    block = static_cast<char*>(Brix::CountedResize(block, 4096));
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(block, "fifteen letters");
    const uint64_t large = Brix::CountedUsableSize(block);
    EXPECT_EQ(Moved(before, Brix::ReadMemoryStats()), (std::array<uint64_t, 4>{small + large, 2, small, 1}));

    // A size of zero still answers a block, so that null keeps meaning failure.
    block = static_cast<char*>(Brix::CountedResize(block, 0));
    ASSERT_NE(block, nullptr);
    Brix::CountedRelease(block);
    Brix::CountedRelease(nullptr);  // not a release
    const MemoryStats after = Brix::ReadMemoryStats();
    EXPECT_EQ(Moved(before, after)[1], 3u);
    EXPECT_EQ(Moved(before, after)[3], 3u);
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
}

TEST(AllocationStats, DuplicatesAndAlignedBlocksAreCountedLikeTheRest) {
    const MemoryStats before = Brix::ReadMemoryStats();
    // With a length, NULs inside are copied and a NUL is added after the last byte.
    char* copy = Brix::CountedDuplicate("a\0bc", 3);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(copy, "a\0b\0", 4), 0);
    const uint64_t copySize = Brix::CountedUsableSize(copy);
    EXPECT_EQ(Moved(before, Brix::ReadMemoryStats()), (std::array<uint64_t, 4>{copySize, 1, 0, 0}));
    // Any size is accepted, not only multiples of the alignment.
    void* aligned = Brix::CountedAllocateAligned(100, 256);
    ASSERT_NE(aligned, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 256, 0u);
    EXPECT_EQ(Moved(before, Brix::ReadMemoryStats())[1], 2u);
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
    const uint64_t bytes =
        after.Counter(MemoryCounter::BytesAllocated) - before.Counter(MemoryCounter::BytesAllocated);
    EXPECT_EQ(bytes % (uint64_t{kThreads} * kRounds), 0u) << "every block has the same usable size";
    constexpr uint64_t kBlocks = uint64_t{kThreads} * kRounds;
    EXPECT_EQ(Moved(before, after), (std::array<uint64_t, 4>{bytes, kBlocks, bytes, kBlocks}));
}

TEST(AllocationStats, WordsCarryEachCounterLowWordFirstThenTwoZeros) {
    MemoryStats stats;
    for (std::size_t i = 0; i < stats.counters.size(); ++i) {
        stats.counters[i] = (uint64_t{0x10u + i} << 32) | (0xA0000000u + i);
    }
    std::array<uint32_t, Brix::kMemoryStatsWordCount + 1> words;
    words.fill(0xFFFFFFFFu);
    Brix::EncodeMemoryStatsWords(stats, words.data());
    // The fifteenth word is past the block and must stay untouched.
    EXPECT_EQ(words, (std::array<uint32_t, 15>{0xA0000000u, 0x10u, 0xA0000001u, 0x11u, 0xA0000002u, 0x12u,
                                               0xA0000003u, 0x13u, 0xA0000004u, 0x14u, 0xA0000005u, 0x15u, 0u,
                                               0u, 0xFFFFFFFFu}));

    // The live form writes the current counters and ignores a null block.
    std::array<uint32_t, Brix::kMemoryStatsWordCount> live{};
    const MemoryStats now = Brix::ReadMemoryStats();
    Brix::WriteMemoryStatsWords(live.data());
    EXPECT_EQ(uint64_t{live[6]} | (uint64_t{live[7]} << 32), now.Counter(MemoryCounter::Allocations));
    Brix::WriteMemoryStatsWords(nullptr);
}

}  // namespace
