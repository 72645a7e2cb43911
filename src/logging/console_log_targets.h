// console_log_targets.h - the built-in targets: standard error, standard output and debugger console.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "logging/log_target.h"

namespace Brix {

// kConsoleLineTemplate: the line template of the standard-error and debugger targets.
inline constexpr std::string_view kConsoleLineTemplate = "#E(#T): #L| #M";

// BaseConsoleLogTarget: the base of the targets that write formatted lines to a console. Its
// destructor unregisters the target while the subclass's write can no longer be reached.
class BaseConsoleLogTarget : public LogTarget {
public:
    using LogTarget::LogTarget;
    ~BaseConsoleLogTarget() override;

    std::string_view ClassName() const override { return "BaseConsoleLogTarget"; }
    void Write(const LogRecord& record) override = 0;
    void Flush() override = 0;

protected:
    // FormatRecord: the line this target's template makes of `record` on the calling thread.
    std::string FormatRecord(const LogRecord& record) const;
};

// StdErrLogTarget: writes lines to standard error. Takes group DBG, refuses group GEN.
class StdErrLogTarget : public BaseConsoleLogTarget {
public:
    StdErrLogTarget();

    std::string_view ClassName() const override { return "StdErrLogTarget"; }
    void Write(const LogRecord& record) override;
    void Flush() override;
};

// StdOutLogTarget: writes lines to standard output, flushing after each one when asked to. Takes
// group GEN, refuses group DBG.
class StdOutLogTarget : public BaseConsoleLogTarget {
public:
    StdOutLogTarget();

    std::string_view ClassName() const override { return "StdOutLogTarget"; }
    void Write(const LogRecord& record) override;
    void Flush() override;

    // SetFlushEachLine is the flag's switch for a host that wants unbuffered lines; nothing here sets it.
    void SetFlushEachLine(bool flush) { flushEachLine.store(flush, std::memory_order_relaxed); }
    bool FlushEachLine() const { return flushEachLine.load(std::memory_order_relaxed); }

private:
    std::atomic<bool> flushEachLine{false};
};

// DebuggerConsoleLogTarget: the debugger's output channel. Linux has no such channel, so the target
// keeps its place among the registered targets and writes nothing. Takes group DBG.
class DebuggerConsoleLogTarget : public BaseConsoleLogTarget {
public:
    DebuggerConsoleLogTarget();

    std::string_view ClassName() const override { return "DebuggerConsoleLogTarget"; }
    void Write(const LogRecord& record) override;
    void Flush() override {}
};

}  // namespace Brix
