// small_block_allocator_test.cpp - page hand-out, reuse and alignment of the small-block allocator.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
    // Returned pages go out again, last returned first, before anything new is reserved.
    EXPECT_EQ(allocator.AcquirePage(), pages.back());
    EXPECT_EQ(allocator.AcquirePage(), pages[pages.size() - 2]);
    EXPECT_EQ(allocator.RegionCount(), 2u);
    allocator.ReleasePage(pages[pages.size() - 2]);
    allocator.ReleasePage(pages.back());
}

// Two threads take and give back pages at once; every page must belong to one thread at a time.
TEST(SmallBlockAllocator, HandsOutPagesToConcurrentThreads) {
    SmallBlockAllocator allocator;
    std::array<int, 2> damaged{};
    const auto churn = [&allocator, &damaged](int mark) {
        for (int round = 0; round < 10; ++round) {
            std::array<int*, 20> pages{};
            for (int*& page : pages) {
                page = static_cast<int*>(allocator.AcquirePage());
                std::fill_n(page, kPageSize / sizeof(int), mark);
            }
            for (int* page : pages) {
                damaged[mark] += static_cast<int>(std::count(page, page + kPageSize / sizeof(int), mark) !=
                                                  kPageSize / sizeof(int));
                allocator.ReleasePage(page);
            }
        }
    };
    std::thread other(churn, 1);
    churn(0);
    other.join();
    EXPECT_EQ(damaged, (std::array<int, 2>{0, 0}));
    EXPECT_EQ(allocator.FreePageCount(), allocator.RegionCount() * kPagesPerRegion);
}

}  // namespace
