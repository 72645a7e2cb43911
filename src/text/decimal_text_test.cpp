// decimal_text_test.cpp - integer texts under each option, at the edges of their bounds.
#include "text/decimal_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace Brix::Text {
namespace {

constexpr DecimalOptions kDigitsOnly{};
constexpr DecimalOptions kSign{.allowSign = true};
constexpr DecimalOptions kLikeStoi{.skipSpace = true, .allowSign = true, .allowRest = true};
constexpr DecimalOptions kSaturated{
    .skipSpace = true, .allowSign = true, .allowRest = true, .saturate = true};
constexpr DecimalOptions kLikeStrtol{.skipSpace = true, .allowSign = true, .cPrefixes = true};

// Shown is a result as "<status> <value> @<end>".
template <class Integer>
std::string Shown(const DecimalResult<Integer>& result) {
    const char* status = result.status == DecimalStatus::Ok         ? "Ok"
                         : result.status == DecimalStatus::NoNumber ? "NoNumber"
                                                                    : "OutOfRange";
    return std::string(status) + " " + std::to_string(result.value) + " @" + std::to_string(result.end);
}

// Each case reads into int64 or, where marked, uint64, with the whole range as the bounds.
TEST(DecimalText, EachOptionAtTheEdgesOfEachWidth) {
    struct Case {
        bool isUnsigned;
        std::string_view text;
        DecimalOptions options;
        std::string_view expected;
    };
    const Case cases[] = {{false, " 7", kDigitsOnly, "NoNumber 0 @0"},
                          {false, " \t\n\v\f\r7", {.skipSpace = true}, "Ok 7 @7"},
                          {false, "7 ", {.skipSpace = true}, "NoNumber 0 @1"},
                          {false, "12abc", {.allowRest = true}, "Ok 12 @2"},
                          {false, "+-5", kSign, "NoNumber 0 @0"},
                          {false, "- 5", kLikeStoi, "NoNumber 0 @0"},
                          {false, "  -12abc", kLikeStoi, "Ok -12 @5"},
                          {false, "0x10", kLikeStoi, "Ok 0 @1"},
                          {false, "9223372036854775808", kSign, "OutOfRange 0 @19"},
                          {false, "-9223372036854775809", kSign, "OutOfRange 0 @20"},
                          {false, "99999999999999999999999x", kSign, "NoNumber 0 @23"},
                          {false, "-18446744073709551616", kSaturated, "OutOfRange -9223372036854775808 @21"},
                          {false, "-0X8000000000000000", kLikeStrtol, "Ok -9223372036854775808 @19"},
                          {false, " 017", kLikeStrtol, "Ok 15 @4"},
                          {false, "0x1g", kLikeStrtol, "NoNumber 0 @3"},
                          {false, "0x", {.allowRest = true, .cPrefixes = true}, "Ok 0 @1"},
                          {true, "18446744073709551615", kSign, "Ok 18446744073709551615 @20"},
                          {true, "18446744073709551616", kSign, "OutOfRange 0 @20"},
                          {true, "-0", kSign, "OutOfRange 0 @2"},
                          {true, "-1x", kSign, "NoNumber 0 @2"}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.isUnsigned ? Shown(ParseDecimal<uint64_t>(c.text, c.options))
                               : Shown(ParseDecimal<int64_t>(c.text, c.options)),
                  c.expected)
            << '"' << c.text << '"';
    }
}

TEST(DecimalText, GivenBoundsFailOrSaturate) {
    EXPECT_EQ(Shown(ParseDecimal<std::size_t>("1000000", kDigitsOnly, 0, 1000000)), "Ok 1000000 @7");
    EXPECT_EQ(Shown(ParseDecimal<std::size_t>("1000001", kDigitsOnly, 0, 1000000)), "OutOfRange 0 @7");
    EXPECT_EQ(Shown(ParseDecimal<std::size_t>("9", {.saturate = true}, 10, 20)), "OutOfRange 10 @1");
    EXPECT_EQ(Shown(ParseDecimal<int32_t>("-3", kSign, -2, 2)), "OutOfRange 0 @2");
    EXPECT_EQ(Shown(ParseDecimal<int32_t>("-2147483649", kSign)), "OutOfRange 0 @11");
    EXPECT_EQ(Shown(ParseDecimal<int32_t>("3", kSaturated, -2, 2)), "OutOfRange 2 @1");
}

}  // namespace
}  // namespace Brix::Text
