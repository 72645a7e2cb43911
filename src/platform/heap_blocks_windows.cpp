// heap_blocks_windows.cpp - block sizes and aligned blocks on Windows: _msize, and aligned
// blocks carved out of malloc blocks.
#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/heap_blocks.h"

namespace Brix::Platform {

std::size_t BlockSize(const void* block) noexcept {
    return _msize(const_cast<void*>(block));  // NOLINT(cppcoreguidelines-pro-type-const-cast)
}

// An aligned block is carved out of a larger malloc block: the aligned address is preceded by the
// address of the malloc block it lies in, so that size and release can find it (the C runtime that
// MinGW links, msvcrt.dll, has no _aligned_msize).

void* AllocateAlignedBlock(std::size_t size, std::size_t alignment) noexcept {
    if (size > SIZE_MAX - alignment - sizeof(void*)) {
        return nullptr;
    }
    void* whole = std::malloc(size + alignment + sizeof(void*));
    if (whole == nullptr) {
        return nullptr;
    }
    const auto first = reinterpret_cast<std::uintptr_t>(whole) + sizeof(void*);  // NOLINT
    const std::uintptr_t aligned = (first + alignment - 1) & ~(std::uintptr_t{alignment} - 1);
    std::memcpy(reinterpret_cast<void*>(aligned - sizeof(void*)), &whole, sizeof whole);  // NOLINT
    return reinterpret_cast<void*>(aligned);  // NOLINT(performance-no-int-to-ptr)
}

namespace {

void* WholeBlock(const void* aligned) noexcept {
    void* whole = nullptr;
    std::memcpy(&whole, static_cast<const char*>(aligned) - sizeof(void*), sizeof whole);
    return whole;
}

}  // namespace

std::size_t AlignedBlockSize(const void* block, std::size_t /*alignment*/) noexcept {
    void* whole = WholeBlock(block);
    return _msize(whole) -
           static_cast<std::size_t>(static_cast<const char*>(block) - static_cast<char*>(whole));
}

void ReleaseAlignedBlock(void* block, std::size_t /*alignment*/) noexcept {
    std::free(WholeBlock(block));
}

}  // namespace Brix::Platform
