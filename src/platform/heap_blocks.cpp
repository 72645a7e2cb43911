// heap_blocks.cpp - the C runtime's malloc, realloc and free, the same calls on every system.
#include "platform/heap_blocks.h"

#include <cstdlib>

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

}  // namespace Brix::Platform
