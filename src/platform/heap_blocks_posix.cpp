// heap_blocks_posix.cpp - block sizes and aligned blocks on POSIX systems: malloc_usable_size and
// posix_memalign.
#include <malloc.h>

#include <cstdlib>

#include "platform/heap_blocks.h"

namespace Brix::Platform {

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
