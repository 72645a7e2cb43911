// memory_regions_windows.cpp - regions reserved and committed in one VirtualAlloc call.
#include <windows.h>

#include "platform/memory_regions.h"

namespace Brix::Platform {

void* ReserveRegion(std::size_t size) noexcept {
    return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void ReleaseRegion(void* region, std::size_t /*size*/) noexcept {
    // A whole reservation is released with size 0.
    VirtualFree(region, 0, MEM_RELEASE);
}

}  // namespace Brix::Platform
