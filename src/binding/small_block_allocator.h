// small_block_allocator.h - the process-wide source of 4096-byte pages for the value model's block pools.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace Brix {

// SmallBlockAllocator reserves 64 KiB regions from the operating system, cuts each into 16 pages of
// 4096 bytes and hands pages to block pools on demand. Pages come back when a pool dies and are
// handed out again; regions are never returned. Every page starts on a 4096-byte boundary, so the
// page that holds a block is found by rounding the block's address down (PageOf).
//
// The region list and the page hand-out are guarded by one mutex; what a pool does inside its
// pages is the pool's business and takes no lock.
class SmallBlockAllocator {
public:
    static constexpr std::size_t kPageSize = 4096;
    static constexpr std::size_t kPagesPerRegion = 16;
    static constexpr std::size_t kRegionSize = kPageSize * kPagesPerRegion;

    // Instance is the allocator of the process, created on first use and never destroyed, so that
    // values that outlive static destruction can still give their pages back.
    static SmallBlockAllocator& Instance();

    SmallBlockAllocator() = default;
    // A private allocator (tests) unmaps its regions; every page must have come back by then.
    ~SmallBlockAllocator();
    SmallBlockAllocator(const SmallBlockAllocator&) = delete;
    SmallBlockAllocator& operator=(const SmallBlockAllocator&) = delete;

    // AcquirePage hands out a page: a returned one if there is any, else the next untouched page of
    // the newest region, else a page of a newly reserved region. Its content is unspecified.
    // Throws std::bad_alloc when the operating system refuses a region.
    void* AcquirePage();

    // ReleasePage takes back a page that AcquirePage handed out.
    void ReleasePage(void* page) noexcept;

    // PageOf is the start of the page that holds the byte at address.
    static void* PageOf(void* address) noexcept {
        return static_cast<std::byte*>(address) - reinterpret_cast<std::uintptr_t>(address) % kPageSize;
    }

    // RegionCount and FreePageCount describe the allocator for tests and diagnostics; FreePageCount
    // counts returned pages and untouched pages of the newest region.
    std::size_t RegionCount() const;
    std::size_t FreePageCount() const;

private:
    // FreePage is the link written into the first bytes of a returned page.
    struct FreePage {
        FreePage* next;
    };

    mutable std::mutex mutex;
    std::vector<std::byte*> regions;
    FreePage* freePages = nullptr;
    std::size_t returnedPages = 0;
    std::size_t untouchedPages = 0;  // pages of regions.back() not handed out yet
};

}  // namespace Brix
