// log_environment.h - what a log line takes from the running process: local time, elapsed time,
// thread identifier and executable name.
#pragma once

#include <cstdint>
#include <string_view>

#include "logging/log_record.h"

namespace Brix {

// LocalTimeNow: the local wall-clock time, to the millisecond.
LogTime LocalTimeNow() noexcept;

// ElapsedMilliseconds: milliseconds since the first call of this function in the process, read from
// a monotonic high-resolution clock that starts at that first call.
int64_t ElapsedMilliseconds() noexcept;

// CurrentThreadId: the operating system's identifier of the calling thread.
uint64_t CurrentThreadId() noexcept;

// ExecutableNameFromPath: the file name part of a program path, after the last "/" or "\";
// "<unknown>" when the path has no file name.
std::string_view ExecutableNameFromPath(std::string_view path) noexcept;

// ExecutableName: the file name of the running program, read once; "<unknown>" when it cannot be read.
std::string_view ExecutableName() noexcept;

}  // namespace Brix
