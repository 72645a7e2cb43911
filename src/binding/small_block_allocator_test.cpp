// small_block_allocator_test.cpp - page hand-out, reuse and alignment of the small-block allocator.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "binding/small_block_allocator.h"

namespace {

using Brix::SmallBlockAllocator;
constexpr std::size_t kPageSize = SmallBlockAllocator::kPageSize;
constexpr std::size_t kPagesPerRegion = SmallBlockAllocator::kPagesPerRegion;

TEST(SmallBlockAllocator, CutsRegionsIntoSixteenAlignedWritablePages) {
    SmallBlockAllocator allocator;
    std::vector<std::byte*> pages;
    for (std::size_t i = 0; i <= kPagesPerRegion; ++i) {
        pages.push_back(static_cast<std::byte*>(allocator.AcquirePage()));
        std::memset(pages.back(), 0xA5, kPageSize);
        EXPECT_EQ(allocator.RegionCount(), i < kPagesPerRegion ? 1u : 2u);
    }
    EXPECT_EQ(allocator.FreePageCount(), kPagesPerRegion - 1);
    EXPECT_EQ(std::set<std::byte*>(pages.begin(), pages.end()).size(), pages.size());
    for (std::byte* page : pages) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(page) % kPageSize, 0u);
        EXPECT_EQ(SmallBlockAllocator::PageOf(page + kPageSize - 1), page);
        EXPECT_EQ(SmallBlockAllocator::PageOf(page + kPageSize), page + kPageSize);
        allocator.ReleasePage(page);
    }
    EXPECT_EQ(allocator.FreePageCount(), 2 * kPagesPerRegion);
}

TEST(SmallBlockAllocator, HandsReturnedPagesOutAgainBeforeReserving) {
    SmallBlockAllocator allocator;
    void* first = allocator.AcquirePage();
    void* second = allocator.AcquirePage();
    allocator.ReleasePage(first);
    allocator.ReleasePage(second);
    EXPECT_EQ(allocator.AcquirePage(), second);
    EXPECT_EQ(allocator.AcquirePage(), first);
    EXPECT_EQ(allocator.RegionCount(), 1u);
    allocator.ReleasePage(first);
    allocator.ReleasePage(second);
}

// Threads take and give back pages at once; every page must belong to one thread at a time.
TEST(SmallBlockAllocator, HandsOutPagesToConcurrentThreads) {
    SmallBlockAllocator allocator;
    constexpr int kThreads = 8;
    constexpr int kPagesPerRound = 20;
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    threads.reserve(kThreads);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&allocator, &failures, t] {
            for (int round = 0; round < 50; ++round) {
                std::vector<int*> pages;
                pages.reserve(kPagesPerRound);
                for (int i = 0; i < kPagesPerRound; ++i) {
                    pages.push_back(static_cast<int*>(allocator.AcquirePage()));
                    std::fill_n(pages.back(), kPageSize / sizeof(int), t);
                }
                for (int* page : pages) {
                    failures[static_cast<std::size_t>(t)] += static_cast<int>(
                        std::count(page, page + kPageSize / sizeof(int), t) != kPageSize / sizeof(int));
                    allocator.ReleasePage(page);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
    EXPECT_EQ(allocator.FreePageCount(), allocator.RegionCount() * kPagesPerRegion);
}

}  // namespace
