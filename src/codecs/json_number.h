// json_number.h - the value of one JSON number, read exactly from its text.
#pragma once

#include <cstdint>
#include <string_view>

namespace Brix::Json {

// NumberKind is what a JSON number text reads as.
enum class NumberKind {
    Unsigned,  // an integer without a minus sign that fits 64 bits unsigned
    Signed,    // an integer with a minus sign that fits 64 bits signed ("-0" included)
    Float,     // a number with a fraction or an exponent, or an integer too large for the above
    TooBig,    // a number beyond the range of a double
};

// Number is the value of a JSON number text: the member that its kind names holds it.
struct Number {
    NumberKind kind = NumberKind::Unsigned;
    uint64_t unsignedValue = 0;
    int64_t signedValue = 0;
    double floatValue = 0.0;
};

// ReadNumber reads the text of one number that the JSON grammar accepts (an optional minus sign, the
// integer digits, an optional fraction and an optional exponent). Floats are correctly rounded to the
// nearest double; a non-zero number below the smallest subnormal reads as a zero of its sign, and a
// number whose magnitude is beyond the largest double is TooBig. The result never depends on the
// process's locale.
Number ReadNumber(std::string_view text) noexcept;

}  // namespace Brix::Json
