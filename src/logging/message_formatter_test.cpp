// message_formatter_test.cpp - positional placeholders, printf directives and the formatter's limits.
#include "logging/message_formatter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace Brix {
namespace {

TEST(MessageFormatter, PositionalArgumentsAndPrintfDirectives) {
    const std::pair<std::string, std::string> cases[] = {
        {FormatMessage("Value %1 for '%2' of type %3 is out of range", "12abc", "x", "int32"),
         "Value 12abc for 'x' of type int32 is out of range"},
        {FormatMessage("%2 before %1, %2 again", std::string("one"), std::string_view("two")),
         "two before one, two again"},
        {FormatMessage("%1 %2 %3 %4", std::numeric_limits<int64_t>::min(),
                       std::numeric_limits<uint64_t>::max(), 0.5, int8_t{-3}),
         "-9223372036854775808 18446744073709551615 0.5 -3"},
        {FormatMessage("[%1]", static_cast<const char*>(nullptr)), "[(null)]"},
        {FormatMessage("100%% of %1", 3), "100% of 3"},
        {FormatMessage("%10|%10$03d|%1$s", 1, 2, 3, 4, 5, 6, 7, 8, 9, 10), "10|010|1"},
        // printf directives after the argument number.
        {FormatMessage("%1$05d|%1$-5d|%1$+d|%1$x|%1$#o", 42), "00042|42   |+42|2a|052"},
        {FormatMessage("%1$.2f|%1$8.3e|%1$G", 3.14159), "3.14|3.142e+00|3.14159"},
        {FormatMessage("[%1$6s][%1$-6s][%1$.2s]", "abc"), "[   abc][abc   ][ab]"},
        {FormatMessage("%1$X %2$llu %1$c", 65, uint64_t{1} << 40), "41 1099511627776 A"},
        {FormatMessage("%1$x %1$hhu", -1), "ffffffffffffffff 255"},
        // A directive without a number takes the next argument.
        {FormatMessage("%d-%2-%d", 1, 2), "1-2-2"},
        {FormatMessage("%05.1f", 2.25), "002.2"},
        // Width and precision from arguments.
        {FormatMessage("[%1$*10$d]", 42, 0, 0, 0, 0, 0, 0, 0, 0, 5), "[   42]"},
        {FormatMessage("[%3$*1$.*2$f]", 7, 1, 2.5), "[    2.5]"},
        {FormatMessage("[%1$*2$s]", "ab", -4), "[ab  ]"},
        {FormatMessage("[%1$.*2$s]", "abcdef", -1), "[abcdef]"},
        // A conversion letter outside the argument's set gives its default form.
        {FormatMessage("%1$s %1$f %1$n", -7), "-7 -7 -7"},
        {FormatMessage("%1$d %1$x %1$n", 0.25), "0.25 0.25 0.25"},
        {FormatMessage("%1$d %1$n", "text"), "text text"},
        {FormatMessage("%1$5!|", 3), "    3|"}};
    for (const auto& [actual, expected] : cases) {
        EXPECT_EQ(actual, expected);
    }
}

TEST(MessageFormatter, FormattingEndsAtABadDirective) {
    const std::pair<std::string, std::string> cases[] = {
        {FormatMessage("a %2 b", 1), "a "},
        {FormatMessage("%s %s %s", "x", "y"), "x y "},
        {FormatMessage("[%*d]", 5), "["},
        {FormatMessage("[%1$*3$d]", 1, 2), "["},
        {FormatMessage("no arguments %1"), "no arguments "},
        {FormatMessage("%99999999999999999999 z", 1), ""},
        {FormatMessage("%18446744073709551617 z", 1), ""},  // 2^64 + 1 must not wrap to 1
        {FormatMessage("abc%", 1), "abc"},
        // "%1$" and 56 flags and "d" is 60 characters long: still formatted; one more flag ends it.
        {FormatMessage("<%1$" + std::string(56, '-') + "d>", 4), "<4>"},
        {FormatMessage("<%1$" + std::string(57, '-') + "d>", 4), "<"}};
    for (const auto& [actual, expected] : cases) {
        EXPECT_EQ(actual, expected);
    }
}

TEST(MessageFormatter, OutputIsCutAt4095Characters) {
    std::string big(5000, 'a');
    EXPECT_EQ(FormatMessage("%1", big), std::string(kMaxFormattedMessageLength, 'a'));
    EXPECT_EQ(FormatMessage(big), std::string(kMaxFormattedMessageLength, 'a'));
    std::string padded = FormatMessage("xy%1$*2$d", 5, 100000);
    EXPECT_EQ(padded.size(), kMaxFormattedMessageLength);
    EXPECT_EQ(padded.substr(0, 4), "xy  ");
    EXPECT_EQ(FormatMessage("%1$.9999f", 1.0).size(), kMaxFormattedMessageLength);
}

}  // namespace
}  // namespace Brix
