// block_pool_test.cpp - block hand-out, free lists and page return of the block pools.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "binding/block_pool.h"

namespace {

using Brix::BlockPool;
using Brix::SmallBlockAllocator;

TEST(BlockPool, FillsAPageBeforeTakingAnotherAndReusesFreedBlocksFirst) {
    SmallBlockAllocator allocator;
    BlockPool pool(24, allocator);
    std::vector<void*> blocks;
    for (std::size_t i = 0; i < pool.BlocksPerPage(); ++i) {
        blocks.push_back(pool.Allocate());
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(blocks.back()) % BlockPool::kBlockAlignment, 0u);
        EXPECT_EQ(SmallBlockAllocator::PageOf(blocks.back()), SmallBlockAllocator::PageOf(blocks.front()));
    }
    EXPECT_EQ(pool.PageCount(), 1u);
    void* overflow = pool.Allocate();
    EXPECT_EQ(pool.PageCount(), 2u);

    // Freed blocks come back last-freed first, from the page they belong to.
    pool.Free(blocks[3]);
    pool.Free(blocks[7]);
    EXPECT_EQ(pool.Allocate(), blocks[7]);
    EXPECT_EQ(pool.Allocate(), blocks[3]);
    for (void* block : blocks) {
        pool.Free(block);
    }
    pool.Free(overflow);
    EXPECT_EQ(pool.BlocksInUse(), 0u);
}

// Blocks of pages in two regions must never overlap, and a dead pool gives its pages back.
TEST(BlockPool, KeepsBlocksApartAcrossRegionsAndGivesPagesBack) {
    SmallBlockAllocator allocator;
    {
        BlockPool pool(500, allocator);
        EXPECT_EQ(pool.BlockSize(), 504u);
        std::vector<unsigned char*> blocks(pool.BlocksPerPage() * SmallBlockAllocator::kPagesPerRegion + 1);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            blocks[i] = static_cast<unsigned char*>(pool.Allocate());
            std::memset(blocks[i], static_cast<int>(i % 251), 500);
        }
        EXPECT_EQ(allocator.RegionCount(), 2u);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            EXPECT_EQ(std::size_t{blocks[i][0]} + blocks[i][499], 2 * (i % 251)) << i;
            pool.Free(blocks[i]);
        }
    }
    EXPECT_EQ(allocator.FreePageCount(), 2 * SmallBlockAllocator::kPagesPerRegion);
}

}  // namespace
