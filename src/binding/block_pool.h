// block_pool.h - fixed-size block pools carved from pages of the small-block allocator.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "binding/small_block_allocator.h"

namespace Brix {

// PoolPageHeader opens every page of a block pool (defined with the pool's code).
struct PoolPageHeader;

// BlockPool hands out blocks of one fixed size. It takes pages from a SmallBlockAllocator when every
// page it has is full and gives all of them back when it dies; pages emptied earlier stay with the
// pool for reuse. Inside a page the free blocks form a list of 16-bit block indices threaded through
// the blocks themselves; the page header keeps the index of the first free block and the count of
// blocks in use. The page of a block is found by rounding the block's address down to 4096.
//
// A pool is not thread-safe: it belongs to one allocation context, used by one thread at a time.
class BlockPool {
public:
    // kBlockAlignment is the alignment of every block; sizes are rounded up to a multiple of it.
    static constexpr std::size_t kBlockAlignment = 8;

    explicit BlockPool(std::size_t blockSize,
                       SmallBlockAllocator& allocator = SmallBlockAllocator::Instance());
    // Gives every page back; all blocks must have been freed, or abandoned with AbandonBlocks.
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // Allocate returns an uninitialised block; throws std::bad_alloc when no page can be had.
    void* Allocate();
    // Free takes back a block that this pool handed out.
    void Free(void* block) noexcept;

    // New constructs a T in a block of this pool; Delete destroys it and frees the block.
    template <class T, class... Args>
    T* New(Args&&... args) {
        static_assert(alignof(T) <= kBlockAlignment);
        assert(sizeof(T) <= blockSize);
        void* block = Allocate();
        try {
            return new (block) T(std::forward<Args>(args)...);
        } catch (...) {
            Free(block);
            throw;
        }
    }
    template <class T>
    void Delete(T* object) noexcept {
        object->~T();
        Free(object);
    }

    // AbandonBlocks declares the blocks in use dead without freeing them one by one, for an owner that
    // is about to destroy the pool with everything in it. The blocks must hold nothing to destroy.
    void AbandonBlocks() noexcept { blocksInUse = 0; }

    std::size_t BlockSize() const noexcept { return blockSize; }
    std::size_t BlocksPerPage() const noexcept { return blocksPerPage; }
    std::size_t PageCount() const noexcept { return pageCount; }
    std::size_t BlocksInUse() const noexcept { return blocksInUse; }

private:
    void AddPage();
    std::byte* BlockAt(PoolPageHeader* page, uint16_t index) const noexcept;

    SmallBlockAllocator* allocator;
    uint16_t blockSize;
    uint16_t blocksPerPage;
    PoolPageHeader* pages = nullptr;      // every page of the pool, linked through nextPage
    PoolPageHeader* available = nullptr;  // pages with a free block, linked through nextAvailable
    std::size_t pageCount = 0;
    std::size_t blocksInUse = 0;
};

}  // namespace Brix
