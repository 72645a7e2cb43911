// system_clock_windows.cpp - GetLocalTime and the performance counter.
#include <windows.h>

#include "platform/system_clock.h"

namespace Brix::Platform {

LocalTime ReadLocalTime() noexcept {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear,   local.wMonth,  local.wDay,         local.wHour,
            local.wMinute, local.wSecond, local.wMilliseconds};
}

int64_t PerformanceCounter() noexcept {
    LARGE_INTEGER ticks{};
    QueryPerformanceCounter(&ticks);
    return ticks.QuadPart;
}

int64_t PerformanceFrequency() noexcept {
    // The frequency is fixed at boot; it is read once.
    static const int64_t frequency = [] {
        LARGE_INTEGER ticksPerSecond{};
        QueryPerformanceFrequency(&ticksPerSecond);
        return ticksPerSecond.QuadPart > 0 ? ticksPerSecond.QuadPart : 1;
    }();
    return frequency;
}

}  // namespace Brix::Platform
