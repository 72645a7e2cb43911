// line_template_test.cpp - the codes of line templates and the limits of a formatted line.
#include "logging/line_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace Brix {
namespace {

LogRecord SampleRecord(std::string message, int32_t level = 1, uint64_t groups = kLogGroupDbg) {
    LogRecord record;
    record.time = LogTime{2026, 1, 31, 14, 5, 9, 42};
    record.level = level;
    record.groupMask = groups;
    record.message = std::move(message);
    return record;
}

LineContext SampleContext() {
    LineContext context;
    context.executableName = "GameClient.exe";
    context.threadId = 0x2a;
    context.elapsedMilliseconds = [] { return int64_t{12345}; };
    return context;
}

// ThreadText is #T for the sample's thread identifier: the C library's "%p" of it, whose form is the
// platform's ("0x2a" with glibc, "0000002A" with the Windows runtime).
std::string ThreadText() {
    char text[32];
    std::snprintf(text, sizeof text, "%p", reinterpret_cast<void*>(uintptr_t{0x2a}));  // NOLINT
    return text;
}

TEST(LineTemplate, CodesAndTheirTexts) {
    struct Case {
        LogRecord record;
        std::string_view lineTemplate;
        std::string expected;
    };
    const Case cases[] = {
        {SampleRecord("hello", 2, kLogGroupDbg | kLogGroupNet), "#D|#E|#G|#H|#L|#M|#T",
         "2026-01-31T14:05:09.042|GameClient.exe|DBG;NET|000012.345| ERROR|hello|" + ThreadText() + "\n"},
        {SampleRecord("No queue found with id 7"), kDefaultLineTemplate,
         "2026-01-31T14:05:09.042|   WARN| DBG| No queue found with id 7\n"},
        // Names of levels and groups, unknown ones included.
        {SampleRecord("", 0), "#L", "  OKAY\n"},
        {SampleRecord("", -1), "#L", "  ????\n"},
        {SampleRecord("", 1, 0), "[#G]", "[]\n"},
        {SampleRecord("", 1, 0xFEu), "#G", "GEN;XTR;PRF;MEM;DSK;NET;TST\n"},
        {SampleRecord("", 1, (uint64_t{1} << 8) | (uint64_t{1} << 63)), "#G", "???;???\n"},
        // Other characters after a hash stand for themselves.
        {SampleRecord("msg"), "#Q#M", "Qmsg\n"},
        {SampleRecord("msg"), "## #d", "# d\n"},
        // A line ends in exactly one line feed of its own.
        {SampleRecord("done\n"), "#M", "done\n"},
        {SampleRecord("two\n\n"), "#M", "two\n\n"},
        {SampleRecord(""), "#M", "\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatLine(c.record, c.lineTemplate, SampleContext()), c.expected) << c.lineTemplate;
    }
    // Without a clock the elapsed time reads zero.
    EXPECT_EQ(FormatLine(SampleRecord(""), "#H", LineContext{}), "000000.000\n");
}

TEST(LineTemplate, LongLineStopsTwoBytesBeforeTheBufferEnd) {
    std::string line = FormatLine(SampleRecord(std::string(5000, 'm')), "> #M", SampleContext());
    ASSERT_EQ(line.size(), kLineBufferSize - 1);
    EXPECT_EQ(line.substr(0, 3), "> m");
    EXPECT_EQ(line[line.size() - 2], 'm');
    EXPECT_EQ(line.back(), '\n');

    // A long template is cut the same way, codes after the limit included.
    std::string longTemplate = std::string(kLineBufferSize, 't') + "#M";
    EXPECT_EQ(FormatLine(SampleRecord("msg"), longTemplate, SampleContext()),
              std::string(kLineBufferSize - 2, 't') + "\n");
}

}  // namespace
}  // namespace Brix
