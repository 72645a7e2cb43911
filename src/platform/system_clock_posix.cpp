// system_clock_posix.cpp - clock_gettime and localtime_r.
#include <ctime>

#include "platform/system_clock.h"

namespace Brix::Platform {

LocalTime ReadLocalTime() noexcept {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    const time_t seconds = now.tv_sec;
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int32_t>(now.tv_nsec / 1000000)};
}

int64_t PerformanceCounter() noexcept {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

int64_t PerformanceFrequency() noexcept {
    return 1'000'000'000;
}

}  // namespace Brix::Platform
