// number_text.h - reading numbers out of texts the way the value converters need it, without
// temporary strings: C-style automatic base for integers, decimal for floating point.
#pragma once

#include <cstdint>
#include <string_view>

namespace Brix {

// NumberTextResult tells how reading a number from a text went.
enum class NumberTextResult {
    Ok,          // the whole text was one number (or the text was empty, which reads as 0)
    BadFormat,   // characters remain after the number, or there is no number at all
    OutOfRange,  // the number does not fit
};

// ParseSignedText reads a signed 64-bit number: leading white space and a sign are allowed; "0x" or
// "0X" starts a hexadecimal number, a leading "0" an octal one, anything else is decimal.
NumberTextResult ParseSignedText(std::string_view text, int64_t& value) noexcept;

// ParseUnsignedText reads an unsigned 64-bit number in the same notation. A minus sign makes the
// number out of range, even for "-0": an unsigned destination never takes a negative text.
NumberTextResult ParseUnsignedText(std::string_view text, uint64_t& value) noexcept;

// ParseFloatText reads a decimal floating-point number after optional white space and sign. A result
// that overflows a double is out of range.
NumberTextResult ParseFloatText(std::string_view text, double& value) noexcept;

}  // namespace Brix
