// number_text.cpp - integer and floating-point texts.
#include "binding/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "text/decimal_text.h"

namespace Brix {

namespace {

// kLikeStrtol reads integers as the C library does with base 0, over the whole text.
constexpr Text::DecimalOptions kLikeStrtol{.skipSpace = true, .allowSign = true, .cPrefixes = true};

// Outcome is how a reading of the whole text went, as the converters report it.
NumberTextResult Outcome(Text::DecimalStatus status) noexcept {
    switch (status) {
        case Text::DecimalStatus::Ok:
            return NumberTextResult::Ok;
        case Text::DecimalStatus::NoNumber:
            return NumberTextResult::BadFormat;
        case Text::DecimalStatus::OutOfRange:
            break;
    }
    return NumberTextResult::OutOfRange;
}

// ParseInteger is ParseSignedText and ParseUnsignedText: an empty text reads as 0.
template <class Integer>
NumberTextResult ParseInteger(std::string_view text, Integer& value) noexcept {
    value = 0;
    if (text.empty()) {
        return NumberTextResult::Ok;
    }
    const Text::DecimalResult<Integer> read = Text::ParseDecimal<Integer>(text, kLikeStrtol);
    value = read.value;
    return Outcome(read.status);
}

}  // namespace

NumberTextResult ParseSignedText(std::string_view text, int64_t& value) noexcept {
    return ParseInteger(text, value);
}

NumberTextResult ParseUnsignedText(std::string_view text, uint64_t& value) noexcept {
    return ParseInteger(text, value);
}

NumberTextResult ParseFloatText(std::string_view text, double& value) noexcept {
    value = 0.0;
    if (text.empty()) {
        return NumberTextResult::Ok;
    }
    const Text::NumberStart start = Text::SkipToDigits(text, {.skipSpace = true, .allowSign = true});
    const char* begin = text.data() + start.at;
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
    value = start.negative ? -parsed : parsed;
    return NumberTextResult::Ok;
}

}  // namespace Brix
