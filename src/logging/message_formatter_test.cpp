// message_formatter_test.cpp - positional placeholders, printf directives and the formatter's limits.
#include "logging/message_formatter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace Brix {
namespace {

TEST(MessageFormatter, PositionalArgumentsInNaturalForm) {
    EXPECT_EQ(FormatMessage("Value %1 for '%2' of type %3 is out of range", "12abc", "x", "int32"),
              "Value 12abc for 'x' of type int32 is out of range");
    EXPECT_EQ(FormatMessage("%1.%2.%3", 18u, 0u, 0u), "18.0.0");
    EXPECT_EQ(FormatMessage("%2 before %1, %2 again", std::string("one"), std::string_view("two")),
              "two before one, two again");
    EXPECT_EQ(FormatMessage("%1 %2 %3 %4", std::numeric_limits<int64_t>::min(),
                            std::numeric_limits<uint64_t>::max(), 0.5, int8_t{-3}),
              "-9223372036854775808 18446744073709551615 0.5 -3");
    EXPECT_EQ(FormatMessage("[%1]", static_cast<const char*>(nullptr)), "[(null)]");
    EXPECT_EQ(FormatMessage("100%% of %1", 3), "100% of 3");
    EXPECT_EQ(FormatMessage("%10|%10$03d|%1$s", 1, 2, 3, 4, 5, 6, 7, 8, 9, 10), "10|010|1");
}

TEST(MessageFormatter, PrintfDirectivesAfterArgumentNumber) {
    EXPECT_EQ(FormatMessage("%1$05d|%1$-5d|%1$+d|%1$x|%1$#o", 42), "00042|42   |+42|2a|052");
    EXPECT_EQ(FormatMessage("%1$.2f|%1$8.3e|%1$G", 3.14159), "3.14|3.142e+00|3.14159");
    EXPECT_EQ(FormatMessage("[%1$6s][%1$-6s][%1$.2s]", "abc"), "[   abc][abc   ][ab]");
    EXPECT_EQ(FormatMessage("%1$X %2$llu %1$c", 65, uint64_t{1} << 40), "41 1099511627776 A");
    EXPECT_EQ(FormatMessage("%1$hhd %1$hx %1$ld", 0x12345), "69 2345 74565");
    EXPECT_EQ(FormatMessage("%1$x %1$hhu", -1), "ffffffffffffffff 255");
}

TEST(MessageFormatter, DirectiveWithoutNumberTakesNextArgument) {
    EXPECT_EQ(FormatMessage("%s and %s", "a", "b"), "a and b");
    EXPECT_EQ(FormatMessage("%d-%2-%d", 1, 2), "1-2-2");
    EXPECT_EQ(FormatMessage("%05.1f", 2.25), "002.2");
}

TEST(MessageFormatter, WidthAndPrecisionFromArguments) {
    EXPECT_EQ(FormatMessage("[%1$*2$d]", 42, 5), "[   42]");
    EXPECT_EQ(FormatMessage("[%1$*10$d]", 42, 0, 0, 0, 0, 0, 0, 0, 0, 5), "[   42]");
    EXPECT_EQ(FormatMessage("[%*d]", 5, 42), "[   42]");
    EXPECT_EQ(FormatMessage("[%.*f]", 2, 3.14159), "[3.14]");
    EXPECT_EQ(FormatMessage("[%3$*1$.*2$f]", 7, 1, 2.5), "[    2.5]");
    EXPECT_EQ(FormatMessage("[%1$*2$s]", "ab", -4), "[ab  ]");
    EXPECT_EQ(FormatMessage("[%1$.*2$s]", "abcdef", -1), "[abcdef]");
}

TEST(MessageFormatter, ConversionLetterOutsideTheArgumentsSetGivesTheDefault) {
    EXPECT_EQ(FormatMessage("%1$s %1$f %1$n", -7), "-7 -7 -7");
    EXPECT_EQ(FormatMessage("%1$s %1$e %1$n", 7u), "7 7 7");
    EXPECT_EQ(FormatMessage("%1$d %1$x %1$n", 0.25), "0.25 0.25 0.25");
    EXPECT_EQ(FormatMessage("%1$d %1$n", "text"), "text text");
    EXPECT_EQ(FormatMessage("%1$5!|", 3), "    3|");
}

TEST(MessageFormatter, FormattingEndsAtABadDirective) {
    EXPECT_EQ(FormatMessage("a %2 b", 1), "a ");
    EXPECT_EQ(FormatMessage("a %2$d b", 1), "a ");
    EXPECT_EQ(FormatMessage("%s %s %s", "x", "y"), "x y ");
    EXPECT_EQ(FormatMessage("[%*d]", 5), "[");
    EXPECT_EQ(FormatMessage("[%1$*3$d]", 1, 2), "[");
    EXPECT_EQ(FormatMessage("no arguments %1"), "no arguments ");
    EXPECT_EQ(FormatMessage("%99999999999999999999 z", 1), "");
    EXPECT_EQ(FormatMessage("%18446744073709551617 z", 1), "");  // 2^64 + 1 must not wrap to 1
    EXPECT_EQ(FormatMessage("%0 z", 1), "");
    EXPECT_EQ(FormatMessage("abc%1$-", 1), "abc");
    EXPECT_EQ(FormatMessage("abc%", 1), "abc");

    // "%1$" and 56 flags and "d" is 60 characters long: still formatted; one more flag ends it.
    std::string longest = "%1$" + std::string(56, '-') + "d";
    EXPECT_EQ(FormatMessage("<" + longest + ">", 4), "<4>");
    EXPECT_EQ(FormatMessage("<%1$-" + longest.substr(3) + ">", 4), "<");
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
