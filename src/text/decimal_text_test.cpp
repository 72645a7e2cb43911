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

struct Case {
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

TEST(DecimalText, Int32UnderEachOption) {
    const Case cases[] = {
        {"420", kDigitsOnly, "Ok 420 @3"},
        {"0042", kDigitsOnly, "Ok 42 @4"},
        {"", kDigitsOnly, "NoNumber 0 @0"},
        {"", kLikeStoi, "NoNumber 0 @0"},
        {" 7", kDigitsOnly, "NoNumber 0 @0"},
        {" \t\n\v\f\r7", kSpace, "Ok 7 @7"},
        {"   ", kSpace, "NoNumber 0 @0"},
        {"7 ", kSpace, "NoNumber 0 @1"},
        {"7 ", kRest, "Ok 7 @1"},
        {"12abc", kRest, "Ok 12 @2"},
        {"abc", kRest, "NoNumber 0 @0"},
        {"+5", kDigitsOnly, "NoNumber 0 @0"},
        {"-5", kDigitsOnly, "NoNumber 0 @0"},
        {"+5", kSign, "Ok 5 @2"},
        {"-5", kSign, "Ok -5 @2"},
        {"-0", kSign, "Ok 0 @2"},
        {"-", kSign, "NoNumber 0 @0"},
        {"+-5", kSign, "NoNumber 0 @0"},
        {"- 5", kLikeStoi, "NoNumber 0 @0"},
        {" -5", kSign, "NoNumber 0 @0"},
        {"  -12abc", kLikeStoi, "Ok -12 @5"},
        {"0x10", kLikeStoi, "Ok 0 @1"},
        {"2147483647", kSign, "Ok 2147483647 @10"},
        {"2147483648", kSign, "OutOfRange 0 @10"},
        {"-2147483648", kSign, "Ok -2147483648 @11"},
        {"-2147483649", kSign, "OutOfRange 0 @11"},
        {"99999999999999999999999", kSign, "OutOfRange 0 @23"},
        {"99999999999999999999999x", kSign, "NoNumber 0 @23"},
        {"2147483648", kSaturated, "OutOfRange 2147483647 @10"},
        {"-2147483649", kSaturated, "OutOfRange -2147483648 @11"},
        {"-99999999999999999999999", kSaturated, "OutOfRange -2147483648 @24"},
        {"queue", kSaturated, "NoNumber 0 @0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shown(ParseDecimal<int32_t>(c.text, c.options)), c.expected) << '"' << c.text << '"';
    }
}

TEST(DecimalText, SixtyFourBitEdgesAndCPrefixes) {
    const Case signedCases[] = {
        {"9223372036854775807", kSign, "Ok 9223372036854775807 @19"},
        {"9223372036854775808", kSign, "OutOfRange 0 @19"},
        {"-9223372036854775808", kSign, "Ok -9223372036854775808 @20"},
        {"-9223372036854775809", kSign, "OutOfRange 0 @20"},
        {"-18446744073709551616", kSaturated, "OutOfRange -9223372036854775808 @21"},
        {"0x7fffffffffffffff", kLikeStrtol, "Ok 9223372036854775807 @18"},
        {"-0X8000000000000000", kLikeStrtol, "Ok -9223372036854775808 @19"},
        {" 017", kLikeStrtol, "Ok 15 @4"},
        {"0", kLikeStrtol, "Ok 0 @1"},
        {"08", kLikeStrtol, "NoNumber 0 @1"},
        {"0x", kLikeStrtol, "NoNumber 0 @1"},
        {"0xg", kLikeStrtol, "NoNumber 0 @1"},
        {"0x1g", kLikeStrtol, "NoNumber 0 @3"},
        {"0x", {.allowRest = true, .cPrefixes = true}, "Ok 0 @1"},
        {"0x1f", kSign, "NoNumber 0 @1"},
    };
    for (const Case& c : signedCases) {
        EXPECT_EQ(Shown(ParseDecimal<int64_t>(c.text, c.options)), c.expected) << '"' << c.text << '"';
    }
    const Case unsignedCases[] = {
        {"18446744073709551615", kSign, "Ok 18446744073709551615 @20"},
        {"18446744073709551616", kSign, "OutOfRange 0 @20"},
        {"0xFFFFFFFFFFFFFFFF", kLikeStrtol, "Ok 18446744073709551615 @18"},
        {"-0", kSign, "OutOfRange 0 @2"},
        {"-1x", kSign, "NoNumber 0 @2"},
        {"+1", kSign, "Ok 1 @2"},
    };
    for (const Case& c : unsignedCases) {
        EXPECT_EQ(Shown(ParseDecimal<uint64_t>(c.text, c.options)), c.expected) << '"' << c.text << '"';
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
