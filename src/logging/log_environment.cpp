// log_environment.cpp - local time, elapsed time, thread identifier and executable name on Linux.
#include "logging/log_environment.h"

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <ctime>

namespace Brix {

namespace {

constexpr std::string_view kUnknownExecutable = "<unknown>";

// ExecutablePath: the path of the running program, kept in static storage that is never torn down,
// so log calls made while the process exits can still read it.
struct ExecutablePath {
    char text[4096] = {};
    size_t length = 0;

    ExecutablePath() noexcept {
        ssize_t read = readlink("/proc/self/exe", text, sizeof(text) - 1);
        if (read > 0) {
            length = static_cast<size_t>(read);
        }
        text[length] = '\0';
    }
};

}  // namespace

LogTime LocalTimeNow() noexcept {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    time_t seconds = now.tv_sec;
    localtime_r(&seconds, &local);
    LogTime time;
    time.year = local.tm_year + 1900;
    time.month = local.tm_mon + 1;
    time.day = local.tm_mday;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec;
    time.millisecond = static_cast<int32_t>(now.tv_nsec / 1000000);
    return time;
}

int64_t ElapsedMilliseconds() noexcept {
    static const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    auto elapsed = std::chrono::steady_clock::now() - start;
    return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

uint64_t CurrentThreadId() noexcept {
    static thread_local const uint64_t id = static_cast<uint64_t>(gettid());
    return id;
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
