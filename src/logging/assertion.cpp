// assertion.cpp - building and logging assertion reports, and ending the process at a fatal stop.
#include "logging/assertion.h"

#include <cerrno>
#include <cstdlib>

#include "logging/logger.h"

namespace Brix {

std::string BuildAssertionReport(std::string_view expression, std::string_view description,
                                 std::string_view file, int32_t line, std::string_view function) {
    std::string report = "Assertion failed!\n\n";
    if (!file.empty()) {
        report.append("File: ").append(file).append("\n");
    }
    if (line != 0) {
        report.append("Line: ").append(std::to_string(line)).append("\n\n");
    }
    if (!function.empty()) {
        report.append("Function: ").append(function).append("\n\n");
    }
    if (!expression.empty()) {
        report.append("Expression: ").append(expression);
    }
    if (!description.empty()) {
        report.append("\n\nDescription: ").append(description);
    }
    return report;
}

void ReportAssertion(std::string_view expression, std::string_view description, std::string_view file,
                     int32_t line, std::string_view function) noexcept {
    try {
        std::string report = BuildAssertionReport(expression, description, file, line, function);
        Log(LogLevel::Error, kPluginLogGroup, "%s", report.c_str());
    } catch (...) {
        // A report that cannot be built is not written.
    }
}

void FatalStop(const char* code) noexcept {
    int savedErrno = errno;
    ReportAssertion(code != nullptr ? code : "", {}, {}, 0, {});
    LoggerControl::FlushTargets();
    errno = savedErrno;
    std::abort();
}

}  // namespace Brix
