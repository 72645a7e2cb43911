// block_pool.cpp - page layout and free lists of the block pools.
#include "binding/block_pool.h"

#include <cstring>

namespace Brix {

namespace {

constexpr uint16_t kNoBlock = 0xFFFF;

constexpr std::size_t RoundUp(std::size_t size, std::size_t step) {
    return (size + step - 1) / step * step;
}

}  // namespace

// PoolPageHeader: the blocks of the page follow it.
struct PoolPageHeader {
    const BlockPool* owner;
    PoolPageHeader* nextPage;
    PoolPageHeader* nextAvailable;
    uint16_t firstFree;  // kNoBlock when the page is full
    uint16_t usedCount;
    bool isAvailable;  // on the pool's list of pages with a free block
};

namespace {

constexpr std::size_t kHeaderSize = RoundUp(sizeof(PoolPageHeader), BlockPool::kBlockAlignment);
constexpr std::size_t kMaxBlockSize = SmallBlockAllocator::kPageSize - kHeaderSize;

uint16_t ReadIndex(const std::byte* block) noexcept {
    uint16_t index = 0;
    std::memcpy(&index, block, sizeof index);
    return index;
}

void WriteIndex(std::byte* block, uint16_t index) noexcept {
    std::memcpy(block, &index, sizeof index);
}

}  // namespace

BlockPool::BlockPool(std::size_t size, SmallBlockAllocator& pageSource)
    : allocator(&pageSource),
      blockSize(static_cast<uint16_t>(RoundUp(size == 0 ? 1 : size, kBlockAlignment))),
      blocksPerPage(static_cast<uint16_t>(kMaxBlockSize / blockSize)) {
    assert(size <= kMaxBlockSize && "block does not fit a page");
}

BlockPool::~BlockPool() {
    assert(blocksInUse == 0 && "blocks still in use");
    while (pages != nullptr) {
        PoolPageHeader* next = pages->nextPage;
        allocator->ReleasePage(pages);
        pages = next;
    }
}

void* BlockPool::Allocate() {
    if (available == nullptr) {
        AddPage();
    }
    PoolPageHeader* page = available;
    std::byte* block = BlockAt(page, page->firstFree);
    page->firstFree = ReadIndex(block);
    ++page->usedCount;
    ++blocksInUse;
    if (page->firstFree == kNoBlock) {
        available = page->nextAvailable;
        page->isAvailable = false;
    }
    return block;
}

void BlockPool::Free(void* block) noexcept {
    auto* page = static_cast<PoolPageHeader*>(SmallBlockAllocator::PageOf(block));
    assert(page->owner == this && "block freed into a pool that did not hand it out");
    auto* bytes = static_cast<std::byte*>(block);
    const std::size_t offset =
        static_cast<std::size_t>(bytes - reinterpret_cast<std::byte*>(page)) - kHeaderSize;
    assert(offset % blockSize == 0);
    WriteIndex(bytes, page->firstFree);
    page->firstFree = static_cast<uint16_t>(offset / blockSize);
    --page->usedCount;
    --blocksInUse;
    if (!page->isAvailable) {
        page->isAvailable = true;
        page->nextAvailable = available;
        available = page;
    }
}

void BlockPool::AddPage() {
    auto* page = new (allocator->AcquirePage()) PoolPageHeader{this, pages, nullptr, 0, 0, true};
    for (uint16_t index = 0; index < blocksPerPage; ++index) {
        WriteIndex(BlockAt(page, index),
                   index + 1 < blocksPerPage ? static_cast<uint16_t>(index + 1) : kNoBlock);
    }
    pages = page;
    available = page;
    ++pageCount;
}

std::byte* BlockPool::BlockAt(PoolPageHeader* page, uint16_t index) const noexcept {
    return reinterpret_cast<std::byte*>(page) + kHeaderSize + std::size_t{index} * blockSize;
}

}  // namespace Brix
