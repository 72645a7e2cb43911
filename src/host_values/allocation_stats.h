// allocation_stats.h - the plugin's allocation counters and the counting wrappers of the malloc family.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace Brix {

// MemoryCounter names the six allocation counters by their index in the host's statistics block.
enum class MemoryCounter : std::size_t {
    PeakBytes = 0,       // the highest bytes-in-use figure seen after an allocation
    BlocksAtPeak = 1,    // blocks in use at the moment the peak was last raised
    BytesAllocated = 2,  // usable bytes of every block handed out, in total
    Allocations = 3,     // blocks handed out, in total
    BytesReleased = 4,   // usable bytes of every block given back, in total
    Releases = 5,        // blocks given back, in total
};

// kMemoryCounterCount: the number of allocation counters.
inline constexpr std::size_t kMemoryCounterCount = 6;

// kMemoryStatsWordCount: the 32-bit words of the host's statistics block: each counter as two words,
// low word first, then two zero words.
inline constexpr std::size_t kMemoryStatsWordCount = 2 * kMemoryCounterCount + 2;

// MemoryStats is a snapshot of the allocation counters. Each counter is read atomically on its own;
// the six together are not one atomic picture when other threads allocate meanwhile.
struct MemoryStats {
    std::array<uint64_t, kMemoryCounterCount> counters{};

    uint64_t Counter(MemoryCounter which) const noexcept { return counters[static_cast<std::size_t>(which)]; }
    // BytesInUse: usable bytes allocated and not yet released.
    uint64_t BytesInUse() const noexcept {
        return Counter(MemoryCounter::BytesAllocated) - Counter(MemoryCounter::BytesReleased);
    }
    // BlocksInUse: blocks allocated and not yet released.
    uint64_t BlocksInUse() const noexcept {
        return Counter(MemoryCounter::Allocations) - Counter(MemoryCounter::Releases);
    }
};

// ReadMemoryStats: the current value of every counter.
MemoryStats ReadMemoryStats() noexcept;

// EncodeMemoryStatsWords: writes stats into kMemoryStatsWordCount words: counter 0 low word, counter 0
// high word, counter 1 low word, ... counter 5 high word, then two zero words.
void EncodeMemoryStatsWords(const MemoryStats& stats, uint32_t* words) noexcept;

// WriteMemoryStatsWords: EncodeMemoryStatsWords of the current counters; a null words is ignored.
void WriteMemoryStatsWords(uint32_t* words) noexcept;

// The counting wrappers. Every block the plugin hands to the host, and every block of the plugin
// library's own C++ allocations, goes through them, so that the host sees the plugin's memory and can
// release what the plugin gave it with the matching function. Sizes are counted as the usable size
// the C runtime reports for a block, which may exceed the size asked for. The counters start at zero
// with the process (they are constant-initialised), so the very first allocation is counted too.

// CountedAllocate: malloc of size bytes (at least one byte is asked for); null when out of memory.
void* CountedAllocate(std::size_t size) noexcept;

// CountedAllocateAligned: a block of size bytes aligned to alignment (a power of two), released with
// CountedReleaseAligned and the same alignment; null when out of memory or for an alignment that is not
// a power of two.
void* CountedAllocateAligned(std::size_t size, std::size_t alignment) noexcept;

// CountedReleaseAligned: frees a block of CountedAllocateAligned made with alignment; null is ignored.
void CountedReleaseAligned(void* block, std::size_t alignment) noexcept;

// CountedRelease: frees a block of the counting wrappers; null is ignored.
void CountedRelease(void* block) noexcept;

// CountedResize: realloc, counted as the release of the old block and the allocation of the new one.
// A null block allocates. A size of zero asks for the smallest block rather than freeing, so that a
// null answer always means failure, and after a failure the old block is still valid and uncounted.
void* CountedResize(void* block, std::size_t size) noexcept;

// CountedDuplicate: a NUL-terminated copy of text (null for a null text or out of memory).
char* CountedDuplicate(const char* text) noexcept;

// CountedDuplicate: a NUL-terminated copy of the length bytes at text, which may hold NULs; a null
// text with a length of zero gives an empty copy, with any other length null.
char* CountedDuplicate(const char* text, std::size_t length) noexcept;

// CountedUsableSize: the usable size of a block of the counting wrappers; 0 for null.
std::size_t CountedUsableSize(const void* block) noexcept;

}  // namespace Brix
