// number_text.cpp - integer and floating-point texts.
#include "binding/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace Brix {

namespace {

bool IsSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return 99;
}

// Magnitude is the unsigned part of an integer text: its sign, its value and how it ended.
struct Magnitude {
    bool negative = false;
    bool overflow = false;
    bool digits = false;  // at least one digit was read
    uint64_t value = 0;
    std::size_t end = 0;  // where reading stopped
};

Magnitude ReadMagnitude(std::string_view text) noexcept {
    Magnitude result;
    std::size_t at = 0;
    while (at < text.size() && IsSpace(text[at])) {
        ++at;
    }
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        result.negative = text[at] == '-';
        ++at;
    }
    int base = 10;
    if (at < text.size() && text[at] == '0') {
        if (at + 2 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
            DigitValue(text[at + 2]) < 16) {
            base = 16;
            at += 2;
        } else {
            base = 8;
        }
    }
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    for (; at < text.size(); ++at) {
        const int digit = DigitValue(text[at]);
        if (digit >= base) {
            break;
        }
        result.digits = true;
        const auto step = static_cast<uint64_t>(base);
        if (result.value > (kMax - static_cast<uint64_t>(digit)) / step) {
            result.overflow = true;
        } else {
            result.value = result.value * step + static_cast<uint64_t>(digit);
        }
    }
    result.end = result.digits ? at : 0;
    return result;
}

}  // namespace

NumberTextResult ParseSignedText(std::string_view text, int64_t& value) noexcept {
    value = 0;
    if (text.empty()) {
        return NumberTextResult::Ok;
    }
    const Magnitude magnitude = ReadMagnitude(text);
    if (magnitude.end != text.size()) {
        return NumberTextResult::BadFormat;
    }
    constexpr uint64_t kLimit = uint64_t{1} << 63;
    if (magnitude.overflow || magnitude.value > (magnitude.negative ? kLimit : kLimit - 1)) {
        return NumberTextResult::OutOfRange;
    }
    value = magnitude.negative ? static_cast<int64_t>(0 - magnitude.value)
                               : static_cast<int64_t>(magnitude.value);
    return NumberTextResult::Ok;
}

NumberTextResult ParseUnsignedText(std::string_view text, uint64_t& value) noexcept {
    value = 0;
    if (text.empty()) {
        return NumberTextResult::Ok;
    }
    const Magnitude magnitude = ReadMagnitude(text);
    if (magnitude.end != text.size()) {
        return NumberTextResult::BadFormat;
    }
    if (magnitude.overflow || magnitude.negative) {
        return NumberTextResult::OutOfRange;
    }
    value = magnitude.value;
    return NumberTextResult::Ok;
}

NumberTextResult ParseFloatText(std::string_view text, double& value) noexcept {
    value = 0.0;
    if (text.empty()) {
        return NumberTextResult::Ok;
    }
    std::size_t at = 0;
    while (at < text.size() && IsSpace(text[at])) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const char* begin = text.data() + at;
    const char* end = text.data() + text.size();
    double parsed = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, parsed, std::chars_format::general);
    if (stop == begin) {
        return NumberTextResult::BadFormat;
    }
    if (stop != end) {
        return NumberTextResult::BadFormat;
    }
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone when it does not fit; tell overflow from underflow the
        // way strtod does, on a copy of the number (this path is only taken for extreme texts).
        const std::string copy(begin, end);
        parsed = std::strtod(copy.c_str(), nullptr);
        if (std::isinf(parsed)) {
            return NumberTextResult::OutOfRange;
        }
    }
    value = negative ? -parsed : parsed;
    return NumberTextResult::Ok;
}

}  // namespace Brix
