// log_environment.cpp - local time, elapsed time, thread identifier and executable name, from the
// platform's clocks and process identity.
#include "logging/log_environment.h"

#include "platform/process_identity.h"
#include "platform/system_clock.h"

namespace Brix {

namespace {

constexpr std::string_view kUnknownExecutable = "<unknown>";

// ExecutablePath: the path of the running program, kept in static storage that is never torn down,
// so log calls made while the process exits can still read it.
struct ExecutablePath {
    char text[4096] = {};
    size_t length = 0;

    ExecutablePath() noexcept : length(Platform::ReadExecutablePath(text, sizeof text)) {}
};

}  // namespace

LogTime LocalTimeNow() noexcept {
    const Platform::LocalTime local = Platform::ReadLocalTime();
    LogTime time;
    time.year = local.year;
    time.month = local.month;
    time.day = local.day;
    time.hour = local.hour;
    time.minute = local.minute;
    time.second = local.second;
    time.millisecond = local.millisecond;
    return time;
}

int64_t ElapsedMilliseconds() noexcept {
    static const int64_t start = Platform::PerformanceCounter();
    const int64_t ticks = Platform::PerformanceCounter() - start;
    const int64_t frequency = Platform::PerformanceFrequency();
    return ticks / frequency * 1000 + ticks % frequency * 1000 / frequency;
}

uint64_t CurrentThreadId() noexcept {
    return Platform::CurrentThreadId();
}

std::string_view ExecutableNameFromPath(std::string_view path) noexcept {
    size_t separator = path.find_last_of("/\\");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    return name.empty() ? kUnknownExecutable : name;
}

std::string_view ExecutableName() noexcept {
    static const ExecutablePath path;
    return ExecutableNameFromPath(std::string_view(path.text, path.length));
}

}  // namespace Brix
