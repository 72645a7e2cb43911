// line_template_test.cpp - the codes of line templates and the limits of a formatted line.
#include "logging/line_template.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

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

int64_t FixedElapsed() {
    return 12345;
}

LineContext SampleContext() {
    LineContext context;
    context.executableName = "GameClient.exe";
    context.threadId = 0x2a;
    context.elapsedMilliseconds = &FixedElapsed;
    return context;
}

// ThreadText is #T for the sample's thread identifier: the C library's "%p" of it, whose form is the
// platform's ("0x2a" with glibc, "0000002A" with the Windows runtime).
std::string ThreadText() {
    char text[32];
    std::snprintf(text, sizeof text, "%p", reinterpret_cast<void*>(uintptr_t{0x2a}));  // NOLINT
    return text;
}

TEST(LineTemplate, EveryCode) {
    LogRecord record = SampleRecord("hello", 2, kLogGroupDbg | kLogGroupNet);
    EXPECT_EQ(
        FormatLine(record, "#D|#E|#G|#H|#L|#M|#T", SampleContext()),
        "2026-01-31T14:05:09.042|GameClient.exe|DBG;NET|000012.345| ERROR|hello|" + ThreadText() + "\n");
}

TEST(LineTemplate, TemplatesOfTheTargets) {
    LogRecord record = SampleRecord("No queue found with id 7");
    EXPECT_EQ(FormatLine(record, kDefaultLineTemplate, SampleContext()),
              "2026-01-31T14:05:09.042|   WARN| DBG| No queue found with id 7\n");
    EXPECT_EQ(FormatLine(record, "#E(#T): #L| #M", SampleContext()),
              "GameClient.exe(" + ThreadText() + "):   WARN| No queue found with id 7\n");
}

TEST(LineTemplate, NamesOfLevelsAndGroups) {
    LineContext context = SampleContext();
    EXPECT_EQ(FormatLine(SampleRecord("", 0), "#L", context), "  OKAY\n");
    EXPECT_EQ(FormatLine(SampleRecord("", 3), "#L", context), "ALWAYS\n");
    EXPECT_EQ(FormatLine(SampleRecord("", 7), "#L", context), "  ????\n");
    EXPECT_EQ(FormatLine(SampleRecord("", 1, 0), "[#G]", context), "[]\n");
    EXPECT_EQ(FormatLine(SampleRecord("", 1, 0xFEu), "#G", context), "GEN;XTR;PRF;MEM;DSK;NET;TST\n");
    EXPECT_EQ(FormatLine(SampleRecord("", 1, (uint64_t{1} << 8) | (uint64_t{1} << 63)), "#G", context),
              "???;???\n");
}

TEST(LineTemplate, OtherCharactersAfterHashStandForThemselves) {
    LineContext context = SampleContext();
    EXPECT_EQ(FormatLine(SampleRecord("msg"), "#Q#M", context), "Qmsg\n");
    EXPECT_EQ(FormatLine(SampleRecord("msg"), "## #d", context), "# d\n");
    EXPECT_EQ(FormatLine(SampleRecord("msg"), "#M#", context), "msg#\n");
}

TEST(LineTemplate, EndsInExactlyOneLineFeed) {
    LineContext context = SampleContext();
    EXPECT_EQ(FormatLine(SampleRecord("done\n"), "#M", context), "done\n");
    EXPECT_EQ(FormatLine(SampleRecord("two\n\n"), "#M", context), "two\n\n");
    EXPECT_EQ(FormatLine(SampleRecord("msg"), "", context), "\n");
    EXPECT_EQ(FormatLine(SampleRecord(""), "#M", context), "\n");
}

TEST(LineTemplate, ElapsedWithoutClockReadsZero) {
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
