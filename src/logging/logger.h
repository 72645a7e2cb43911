// logger.h - the process-wide logger: the log calls, the logger control and logger references.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <string_view>

#include "logging/log_record.h"

namespace Brix {

class LogTarget;
class StdErrLogTarget;
class StdOutLogTarget;
class DebuggerConsoleLogTarget;

// Log: the entry of every log call. Formats the message printf-style (cut at kMaxLogMessageLength
// characters) and hands the record to every registered target that takes it. The call is dropped
// while the logger is muted, when `level` is below the logger's minimum level, or when `groupMask`
// shares a bit with the logger's excluded groups. A call made while a target is writing, on the
// thread that writes, is dropped as well, so a target that logs cannot recurse into itself. Never
// fails towards the caller. The format is checked at compile time as the build's printf family reads
// it (HUX_PRINTF_FORMAT, set by the build: printf, or gnu_printf where MinGW-w64's C99 printf is used).
void Log(int32_t level, uint64_t groupMask, const char* format, ...) noexcept
    __attribute__((format(HUX_PRINTF_FORMAT, 3, 4)));
void Log(LogLevel level, uint64_t groupMask, const char* format, ...) noexcept
    __attribute__((format(HUX_PRINTF_FORMAT, 3, 4)));

// LogV: Log with its arguments in a va_list.
void LogV(int32_t level, uint64_t groupMask, const char* format, va_list arguments) noexcept
    __attribute__((format(HUX_PRINTF_FORMAT, 3, 0)));

// LoggerControl: the operations on the one logger of the process.
//
// Lifetime: the logger is reference-counted. Acquire creates it when there is none; the Release that
// brings the count back to 0 unregisters every target (newest first), destroys the built-in targets
// and frees the logger. A log call, a setter or a registration made while there is no logger creates
// one without taking a reference: such a logger is freed by the next Release that brings the count
// to 0, or when the library is unloaded. Getters never create the logger; without one they answer
// the defaults. A Release without a matching Acquire does nothing.
//
// At creation the three built-in targets are made and the standard-error and debugger targets are
// registered, in that order.
class LoggerControl {
public:
    LoggerControl() = delete;

    // Version: the version of this control, 1.
    static int32_t Version() noexcept { return 1; }
    static void Acquire() noexcept;
    static void Release() noexcept;

    // The minimum level of a record, default 1.
    static void SetMinimumLevel(int32_t level) noexcept;
    static int32_t MinimumLevel() noexcept;
    // The groups whose records are dropped, default XTR.
    static void SetExcludedGroups(uint64_t groups) noexcept;
    static uint64_t ExcludedGroups() noexcept;
    // Mute: drops every call until Unmute.
    static void Mute() noexcept;
    static void Unmute() noexcept;
    // The reserved flag: kept for the table's shape; set and cleared, and read by nothing.
    static void SetReservedFlag() noexcept;
    static void ClearReservedFlag() noexcept;

    // RegisterTarget and UnregisterTarget: the target's own Register and Unregister.
    static bool RegisterTarget(LogTarget* target) noexcept;
    static bool UnregisterTarget(LogTarget* target) noexcept;
    // FindTarget: the first registered target whose ClassName is `className`, or null.
    static LogTarget* FindTarget(std::string_view className) noexcept;

    // The built-in targets, alive as long as the logger; null only when no logger can be made.
    static StdErrLogTarget* StdErrTarget() noexcept;
    static StdOutLogTarget* StdOutTarget() noexcept;
    static DebuggerConsoleLogTarget* DebuggerConsoleTarget() noexcept;

    // The number of accepted records of level 1 and of level 2 since the logger was created.
    static uint64_t WarningCount() noexcept;
    static uint64_t ErrorCount() noexcept;
    // FlushTargets: flushes every registered target, in registration order.
    static void FlushTargets() noexcept;
};

// LoggerReference: holds one reference to the logger for its lifetime.
class LoggerReference {
public:
    LoggerReference() noexcept { LoggerControl::Acquire(); }
    ~LoggerReference() { LoggerControl::Release(); }

    LoggerReference(const LoggerReference&) = delete;
    LoggerReference& operator=(const LoggerReference&) = delete;
};

}  // namespace Brix
