// allocation_stats.cpp - the allocation counters and the counting wrappers of the malloc family.
#include "host_values/allocation_stats.h"

#include <atomic>
#include <cstring>

#include "platform/heap_blocks.h"

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

// CountAllocation records one new block of the given usable size and applies the peak rule.
void* CountAllocation(void* block, std::size_t usableSize) noexcept {
    if (block != nullptr) {
        Add(MemoryCounter::BytesAllocated, usableSize);
        Add(MemoryCounter::Allocations, 1);
        RaisePeak();
    }
    return block;
}

// EffectiveAlignment is the alignment an aligned block is made with: at least that of a pointer.
std::size_t EffectiveAlignment(std::size_t alignment) noexcept {
    return alignment < sizeof(void*) ? sizeof(void*) : alignment;
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
    void* block = Platform::AllocateBlock(size == 0 ? 1 : size);
    return CountAllocation(block, block != nullptr ? Platform::BlockSize(block) : 0);
}

void* CountedAllocateAligned(std::size_t size, std::size_t alignment) noexcept {
    if (alignment == 0 || (alignment & (alignment - 1)) != 0) {
        return nullptr;
    }
    const std::size_t effective = EffectiveAlignment(alignment);
    void* block = Platform::AllocateAlignedBlock(size == 0 ? 1 : size, effective);
    return CountAllocation(block, block != nullptr ? Platform::AlignedBlockSize(block, effective) : 0);
}

void CountedReleaseAligned(void* block, std::size_t alignment) noexcept {
    if (block == nullptr) {
        return;
    }
    const std::size_t effective = EffectiveAlignment(alignment);
    CountRelease(Platform::AlignedBlockSize(block, effective));
    Platform::ReleaseAlignedBlock(block, effective);
}

void CountedRelease(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    CountRelease(Platform::BlockSize(block));
    Platform::ReleaseBlock(block);
}

void* CountedResize(void* block, std::size_t size) noexcept {
    if (block == nullptr) {
        return CountedAllocate(size);
    }
    const std::size_t oldSize = Platform::BlockSize(block);
    void* resized = Platform::ResizeBlock(block, size == 0 ? 1 : size);
    if (resized == nullptr) {
        return nullptr;
    }
    CountRelease(oldSize);
    return CountAllocation(resized, Platform::BlockSize(resized));
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
    return block != nullptr ? Platform::BlockSize(block) : 0;
}

}  // namespace Brix
