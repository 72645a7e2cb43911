// console_log_targets.cpp - writing lines to standard error, standard output and the debugger console.
#include "logging/console_log_targets.h"

#include <cstdio>
#include <mutex>

#include "platform/debugger_output.h"

namespace Brix {

namespace {

constexpr std::string_view kStdOutLineTemplate = "#M";

void WriteLine(const std::string& line, std::FILE* stream) {
    std::fwrite(line.data(), 1, line.size(), stream);
}

}  // namespace

BaseConsoleLogTarget::~BaseConsoleLogTarget() {
    LogTarget::Unregister();
}

std::string BaseConsoleLogTarget::FormatRecord(const LogRecord& record) const {
    return FormatLine(record, LineTemplate(), CurrentLineContext());
}

StdErrLogTarget::StdErrLogTarget() : BaseConsoleLogTarget(kLogGroupDbg, kLogGroupGen, kConsoleLineTemplate) {}

void StdErrLogTarget::Write(const LogRecord& record) {
    std::lock_guard guard(Lock());
    WriteLine(FormatRecord(record), stderr);
}

void StdErrLogTarget::Flush() {
    std::lock_guard guard(Lock());
    std::fflush(stderr);
}

StdOutLogTarget::StdOutLogTarget() : BaseConsoleLogTarget(kLogGroupGen, kLogGroupDbg, kStdOutLineTemplate) {}

void StdOutLogTarget::Write(const LogRecord& record) {
    std::lock_guard guard(Lock());
    WriteLine(FormatRecord(record), stdout);
    if (FlushEachLine()) {
        std::fflush(stdout);
    }
}

void StdOutLogTarget::Flush() {
    std::lock_guard guard(Lock());
    std::fflush(stdout);
}

DebuggerConsoleLogTarget::DebuggerConsoleLogTarget()
    : BaseConsoleLogTarget(kLogGroupDbg, 0, kConsoleLineTemplate) {}

void DebuggerConsoleLogTarget::Write(const LogRecord& record) {
    std::lock_guard guard(Lock());
    Platform::WriteToDebugger(FormatRecord(record).c_str());
}

}  // namespace Brix
