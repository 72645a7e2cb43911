// context_arena.cpp - size classes, free lists and chunks of a context's storage.
#include "binding/context_arena.h"

#include <algorithm>
#include <bit>
#include <new>

namespace Brix {

// Chunk opens every chunk; the blocks follow it.
struct ContextArena::Chunk {
    Chunk* next;
};

// LargeBlock opens every block above kMaxBlockSize; the list of them is doubly linked, so that Free
// unlinks one at once.
struct ContextArena::LargeBlock {
    LargeBlock* previous;
    LargeBlock* next;
};

static_assert(sizeof(void*) <= ContextArena::kAlignment, "a free block holds a pointer");

namespace {

constexpr std::size_t kChunkHeader = (sizeof(std::max_align_t) > 16 ? sizeof(std::max_align_t) : 16);
constexpr std::size_t kLargeHeader = kChunkHeader;

}  // namespace

ContextArena::~ContextArena() {
    while (largeBlocks != nullptr) {
        LargeBlock* next = largeBlocks->next;
        ::operator delete(largeBlocks);
        largeBlocks = next;
    }
    while (chunks != nullptr) {
        Chunk* next = chunks->next;
        ::operator delete(chunks);
        chunks = next;
    }
}

std::size_t ContextArena::ClassOf(std::size_t size) noexcept {
    if (size <= 256) {
        return (size + 7) / 8 - 1;
    }
    // 257..512 is class kSmallClasses, 513..1024 the next, and so on.
    return kSmallClasses + static_cast<std::size_t>(std::bit_width(size - 1)) - 9;
}

std::size_t ContextArena::Capacity(std::size_t size) noexcept {
    if (size > kMaxBlockSize) {
        return size;
    }
    if (size <= 256) {
        return (size + 7) & ~std::size_t{7};
    }
    return std::bit_ceil(size);
}

void* ContextArena::Allocate(std::size_t size) {
    if (size > kMaxBlockSize) {
        auto* large = static_cast<LargeBlock*>(::operator new(kLargeHeader + size));
        large->previous = nullptr;
        large->next = largeBlocks;
        if (largeBlocks != nullptr) {
            largeBlocks->previous = large;
        }
        largeBlocks = large;
        return reinterpret_cast<std::byte*>(large) + kLargeHeader;
    }
    const std::size_t index = ClassOf(size);
    if (FreeBlock* block = freeLists[index]; block != nullptr) {
        freeLists[index] = block->next;
        return block;
    }
    return Carve(Capacity(size));
}

void ContextArena::Free(void* block, std::size_t size) noexcept {
    if (size > kMaxBlockSize) {
        auto* large = reinterpret_cast<LargeBlock*>(static_cast<std::byte*>(block) - kLargeHeader);
        (large->previous != nullptr ? large->previous->next : largeBlocks) = large->next;
        if (large->next != nullptr) {
            large->next->previous = large->previous;
        }
        ::operator delete(large);
        return;
    }
    const std::size_t index = ClassOf(size);
    freeLists[index] = new (block) FreeBlock{freeLists[index]};
}

void* ContextArena::Carve(std::size_t blockSize) {
    if (static_cast<std::size_t>(limit - cursor) < blockSize) {
        const std::size_t size = std::max(nextChunkSize, kChunkHeader + blockSize);
        auto* chunk = static_cast<Chunk*>(::operator new(size));
        chunk->next = chunks;
        chunks = chunk;
        cursor = reinterpret_cast<std::byte*>(chunk) + kChunkHeader;
        limit = reinterpret_cast<std::byte*>(chunk) + size;
        nextChunkSize = std::min(nextChunkSize * 2, kMaxChunkSize);
    }
    void* block = cursor;
    cursor += blockSize;
    return block;
}

}  // namespace Brix
