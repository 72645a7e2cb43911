// log_record.h - log levels, log groups and the record handed to every log target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Brix {

// LogLevel: the severity of a log call. A record passes a filter whose level is not above its own.
enum class LogLevel : int32_t {
    Okay = 0,
    Warn = 1,
    Error = 2,
    Always = 3,
};

// Log groups: each group is one bit of a record's 64-bit group mask.
inline constexpr uint64_t kLogGroupDbg = uint64_t{1} << 0;
inline constexpr uint64_t kLogGroupGen = uint64_t{1} << 1;
inline constexpr uint64_t kLogGroupXtr = uint64_t{1} << 2;
inline constexpr uint64_t kLogGroupPrf = uint64_t{1} << 3;
inline constexpr uint64_t kLogGroupMem = uint64_t{1} << 4;
inline constexpr uint64_t kLogGroupDsk = uint64_t{1} << 5;
inline constexpr uint64_t kLogGroupNet = uint64_t{1} << 6;
inline constexpr uint64_t kLogGroupTst = uint64_t{1} << 7;

// kPluginLogGroup: the group of every log call the plugin makes.
inline constexpr uint64_t kPluginLogGroup = kLogGroupDbg;

// kMaxLogMessageLength: the longest message a record holds; longer messages are cut.
inline constexpr size_t kMaxLogMessageLength = 4095;

// LevelName: the six-character, right-aligned name of a level: "  OKAY", "  WARN", " ERROR",
// "ALWAYS", and "  ????" for a level outside 0..3.
std::string_view LevelName(int32_t level) noexcept;

// GroupName: the three-letter name of group bit `bit` (0 "DBG" to 7 "TST"); "???" for any other bit.
std::string_view GroupName(int bit) noexcept;

// LogTime: a local wall-clock time, to the millisecond.
struct LogTime {
    int32_t year = 0;
    int32_t month = 0;
    int32_t day = 0;
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    int32_t millisecond = 0;
};

// LogRecord: one accepted log call, built once and handed to every target by reference.
struct LogRecord {
    LogTime time;
    int32_t level = 0;
    uint64_t groupMask = 0;
    std::string message;  // at most kMaxLogMessageLength characters
};

}  // namespace Brix
