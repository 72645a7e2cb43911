// decimal_text.h - the one reader of integer texts: the digits go through std::from_chars, and each
// step where callers' rules differ (white space, sign, text after the number, C's base prefixes,
// bounds) is a named option.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

namespace Brix::Text {

// DecimalOptions names the steps a reading takes around the digits. With none of them the whole text
// is one run of decimal digits.
struct DecimalOptions {
    bool skipSpace = false;  // leading C white space (" \t\n\v\f\r") is passed over
    bool allowSign = false;  // one "+" or "-" may stand right before the digits
    bool allowRest = false;  // text after the digits ends the number instead of failing it
    bool cPrefixes = false;  // C's base 0: "0x" or "0X" before a hex digit reads base 16, another "0" base 8
    bool saturate = false;   // a number beyond the bounds takes the nearer bound (the status still says so)
};

// NumberStart is where the digits of a number must begin, past the white space and sign the options
// allow, and whether that sign was "-".
struct NumberStart {
    std::size_t at = 0;
    bool negative = false;
};
NumberStart SkipToDigits(std::string_view text, DecimalOptions options) noexcept;

// DecimalDigits is what ReadDecimal found after the start: the sign and the unsigned magnitude.
struct DecimalDigits {
    bool digits = false;    // at least one digit was read
    bool negative = false;  // "-" stood before the digits
    bool overflow = false;  // the magnitude does not fit 64 bits; magnitude is then 0
    uint64_t magnitude = 0;
    // end is just past the last digit, every digit of an overflowing run included; 0 without digits.
    std::size_t end = 0;
};

// ReadDecimal reads the digits at the start the options give, however many follow and whatever
// follows them; allowRest and saturate do not apply here.
DecimalDigits ReadDecimal(std::string_view text, DecimalOptions options) noexcept;

// DecimalStatus tells how ParseDecimal went.
enum class DecimalStatus {
    Ok,
    NoNumber,    // no digits, or text after them that allowRest does not let pass
    OutOfRange,  // outside [min, max]; a "-" before an unsigned destination is out of range even for 0
};

template <class Integer>
struct DecimalResult {
    DecimalStatus status = DecimalStatus::NoNumber;
    Integer value = 0;    // 0 without a number; the nearer bound when out of range and saturating
    std::size_t end = 0;  // as DecimalDigits::end
};

// Bounded decides a reading against [min, max] for each kind of destination (see ParseDecimal).
DecimalResult<int64_t> Bounded(const DecimalDigits& read, int64_t min, int64_t max, bool saturate) noexcept;
DecimalResult<uint64_t> Bounded(const DecimalDigits& read, uint64_t min, uint64_t max,
                                bool saturate) noexcept;

// ParseDecimal reads an Integer within [min, max] (the type's whole range unless given). A text that
// has no number answers NoNumber before a number out of range answers OutOfRange.
template <std::integral Integer>
DecimalResult<Integer> ParseDecimal(std::string_view text, DecimalOptions options,
                                    Integer min = std::numeric_limits<Integer>::min(),
                                    Integer max = std::numeric_limits<Integer>::max()) noexcept {
    const DecimalDigits read = ReadDecimal(text, options);
    if (!read.digits || (!options.allowRest && read.end != text.size())) {
        return {DecimalStatus::NoNumber, 0, read.end};
    }
    using Wide = std::conditional_t<std::is_signed_v<Integer>, int64_t, uint64_t>;
    const DecimalResult<Wide> wide = Bounded(read, Wide{min}, Wide{max}, options.saturate);
    return {wide.status, static_cast<Integer>(wide.value), wide.end};
}

}  // namespace Brix::Text
