// memory_regions_posix.cpp - regions as anonymous private mappings.
#include <sys/mman.h>

#include "platform/memory_regions.h"

namespace Brix::Platform {

void* ReserveRegion(std::size_t size) noexcept {
    void* region = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return region == MAP_FAILED ? nullptr : region;
}

void ReleaseRegion(void* region, std::size_t size) noexcept {
    munmap(region, size);
}

}  // namespace Brix::Platform
