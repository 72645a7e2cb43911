// allocation_stats_test.cpp - the counting wrappers, the peak rule and the host's statistics words.
//
// The unit tests link the standard operator new, so only the explicit wrapper calls below move the
// counters and every delta can be checked exactly.
#include "host_values/allocation_stats.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <thread>

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
    // With a length, NULs inside are copied and a NUL is added after the last byte.
    char* copy = Brix::CountedDuplicate("a\0bc", 3);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(copy, "a\0b\0", 4), 0);
    // Any size is accepted, not only multiples of the alignment.
    void* aligned = Brix::CountedAllocateAligned(100, 256);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(aligned) % 256, 0u);
    EXPECT_EQ(Moved(before, Brix::ReadMemoryStats())[1], 5u);
    Brix::CountedRelease(copy);
    Brix::CountedReleaseAligned(aligned, 256);
    const MemoryStats after = Brix::ReadMemoryStats();
    EXPECT_EQ(Moved(before, after)[3], 5u);
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());

    // Nothing to copy and impossible alignments give null and count nothing.
    EXPECT_EQ(Brix::CountedDuplicate(nullptr), nullptr);
    EXPECT_EQ(Brix::CountedDuplicate(nullptr, 4), nullptr);
    EXPECT_EQ(Brix::CountedAllocateAligned(16, 24), nullptr);
    EXPECT_EQ(Brix::ReadMemoryStats().counters, after.counters);
}

TEST(AllocationStats, PeakRisesOnlyWhenBytesInUseExceedIt) {
    // A block larger than the peak so far must raise it; below the peak, neither peak counter moves.
    void* big = Brix::CountedAllocate(Brix::ReadMemoryStats().Counter(MemoryCounter::PeakBytes) + (1u << 20));
    const MemoryStats raised = Brix::ReadMemoryStats();
    EXPECT_EQ(raised.Counter(MemoryCounter::PeakBytes), raised.BytesInUse());
    EXPECT_EQ(raised.Counter(MemoryCounter::BlocksAtPeak), raised.BlocksInUse());
    Brix::CountedRelease(big);
    void* small = Brix::CountedAllocate(64);
    const MemoryStats lower = Brix::ReadMemoryStats();
    EXPECT_EQ(lower.Counter(MemoryCounter::PeakBytes), raised.Counter(MemoryCounter::PeakBytes));
    EXPECT_EQ(lower.Counter(MemoryCounter::BlocksAtPeak), raised.Counter(MemoryCounter::BlocksAtPeak));
    Brix::CountedRelease(small);
}

TEST(AllocationStats, ConcurrentUpdatesAreNeverLost) {
    constexpr uint64_t kBlocks = uint64_t{2} * 2000;  // two threads
    void* probe = Brix::CountedAllocate(24);
    const uint64_t bytes = Brix::CountedUsableSize(probe) * kBlocks;
    Brix::CountedRelease(probe);
    const MemoryStats before = Brix::ReadMemoryStats();
    const auto churn = [] {
        for (int i = 0; i < 2000; ++i) {
            Brix::CountedRelease(Brix::CountedAllocate(24));
        }
    };
    std::thread other(churn);
    churn();
    other.join();
    EXPECT_EQ(Moved(before, Brix::ReadMemoryStats()),
              (std::array<uint64_t, 4>{bytes, kBlocks, bytes, kBlocks}));
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
    Brix::WriteMemoryStatsWords(nullptr);  // a null block is ignored
}

}  // namespace
