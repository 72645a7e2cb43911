// logger.cpp - the process-wide logger: its lifetime, its settings and the dispatch of log calls.
#include "logging/logger.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

#include "logging/console_log_targets.h"
#include "logging/log_environment.h"
#include "logging/log_target.h"
#include "logging/logger_internal.h"

namespace Brix {

namespace {

// Logger: the state of the one logger of the process, guarded by LoggerInternal::Lock().
struct Logger {
    int32_t minimumLevel = static_cast<int32_t>(LogLevel::Warn);
    uint64_t excludedGroups = kLogGroupXtr;
    bool muted = false;
    bool reservedFlag = false;
    uint64_t warningCount = 0;
    uint64_t errorCount = 0;
    std::vector<LogTarget*> targets;  // in order of registration
    StdErrLogTarget stdErr;
    StdOutLogTarget stdOut;
    DebuggerConsoleLogTarget debuggerConsole;
};

Logger* current = nullptr;
std::atomic<uint64_t> referenceCount{0};
// Set once the library is being unloaded: from then on a logger is only made by Acquire.
bool shutDown = false;
// Non-zero while this thread is inside a target's Write.
thread_local int writingDepth = 0;

void Create() noexcept {
    try {
        current = new Logger;
    } catch (...) {
        return;
    }
    current->stdErr.Register();
    current->debuggerConsole.Register();
}

// Destroy: unregisters every target, newest first, then frees the logger with its built-in targets.
void Destroy() noexcept {
    Logger* logger = current;
    if (logger == nullptr) {
        return;
    }
    while (!logger->targets.empty()) {
        LogTarget* target = logger->targets.back();
        try {
            target->Unregister();
        } catch (...) {
        }
        if (!logger->targets.empty() && logger->targets.back() == target) {
            logger->targets.pop_back();  // an Unregister that did not detach its target
        }
    }
    current = nullptr;
    delete logger;
}

Logger* Current(bool create) noexcept {
    if (current == nullptr && create && !shutDown) {
        Create();
    }
    return current;
}

void Dispatch(Logger& logger, const LogRecord& record) {
    for (size_t i = 0; i < logger.targets.size(); ++i) {
        LogTarget* target = logger.targets[i];
        if (!target->Accepts(record.level, record.groupMask)) {
            continue;
        }
        ++writingDepth;
        try {
            target->Write(record);
        } catch (...) {
        }
        --writingDepth;
        if (current != &logger) {
            return;  // the target released the last reference
        }
    }
}

// LoggerReaper: frees the logger when the library is unloaded or the process ends.
struct LoggerReaper {
    LoggerReaper() = default;
    LoggerReaper(const LoggerReaper&) = delete;
    LoggerReaper& operator=(const LoggerReaper&) = delete;
    ~LoggerReaper() {
        std::lock_guard guard(LoggerInternal::Lock());
        shutDown = true;
        Destroy();
    }
};

LoggerReaper reaper;

}  // namespace

namespace LoggerInternal {

std::recursive_mutex& Lock() noexcept {
    static std::recursive_mutex lock;
    return lock;
}

bool Attach(LogTarget& target) noexcept {
    Logger* logger = Current(true);
    if (logger == nullptr) {
        return false;
    }
    try {
        logger->targets.push_back(&target);
    } catch (...) {
        return false;
    }
    return true;
}

void Detach(LogTarget& target) noexcept {
    if (current != nullptr) {
        std::erase(current->targets, &target);
    }
}

}  // namespace LoggerInternal

void LogV(int32_t level, uint64_t groupMask, const char* format, va_list arguments) noexcept {
    if (format == nullptr || writingDepth > 0) {
        return;
    }
    try {
        std::lock_guard guard(LoggerInternal::Lock());
        Logger* logger = Current(true);
        if (logger == nullptr || logger->muted || level < logger->minimumLevel ||
            (groupMask & logger->excludedGroups) != 0) {
            return;
        }
        char message[kMaxLogMessageLength + 1];
        // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized): every caller starts the list.
        int written = std::vsnprintf(message, sizeof(message), format, arguments);
        LogRecord record;
        record.message.assign(message,
                              std::min(static_cast<size_t>(std::max(written, 0)), kMaxLogMessageLength));
        record.time = LocalTimeNow();
        record.level = level;
        record.groupMask = groupMask;
        if (level == static_cast<int32_t>(LogLevel::Warn)) {
            ++logger->warningCount;
        } else if (level == static_cast<int32_t>(LogLevel::Error)) {
            ++logger->errorCount;
        }
        Dispatch(*logger, record);
    } catch (...) {
        // Logging never fails towards its caller.
    }
}

void Log(int32_t level, uint64_t groupMask, const char* format, ...) noexcept {
    va_list arguments;
    va_start(arguments, format);
    LogV(level, groupMask, format, arguments);
    va_end(arguments);
}

void Log(LogLevel level, uint64_t groupMask, const char* format, ...) noexcept {
    va_list arguments;
    va_start(arguments, format);
    LogV(static_cast<int32_t>(level), groupMask, format, arguments);
    va_end(arguments);
}

void LoggerControl::Acquire() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    referenceCount.fetch_add(1, std::memory_order_acq_rel);
    if (current == nullptr) {
        Create();
    }
}

void LoggerControl::Release() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (referenceCount.load(std::memory_order_acquire) == 0) {
        return;
    }
    if (referenceCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        Destroy();
    }
}

void LoggerControl::SetMinimumLevel(int32_t level) noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (Logger* logger = Current(true)) {
        logger->minimumLevel = level;
    }
}

int32_t LoggerControl::MinimumLevel() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    return current != nullptr ? current->minimumLevel : static_cast<int32_t>(LogLevel::Warn);
}

void LoggerControl::SetExcludedGroups(uint64_t groups) noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (Logger* logger = Current(true)) {
        logger->excludedGroups = groups;
    }
}

uint64_t LoggerControl::ExcludedGroups() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    return current != nullptr ? current->excludedGroups : kLogGroupXtr;
}

void LoggerControl::Mute() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (Logger* logger = Current(true)) {
        logger->muted = true;
    }
}

void LoggerControl::Unmute() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (Logger* logger = Current(true)) {
        logger->muted = false;
    }
}

void LoggerControl::SetReservedFlag() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (Logger* logger = Current(true)) {
        logger->reservedFlag = true;
    }
}

void LoggerControl::ClearReservedFlag() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (Logger* logger = Current(true)) {
        logger->reservedFlag = false;
    }
}

bool LoggerControl::RegisterTarget(LogTarget* target) noexcept {
    try {
        return target != nullptr && target->Register();
    } catch (...) {
        return false;
    }
}

bool LoggerControl::UnregisterTarget(LogTarget* target) noexcept {
    try {
        return target != nullptr && target->Unregister();
    } catch (...) {
        return false;
    }
}

LogTarget* LoggerControl::FindTarget(std::string_view className) noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (current == nullptr) {
        return nullptr;
    }
    for (LogTarget* target : current->targets) {
        if (target->ClassName() == className) {
            return target;
        }
    }
    return nullptr;
}

StdErrLogTarget* LoggerControl::StdErrTarget() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    Logger* logger = Current(true);
    return logger != nullptr ? &logger->stdErr : nullptr;
}

StdOutLogTarget* LoggerControl::StdOutTarget() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    Logger* logger = Current(true);
    return logger != nullptr ? &logger->stdOut : nullptr;
}

DebuggerConsoleLogTarget* LoggerControl::DebuggerConsoleTarget() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    Logger* logger = Current(true);
    return logger != nullptr ? &logger->debuggerConsole : nullptr;
}

uint64_t LoggerControl::WarningCount() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    return current != nullptr ? current->warningCount : 0;
}

uint64_t LoggerControl::ErrorCount() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    return current != nullptr ? current->errorCount : 0;
}

void LoggerControl::FlushTargets() noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (current == nullptr) {
        return;
    }
    for (size_t i = 0; i < current->targets.size(); ++i) {
        try {
            current->targets[i]->Flush();
        } catch (...) {
        }
    }
}

}  // namespace Brix
