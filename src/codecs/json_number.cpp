// json_number.cpp - integer and floating-point JSON numbers from their text, through std::from_chars.
#include "codecs/json_number.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <system_error>

namespace Brix::Json {

namespace {

// kSaturatedExponent bounds the exponent that DecimalMagnitude adds up; an exponent of more digits
// says no more about the side of the range that a number falls off.
constexpr long kSaturatedExponent = 1'000'000'000;

bool IsDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// DecimalMagnitude is e such that the non-zero number of text lies in [10^(e-1), 10^e). It is only
// asked for numbers that fell off one end of the range of a double, so its sign tells which end:
// above the largest double e is at least 309, below the smallest subnormal at most -323.
long DecimalMagnitude(std::string_view text) noexcept {
    std::size_t at = text.empty() || text[0] != '-' ? 0 : 1;
    long position = 0;  // the power of ten just above the first non-zero digit seen so far
    bool significant = false;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        if (significant || text[at] != '0') {
            significant = true;
            position = position < kSaturatedExponent ? position + 1 : position;
        }
    }
    if (at < text.size() && text[at] == '.') {
        for (++at; at < text.size() && IsDigit(text[at]); ++at) {
            if (significant) {
                continue;
            }
            if (text[at] != '0') {
                significant = true;
            } else if (position > -kSaturatedExponent) {
                --position;
            }
        }
    }
    long exponent = 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        const bool negative = at < text.size() && text[at] == '-';
        if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
            ++at;
        }
        for (; at < text.size() && IsDigit(text[at]); ++at) {
            exponent = exponent < kSaturatedExponent ? exponent * 10 + (text[at] - '0') : exponent;
        }
        exponent = negative ? -exponent : exponent;
    }
    return position + exponent;
}

// IsInteger looks at each character once (find_first_of would search the set for each of them).
bool IsInteger(std::string_view text) noexcept {
    return std::ranges::none_of(text, [](char c) { return c == '.' || c == 'e' || c == 'E'; });
}

}  // namespace

Number ReadNumber(std::string_view text) noexcept {
    Number number;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const bool negative = !text.empty() && text[0] == '-';
    if (IsInteger(text)) {
        if (negative) {
            const auto [stop, error] = std::from_chars(begin, end, number.signedValue);
            if (error == std::errc{} && stop == end) {
                number.kind = NumberKind::Signed;
                return number;
            }
        } else {
            const auto [stop, error] = std::from_chars(begin, end, number.unsignedValue);
            if (error == std::errc{} && stop == end) {
                number.kind = NumberKind::Unsigned;
                return number;
            }
        }
    }
    number.kind = NumberKind::Float;
    const auto [stop, error] = std::from_chars(begin, end, number.floatValue, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone when the number falls off either end of the range.
        if (DecimalMagnitude(text) > 0) {
            number.kind = NumberKind::TooBig;
            number.floatValue = 0.0;
        } else {
            number.floatValue = negative ? -0.0 : 0.0;
        }
    }
    return number;
}

}  // namespace Brix::Json
