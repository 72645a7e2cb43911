// heap_blocks_posix.cpp - the heap on POSIX systems: malloc, posix_memalign and malloc_usable_size.
#include <malloc.h>

#include <cstdlib>

#include "platform/heap_blocks.h"

namespace Brix::Platform {

void* AllocateBlock(std::size_t size) noexcept {
    return std::malloc(size);
}

void* ResizeBlock(void* block, std::size_t size) noexcept {
    return std::realloc(block, size);
}

void ReleaseBlock(void* block) noexcept {
    std::free(block);
}

std::size_t BlockSize(const void* block) noexcept {
    // malloc_usable_size only reads the block's header; it takes a non-const pointer for history's sake.
    return malloc_usable_size(const_cast<void*>(block));  // NOLINT(cppcoreguidelines-pro-type-const-cast)
}

void* AllocateAlignedBlock(std::size_t size, std::size_t alignment) noexcept {
    // posix_memalign rather than aligned_alloc: it takes any size, not only multiples of the alignment.
    void* block = nullptr;
    return posix_memalign(&block, alignment, size) == 0 ? block : nullptr;
}

std::size_t AlignedBlockSize(const void* block, std::size_t /*alignment*/) noexcept {
    return BlockSize(block);
}

void ReleaseAlignedBlock(void* block, std::size_t /*alignment*/) noexcept {
    std::free(block);
}

}  // namespace Brix::Platform
