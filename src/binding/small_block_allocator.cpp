// small_block_allocator.cpp - region reservation and page hand-out of the small-block allocator.
#include "binding/small_block_allocator.h"

#include <cassert>
#include <new>

#include "platform/memory_regions.h"

namespace Brix {

namespace {

// ReserveRegion maps one read-write region, aligned to at least 4096 bytes.
std::byte* ReserveRegion() {
    void* region = Platform::ReserveRegion(SmallBlockAllocator::kRegionSize);
    if (region == nullptr) {
        throw std::bad_alloc();
    }
    return static_cast<std::byte*>(region);
}

}  // namespace

SmallBlockAllocator& SmallBlockAllocator::Instance() {
    static SmallBlockAllocator* const instance = new SmallBlockAllocator();
    return *instance;
}

SmallBlockAllocator::~SmallBlockAllocator() {
    assert(returnedPages + untouchedPages == regions.size() * kPagesPerRegion && "pages still in use");
    for (std::byte* region : regions) {
        Platform::ReleaseRegion(region, kRegionSize);
    }
}

void* SmallBlockAllocator::AcquirePage() {
    std::lock_guard lock(mutex);
    if (freePages != nullptr) {
        FreePage* page = freePages;
        freePages = page->next;
        --returnedPages;
        return page;
    }
    if (untouchedPages == 0) {
        if (regions.size() == regions.capacity()) {  // grow first, so that no mapped region is lost
            regions.reserve(regions.empty() ? 16 : regions.size() * 2);
        }
        regions.push_back(ReserveRegion());
        untouchedPages = kPagesPerRegion;
    }
    std::byte* page = regions.back() + (kPagesPerRegion - untouchedPages) * kPageSize;
    --untouchedPages;
    return page;
}

void SmallBlockAllocator::ReleasePage(void* page) noexcept {
    assert(page != nullptr && PageOf(page) == page);
    std::lock_guard lock(mutex);
    freePages = new (page) FreePage{freePages};
    ++returnedPages;
}

std::size_t SmallBlockAllocator::RegionCount() const {
    std::lock_guard lock(mutex);
    return regions.size();
}

std::size_t SmallBlockAllocator::FreePageCount() const {
    std::lock_guard lock(mutex);
    return returnedPages + untouchedPages;
}

}  // namespace Brix
