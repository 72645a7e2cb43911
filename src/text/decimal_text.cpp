// decimal_text.cpp - integer texts through std::from_chars, and their bounds.
#include "text/decimal_text.h"

#include <charconv>
#include <system_error>

namespace Brix::Text {

namespace {

bool IsCSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsHexDigit(char c) noexcept {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Decide answers value when it lies inside the bounds, else out of range with the nearer bound when
// saturating and 0 otherwise.
template <class Wide>
DecimalResult<Wide> Decide(Wide value, bool below, bool above, Wide min, Wide max, bool saturate,
                           std::size_t end) noexcept {
    if (below) {
        return {DecimalStatus::OutOfRange, saturate ? min : Wide{0}, end};
    }
    if (above) {
        return {DecimalStatus::OutOfRange, saturate ? max : Wide{0}, end};
    }
    return {DecimalStatus::Ok, value, end};
}

}  // namespace

NumberStart SkipToDigits(std::string_view text, DecimalOptions options) noexcept {
    NumberStart start;
    if (options.skipSpace) {
        while (start.at < text.size() && IsCSpace(text[start.at])) {
            ++start.at;
        }
    }
    if (options.allowSign && start.at < text.size() && (text[start.at] == '+' || text[start.at] == '-')) {
        start.negative = text[start.at] == '-';
        ++start.at;
    }
    return start;
}

DecimalDigits ReadDecimal(std::string_view text, DecimalOptions options) noexcept {
    const NumberStart start = SkipToDigits(text, options);
    std::size_t at = start.at;
    int base = 10;
    if (options.cPrefixes && at < text.size() && text[at] == '0') {
        if (at + 2 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
            IsHexDigit(text[at + 2])) {
            base = 16;
            at += 2;
        } else {
            base = 8;  // the "0" itself is the first octal digit
        }
    }
    DecimalDigits read;
    read.negative = start.negative;
    const char* const first = text.data() + at;
    const auto [stop, error] = std::from_chars(first, text.data() + text.size(), read.magnitude, base);
    if (stop == first) {
        return read;
    }
    read.digits = true;
    read.overflow = error == std::errc::result_out_of_range;
    read.end = static_cast<std::size_t>(stop - text.data());
    return read;
}

DecimalResult<int64_t> Bounded(const DecimalDigits& read, int64_t min, int64_t max, bool saturate) noexcept {
    constexpr uint64_t kNegativeLimit = uint64_t{1} << 63;
    int64_t value = 0;
    bool below = false;
    bool above = false;
    if (read.negative) {
        below = read.overflow || read.magnitude > kNegativeLimit;
        if (!below) {
            value = static_cast<int64_t>(0 - read.magnitude);
            below = value < min;
        }
    } else {
        above = read.overflow || read.magnitude > kNegativeLimit - 1;
        if (!above) {
            value = static_cast<int64_t>(read.magnitude);
            above = value > max;
            below = value < min;
        }
    }
    return Decide(value, below, above, min, max, saturate, read.end);
}

DecimalResult<uint64_t> Bounded(const DecimalDigits& read, uint64_t min, uint64_t max,
                                bool saturate) noexcept {
    const bool below = read.negative || (!read.overflow && read.magnitude < min);
    const bool above = !read.negative && (read.overflow || read.magnitude > max);
    return Decide(read.magnitude, below, above, min, max, saturate, read.end);
}

}  // namespace Brix::Text
