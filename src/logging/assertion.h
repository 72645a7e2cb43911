// assertion.h - assertion reports and fatal stops.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Brix {

// Fatal codes: the expression of the report a fatal stop writes.
// kFatalIncompatibleHost: the host's plugin interface version is not compatible with the plugin's.
inline constexpr char kFatalIncompatibleHost[] = "DOV-EECF0606";
// kFatalBrokenFuture: waiting for an asynchronous result met a broken future.
inline constexpr char kFatalBrokenFuture[] = "DOV-6D828C10";

// BuildAssertionReport: the text of an assertion report. "Assertion failed!" and two line feeds,
// then, each only when given (a text when not empty, the line when not 0): "File: " name and a line
// feed; "Line: " number and two line feeds; "Function: " name and two line feeds; "Expression: "
// text; two line feeds, "Description: " and text.
std::string BuildAssertionReport(std::string_view expression, std::string_view description,
                                 std::string_view file, int32_t line, std::string_view function);

// ReportAssertion: logs the report at level ERROR in the plugin's group.
void ReportAssertion(std::string_view expression, std::string_view description, std::string_view file,
                     int32_t line, std::string_view function) noexcept;

// FatalStop: reports an assertion whose expression is `code`, flushes the log targets and aborts the
// process, keeping errno as it was for the crash report. Does not return.
[[noreturn]] void FatalStop(const char* code) noexcept;

}  // namespace Brix
