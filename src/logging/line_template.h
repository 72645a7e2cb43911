// line_template.h - turning a log record into one line of text through a line template.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "logging/log_record.h"

namespace Brix {

// kDefaultLineTemplate: the line template a target starts with.
inline constexpr std::string_view kDefaultLineTemplate = "#D| #L| #G| #M";

// kLineBufferSize: the size of the buffer a line is formatted into, terminator included. The text
// before the final line feed stops two bytes before its end.
inline constexpr size_t kLineBufferSize = 4096;

// LineContext: what a line takes from outside its record.
struct LineContext {
    std::string_view executableName;             // #E
    uint64_t threadId = 0;                       // #T
    int64_t (*elapsedMilliseconds)() = nullptr;  // #H; read only when the template asks; none reads 0
};

// CurrentLineContext: the context of the calling thread in the running process.
LineContext CurrentLineContext() noexcept;

// FormatLine: the line `lineTemplate` makes of `record`. Codes: #D local time, #E executable name,
// #G group names joined by ";", #H elapsed seconds, #L level name, #M message, #T thread identifier;
// "#" before any other character inserts that character. The line ends in exactly one line feed.
std::string FormatLine(const LogRecord& record, std::string_view lineTemplate, const LineContext& context);

}  // namespace Brix
