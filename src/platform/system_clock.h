// system_clock.h - the local wall-clock time and the high-resolution performance counter.
#pragma once

#include <cstdint>

namespace Brix::Platform {

// LocalTime is a local wall-clock reading, to the millisecond.
struct LocalTime {
    int32_t year = 0;
    int32_t month = 0;  // 1 to 12
    int32_t day = 0;    // 1 to 31
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    int32_t millisecond = 0;
};

// ReadLocalTime reads the local wall clock.
LocalTime ReadLocalTime() noexcept;

// PerformanceCounter is a reading of the monotonic high-resolution counter
// (QueryPerformanceCounter on Windows, CLOCK_MONOTONIC on POSIX systems), in ticks.
int64_t PerformanceCounter() noexcept;

// PerformanceFrequency is the number of ticks of PerformanceCounter per second.
int64_t PerformanceFrequency() noexcept;

}  // namespace Brix::Platform
