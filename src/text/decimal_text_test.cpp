// decimal_text_test.cpp - integer texts under each option, at the edges of their bounds.
#include "text/decimal_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace Brix::Text {
namespace {

constexpr DecimalOptions kDigitsOnly{};
constexpr DecimalOptions kSpace{.skipSpace = true};
constexpr DecimalOptions kSign{.allowSign = true};
constexpr DecimalOptions kRest{.allowRest = true};
constexpr DecimalOptions kLikeStoi{.skipSpace = true, .allowSign = true, .allowRest = true};
constexpr DecimalOptions kSaturated{
    .skipSpace = true, .allowSign = true, .allowRest = true, .saturate = true};
constexpr DecimalOptions kLikeStrtol{.skipSpace = true, .allowSign = true, .cPrefixes = true};

// Width is the destination a case reads into, with its whole range as the bounds.
enum class Width { Int32, Int64, UInt64 };

struct Case {
    Width width;
    std::string_view text;
    DecimalOptions options;
    std::string_view expected;  // "<status> <value> @<end>"
};

template <class Integer>
std::string Shown(const DecimalResult<Integer>& result) {
    const char* status = result.status == DecimalStatus::Ok         ? "Ok"
                         : result.status == DecimalStatus::NoNumber ? "NoNumber"
                                                                    : "OutOfRange";
    return std::string(status) + " " + std::to_string(result.value) + " @" + std::to_string(result.end);
}

std::string Parsed(const Case& c) {
    switch (c.width) {
        case Width::Int32:
            return Shown(ParseDecimal<int32_t>(c.text, c.options));
        case Width::Int64:
            return Shown(ParseDecimal<int64_t>(c.text, c.options));
        case Width::UInt64:
            break;
    }
    return Shown(ParseDecimal<uint64_t>(c.text, c.options));
}

TEST(DecimalText, EachOptionAtTheEdgesOfEachWidth) {
    constexpr Width k32 = Width::Int32;
    constexpr Width k64 = Width::Int64;
    constexpr Width kU64 = Width::UInt64;
    const Case cases[] = {
        {k32, "420", kDigitsOnly, "Ok 420 @3"},
        {k32, "0042", kDigitsOnly, "Ok 42 @4"},
        {k32, "", kDigitsOnly, "NoNumber 0 @0"},
        {k32, " 7", kDigitsOnly, "NoNumber 0 @0"},
        {k32, " \t\n\v\f\r7", kSpace, "Ok 7 @7"},
        {k32, "   ", kSpace, "NoNumber 0 @0"},
        {k32, "7 ", kSpace, "NoNumber 0 @1"},
        {k32, "7 ", kRest, "Ok 7 @1"},
        {k32, "12abc", kRest, "Ok 12 @2"},
        {k32, "+5", kDigitsOnly, "NoNumber 0 @0"},
        {k32, "+5", kSign, "Ok 5 @2"},
        {k32, "-5", kSign, "Ok -5 @2"},
        {k32, "-0", kSign, "Ok 0 @2"},
        {k32, "-", kSign, "NoNumber 0 @0"},
        {k32, "+-5", kSign, "NoNumber 0 @0"},
        {k32, "- 5", kLikeStoi, "NoNumber 0 @0"},
        {k32, "  -12abc", kLikeStoi, "Ok -12 @5"},
        {k32, "0x10", kLikeStoi, "Ok 0 @1"},
        {k32, "2147483647", kSign, "Ok 2147483647 @10"},
        {k32, "2147483648", kSign, "OutOfRange 0 @10"},
        {k32, "-2147483648", kSign, "Ok -2147483648 @11"},
        {k32, "-2147483649", kSign, "OutOfRange 0 @11"},
        {k32, "99999999999999999999999", kSign, "OutOfRange 0 @23"},
        {k32, "99999999999999999999999x", kSign, "NoNumber 0 @23"},
        {k32, "2147483648", kSaturated, "OutOfRange 2147483647 @10"},
        {k32, "-99999999999999999999999", kSaturated, "OutOfRange -2147483648 @24"},
        {k32, "queue", kSaturated, "NoNumber 0 @0"},
        {k64, "9223372036854775807", kSign, "Ok 9223372036854775807 @19"},
        {k64, "9223372036854775808", kSign, "OutOfRange 0 @19"},
        {k64, "-9223372036854775808", kSign, "Ok -9223372036854775808 @20"},
        {k64, "-9223372036854775809", kSign, "OutOfRange 0 @20"},
        {k64, "-18446744073709551616", kSaturated, "OutOfRange -9223372036854775808 @21"},
        {k64, "0x7fffffffffffffff", kLikeStrtol, "Ok 9223372036854775807 @18"},
        {k64, "-0X8000000000000000", kLikeStrtol, "Ok -9223372036854775808 @19"},
        {k64, " 017", kLikeStrtol, "Ok 15 @4"},
        {k64, "08", kLikeStrtol, "NoNumber 0 @1"},
        {k64, "0x", kLikeStrtol, "NoNumber 0 @1"},
        {k64, "0x1g", kLikeStrtol, "NoNumber 0 @3"},
        {k64, "0x", {.allowRest = true, .cPrefixes = true}, "Ok 0 @1"},
        {kU64, "18446744073709551615", kSign, "Ok 18446744073709551615 @20"},
        {kU64, "18446744073709551616", kSign, "OutOfRange 0 @20"},
        {kU64, "0xFFFFFFFFFFFFFFFF", kLikeStrtol, "Ok 18446744073709551615 @18"},
        {kU64, "-0", kSign, "OutOfRange 0 @2"},
        {kU64, "-1x", kSign, "NoNumber 0 @2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Parsed(c), c.expected) << '"' << c.text << '"';
    }
}

TEST(DecimalText, GivenBoundsFailOrSaturate) {
    struct BoundedCase {
        std::string_view text;
        DecimalOptions options;
        std::size_t min;
        std::string_view expected;
    };
    const BoundedCase cases[] = {
        {"1000000", kDigitsOnly, 0, "Ok 1000000 @7"},
        {"1000001", kDigitsOnly, 0, "OutOfRange 0 @7"},
        {"1000001$", {.allowRest = true, .saturate = true}, 0, "OutOfRange 1000000 @7"},
        {"99999999999999999999999", {.saturate = true}, 0, "OutOfRange 1000000 @23"},
        {"10", kDigitsOnly, 10, "Ok 10 @2"},
        {"9", kDigitsOnly, 10, "OutOfRange 0 @1"},
        {"9", {.saturate = true}, 10, "OutOfRange 10 @1"},
    };
    for (const BoundedCase& c : cases) {
        EXPECT_EQ(Shown(ParseDecimal<std::size_t>(c.text, c.options, c.min, 1000000)), c.expected)
            << '"' << c.text << '"';
    }
    EXPECT_EQ(Shown(ParseDecimal<int32_t>("-3", kSign, -2, 2)), "OutOfRange 0 @2");
    EXPECT_EQ(Shown(ParseDecimal<int32_t>("-3", kSaturated, -2, 2)), "OutOfRange -2 @2");
    EXPECT_EQ(Shown(ParseDecimal<int32_t>("3", kSaturated, -2, 2)), "OutOfRange 2 @1");
}

TEST(DecimalText, ReadDecimalReportsSignMagnitudeAndEnd) {
    const DecimalDigits overflow = ReadDecimal(" -99999999999999999999abc", kLikeStoi);
    EXPECT_TRUE(overflow.digits);
    EXPECT_TRUE(overflow.negative);
    EXPECT_TRUE(overflow.overflow);
    EXPECT_EQ(overflow.magnitude, 0u);
    EXPECT_EQ(overflow.end, 22u);
    const DecimalDigits none = ReadDecimal("+x", kSign);
    EXPECT_FALSE(none.digits);
    EXPECT_EQ(none.end, 0u);
    const NumberStart start = SkipToDigits("\t-1.5", kLikeStoi);
    EXPECT_EQ(start.at, 2u);
    EXPECT_TRUE(start.negative);
    EXPECT_EQ(SkipToDigits("\t-1.5", kSign).at, 0u);
}

}  // namespace
}  // namespace Brix::Text
