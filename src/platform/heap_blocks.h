// heap_blocks.h - the C runtime's heap: blocks, their usable size, and blocks of a chosen alignment.
#pragma once

#include <cstddef>

namespace Brix::Platform {

// AllocateBlock, ResizeBlock and ReleaseBlock are the C runtime's malloc, realloc and free.
void* AllocateBlock(std::size_t size) noexcept;
void* ResizeBlock(void* block, std::size_t size) noexcept;
void ReleaseBlock(void* block) noexcept;

// BlockSize is the usable size of a block of AllocateBlock or ResizeBlock, at least the size asked
// for (malloc_usable_size on POSIX systems, _msize on Windows).
std::size_t BlockSize(const void* block) noexcept;

// AllocateAlignedBlock gives a block of size bytes aligned to alignment, a power of two at least the
// size of a pointer; null when out of memory. Such a block is sized and released only through the
// aligned functions, with the same alignment: on Windows it is not a block of the malloc family itself.
void* AllocateAlignedBlock(std::size_t size, std::size_t alignment) noexcept;
std::size_t AlignedBlockSize(const void* block, std::size_t alignment) noexcept;
void ReleaseAlignedBlock(void* block, std::size_t alignment) noexcept;

}  // namespace Brix::Platform
