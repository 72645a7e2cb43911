// allocation_stats.cpp - the allocation counters and the counting wrappers of the malloc family.
#include "abi/allocation_stats.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace Brix {

namespace {

// counterSlots holds the six counters. constinit: they are zero before any code of the library runs,
// so an allocation made by a static initialiser is counted like every other.
constinit std::array<std::atomic<uint64_t>, kMemoryCounterCount> counterSlots{};

std::atomic<uint64_t>& Slot(MemoryCounter which) noexcept {
    return counterSlots[static_cast<std::size_t>(which)];
}

uint64_t Load(MemoryCounter which) noexcept {
    return Slot(which).load(std::memory_order_relaxed);
}

// Add raises one counter by amount with a compare-and-swap loop, so that concurrent updates from any
// thread are never lost.
void Add(MemoryCounter which, uint64_t amount) noexcept {
    std::atomic<uint64_t>& counter = Slot(which);
    uint64_t seen = counter.load(std::memory_order_relaxed);
    while (!counter.compare_exchange_weak(seen, seen + amount, std::memory_order_relaxed)) {
    }
}

// RaisePeak applies the peak rule after an allocation: when the bytes in use exceed the peak, the peak
// becomes the bytes in use and the blocks-at-peak counter the blocks in use. The two counters are not
// updated as one atomic step; under concurrent allocation the pair is a close approximation.
void RaisePeak() noexcept {
    const uint64_t allocated = Load(MemoryCounter::BytesAllocated);
    const uint64_t released = Load(MemoryCounter::BytesReleased);
    if (released >= allocated) {
        return;  // a release counted between the two reads; the next allocation looks again
    }
    const uint64_t inUse = allocated - released;
    std::atomic<uint64_t>& peak = Slot(MemoryCounter::PeakBytes);
    uint64_t seen = peak.load(std::memory_order_relaxed);
    while (inUse > seen) {
        if (peak.compare_exchange_weak(seen, inUse, std::memory_order_relaxed)) {
            const uint64_t allocations = Load(MemoryCounter::Allocations);
            const uint64_t releases = Load(MemoryCounter::Releases);
            Slot(MemoryCounter::BlocksAtPeak)
                .store(allocations > releases ? allocations - releases : 0, std::memory_order_relaxed);
            return;
        }
    }
}

// CountAllocation records one new block and applies the peak rule.
void* CountAllocation(void* block) noexcept {
    if (block != nullptr) {
        Add(MemoryCounter::BytesAllocated, malloc_usable_size(block));
        Add(MemoryCounter::Allocations, 1);
        RaisePeak();
    }
    return block;
}

void CountRelease(std::size_t usableSize) noexcept {
    Add(MemoryCounter::BytesReleased, usableSize);
    Add(MemoryCounter::Releases, 1);
}

}  // namespace

MemoryStats ReadMemoryStats() noexcept {
    MemoryStats stats;
    for (std::size_t i = 0; i < kMemoryCounterCount; ++i) {
        stats.counters[i] = counterSlots[i].load(std::memory_order_relaxed);
    }
    return stats;
}

void EncodeMemoryStatsWords(const MemoryStats& stats, uint32_t* words) noexcept {
    for (std::size_t i = 0; i < kMemoryCounterCount; ++i) {
        words[2 * i] = static_cast<uint32_t>(stats.counters[i] & 0xFFFFFFFFu);
        words[2 * i + 1] = static_cast<uint32_t>(stats.counters[i] >> 32);
    }
    words[2 * kMemoryCounterCount] = 0;
    words[2 * kMemoryCounterCount + 1] = 0;
}

void WriteMemoryStatsWords(uint32_t* words) noexcept {
    if (words != nullptr) {
        EncodeMemoryStatsWords(ReadMemoryStats(), words);
    }
}

void* CountedAllocate(std::size_t size) noexcept {
    return CountAllocation(std::malloc(size == 0 ? 1 : size));
}

void* CountedAllocateAligned(std::size_t size, std::size_t alignment) noexcept {
    if (alignment == 0 || (alignment & (alignment - 1)) != 0) {
        return nullptr;
    }
    // posix_memalign rather than aligned_alloc: it takes any size, not only multiples of the alignment.
    void* block = nullptr;
    const std::size_t effective = alignment < sizeof(void*) ? sizeof(void*) : alignment;
    if (posix_memalign(&block, effective, size == 0 ? 1 : size) != 0) {
        return nullptr;
    }
    return CountAllocation(block);
}

void CountedRelease(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    CountRelease(malloc_usable_size(block));
    std::free(block);
}

void* CountedResize(void* block, std::size_t size) noexcept {
    if (block == nullptr) {
        return CountedAllocate(size);
    }
    const std::size_t oldSize = malloc_usable_size(block);
    void* resized = std::realloc(block, size == 0 ? 1 : size);
    if (resized == nullptr) {
        return nullptr;
    }
    CountRelease(oldSize);
    return CountAllocation(resized);
}

char* CountedDuplicate(const char* text) noexcept {
    if (text == nullptr) {
        return nullptr;
    }
    return CountedDuplicate(text, std::strlen(text));
}

char* CountedDuplicate(const char* text, std::size_t length) noexcept {
    if (text == nullptr && length != 0) {
        return nullptr;
    }
    if (length == static_cast<std::size_t>(-1)) {
        return nullptr;  // no room for the terminating NUL
    }
    auto* copy = static_cast<char*>(CountedAllocate(length + 1));
    if (copy == nullptr) {
        return nullptr;
    }
    if (length != 0) {
        std::memcpy(copy, text, length);
    }
    copy[length] = '\0';
    return copy;
}

std::size_t CountedUsableSize(const void* block) noexcept {
    // malloc_usable_size only reads the block's header; it takes a non-const pointer for history's sake.
    return block != nullptr ? malloc_usable_size(const_cast<void*>(block)) : 0;
}

}  // namespace Brix
