// memory_regions.h - whole regions of read-write memory, reserved and committed at once.
#pragma once

#include <cstddef>

namespace Brix::Platform {

// ReserveRegion maps size bytes of zeroed read-write memory, aligned to at least 4096 bytes (mmap on
// POSIX systems, VirtualAlloc's reservation and commit on Windows, whose regions are aligned to 64
// KiB); null when the system refuses.
void* ReserveRegion(std::size_t size) noexcept;

// ReleaseRegion gives a region of ReserveRegion, of the same size, back to the system.
void ReleaseRegion(void* region, std::size_t size) noexcept;

}  // namespace Brix::Platform
