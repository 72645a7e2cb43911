// line_template.cpp - the codes of a line template and the limits of a formatted line.
#include "logging/line_template.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "logging/log_environment.h"

namespace Brix {

namespace {

// LineBuilder: collects the text of one line, refusing characters past its limit.
class LineBuilder {
public:
    LineBuilder() { text.reserve(256); }

    void Append(std::string_view part) {
        size_t room = kLimit - text.size();
        text.append(part.substr(0, room));
    }

    // AppendFormatted: appends one snprintf conversion; parts are short, so a small buffer holds them.
    template <typename... Args>
    void AppendFormatted(const char* format, Args... args) {
        char part[64];
        int written = std::snprintf(part, sizeof(part), format, args...);
        if (written > 0) {
            Append(std::string_view(part, std::min(static_cast<size_t>(written), sizeof(part) - 1)));
        }
    }

    // Finish: the line with exactly one trailing line feed.
    std::string Finish() {
        if (text.empty() || text.back() != '\n') {
            text.push_back('\n');
        }
        return std::move(text);
    }

private:
    static constexpr size_t kLimit = kLineBufferSize - 2;
    std::string text;
};

void AppendGroups(LineBuilder& line, uint64_t mask) {
    bool first = true;
    for (int bit = 0; bit < 64; ++bit) {
        if ((mask & (uint64_t{1} << bit)) == 0) {
            continue;
        }
        if (!first) {
            line.Append(";");
        }
        line.Append(GroupName(bit));
        first = false;
    }
}

}  // namespace

LineContext CurrentLineContext() noexcept {
    LineContext context;
    context.executableName = ExecutableName();
    context.threadId = CurrentThreadId();
    context.elapsedMilliseconds = &ElapsedMilliseconds;
    return context;
}

std::string FormatLine(const LogRecord& record, std::string_view lineTemplate, const LineContext& context) {
    LineBuilder line;
    for (size_t i = 0; i < lineTemplate.size(); ++i) {
        char c = lineTemplate[i];
        if (c != '#' || i + 1 == lineTemplate.size()) {
            // A "#" that ends the template has no code after it and stands for itself.
            line.Append(std::string_view(&lineTemplate[i], 1));
            continue;
        }
        char code = lineTemplate[++i];
        switch (code) {
            case 'D': {
                const LogTime& t = record.time;
                line.AppendFormatted("%04d-%02d-%02dT%02d:%02d:%02d.%03d", t.year, t.month, t.day, t.hour,
                                     t.minute, t.second, t.millisecond);
                break;
            }
            case 'E':
                line.Append(context.executableName);
                break;
            case 'G':
                AppendGroups(line, record.groupMask);
                break;
            case 'H': {
                int64_t elapsed = context.elapsedMilliseconds != nullptr ? context.elapsedMilliseconds() : 0;
                line.AppendFormatted("%06d.%03d", static_cast<int>(elapsed / 1000),
                                     static_cast<int>(elapsed % 1000));
                break;
            }
            case 'L':
                line.Append(LevelName(record.level));
                break;
            case 'M':
                line.Append(record.message);
                break;
            case 'T':
                // The identifier is shown the way "%p" shows an address.
                line.AppendFormatted("%p", reinterpret_cast<void*>(  // NOLINT(performance-no-int-to-ptr)
                                               static_cast<uintptr_t>(context.threadId)));
                break;
            default:
                line.Append(std::string_view(&lineTemplate[i], 1));
                break;
        }
    }
    return line.Finish();
}

}  // namespace Brix
