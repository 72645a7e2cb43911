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

// Each case reads into int64 or, where marked true, uint64, with the whole range as the bounds.
TEST(DecimalText, EachOptionAtTheEdgesOfEachWidth) {
    struct Case {
        std::string_view text;
        std::string_view expected;
        DecimalOptions options;
        bool isUnsigned = false;
    };
    const Case cases[] = {{" 7", "NoNumber 0 @0", kDigitsOnly},
                          {" \t\n\v\f\r7", "Ok 7 @7", {.skipSpace = true}},
                          {"7 ", "NoNumber 0 @1", {.skipSpace = true}},
                          {"12abc", "Ok 12 @2", {.allowRest = true}},
                          {"+-5", "NoNumber 0 @0", kSign},
                          {"- 5", "NoNumber 0 @0", kLikeStoi},
                          {"  -12abc", "Ok -12 @5", kLikeStoi},
                          {"0x10", "Ok 0 @1", kLikeStoi},
                          {"9223372036854775808", "OutOfRange 0 @19", kSign},
                          {"-9223372036854775809", "OutOfRange 0 @20", kSign},
                          {"99999999999999999999999x", "NoNumber 0 @23", kSign},
                          {"-18446744073709551616", "OutOfRange -9223372036854775808 @21", kSaturated},
                          {"-0X8000000000000000", "Ok -9223372036854775808 @19", kLikeStrtol},
                          {" 017", "Ok 15 @4", kLikeStrtol},
                          {"0x1g", "NoNumber 0 @3", kLikeStrtol},
                          {"0x", "Ok 0 @1", {.allowRest = true, .cPrefixes = true}},
                          {"18446744073709551615", "Ok 18446744073709551615 @20", kSign, true},
                          {"18446744073709551616", "OutOfRange 0 @20", kSign, true},
                          {"-0", "OutOfRange 0 @2", kSign, true},
                          {"-1x", "NoNumber 0 @2", kSign, true}};
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
