// json_number_test.cpp - JSON numbers against the C library's correctly rounded reading, bit for bit,
// over many generated texts, and integers read exactly as the kind their sign says.
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "codecs/codec_test_support.h"
#include "codecs/json_reader.h"

namespace {

using Brix::BindingKind;

// NumberTexts makes JSON number texts of the kinds that break number readers: zeros with huge
// exponents, long mantissas, subnormals, the ends of the range of a double and of the 64-bit integers,
// and fractions with many leading zeros. The same seed makes the same texts.
class NumberTexts {
public:
    explicit NumberTexts(uint64_t seed) : random(seed) {}

    std::string Next() {
        switch (Below(8)) {
            case 0:
                return Sign() + Mantissa(0, Below(4), '0') +
                       Exponent(Below(2) ? Below(10) : Below(2'000'000));
            case 1:
                return Sign() + Mantissa(1 + Below(400), Below(400), Digit()) + MaybeExponent(400);
            case 2:  // around the subnormals and the smallest normal
                return Sign() + Mantissa(1, 1 + Below(30), Digit()) + "e-" + std::to_string(300 + Below(30));
            case 3:  // around the largest double
                return Sign() + "1.79769313486231" + Digits(Below(20)) + "e308";
            case 4:  // around 2^63 and 2^64
                return Sign() + (Below(2) ? "92233720368547758" : "184467440737095516") + Digits(Below(4));
            case 5:
                return Sign() + "0." + std::string(Below(400), '0') + Digits(1 + Below(30)) +
                       MaybeExponent(400);
            case 6:  // halfway cases between two doubles, written to many digits
                return Sign() + HalfwayText();
            default:
                return Sign() + Mantissa(1 + Below(20), Below(20), Digit()) + MaybeExponent(330);
        }
    }

private:
    uint64_t Below(uint64_t bound) { return std::uniform_int_distribution<uint64_t>(0, bound - 1)(random); }
    char Digit() { return static_cast<char>('0' + Below(10)); }
    std::string Sign() { return Below(3) == 0 ? "-" : ""; }

    std::string Digits(uint64_t count) {
        std::string digits;
        for (uint64_t i = 0; i < count; ++i) {
            digits += Digit();
        }
        return digits;
    }

    // Mantissa is an integer part of intDigits digits (without leading zeros; "0" when none), led by
    // first, and a fraction of fractionDigits digits.
    std::string Mantissa(uint64_t intDigits, uint64_t fractionDigits, char first) {
        std::string text = intDigits == 0 || first == '0' ? "0" : std::string(1, first == '0' ? '1' : first);
        if (intDigits > 1 && text != "0") {
            text += Digits(intDigits - 1);
        }
        if (fractionDigits > 0) {
            text += "." + (first == '0' ? std::string(fractionDigits, '0') : Digits(fractionDigits));
        }
        return text;
    }

    std::string Exponent(uint64_t magnitude) {
        const char* signs[] = {"e", "e-", "E+", "e+", "E-"};
        return signs[Below(5)] + std::to_string(magnitude);
    }
    std::string MaybeExponent(uint64_t bound) { return Below(2) ? Exponent(Below(bound)) : std::string(); }

    // HalfwayText is the exact decimal text of the midpoint between a random double and the next one
    // up, which a reader must round to even.
    std::string HalfwayText() {
        const double low =
            std::ldexp(static_cast<double>(Below(uint64_t{1} << 53)), static_cast<int>(Below(200)) - 100);
        const double high = std::nextafter(low, std::numeric_limits<double>::infinity());
        char text[1100];
        std::snprintf(text, sizeof text, "%.800e", low / 2 + high / 2 == low ? low : low / 2 + high / 2);
        // The midpoint itself is not a double: write low and append its half step in decimal instead.
        std::string exact(text);
        return exact.substr(0, exact.find('e')) + "5" + exact.substr(exact.find('e'));
    }

    std::mt19937_64 random;
};

// Reference is the C library's reading of a number text: correctly rounded in the "C" locale.
struct Reference {
    double value;
    bool overflow;
};

Reference ReadReference(const std::string& text) {
    errno = 0;
    const double value = std::strtod(text.c_str(), nullptr);
    return {value, errno == ERANGE && std::isinf(value)};
}

bool SameBits(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

// RefusedEarly tells whether RapidJSON's tokenizer refuses text before the value is known: a zero
// mantissa with an exponent past 308 plus its fraction digits, or an integer part of 309 digits or more.
bool RefusedEarly(const std::string& text) {
    const std::size_t start = text[0] == '-' ? 1 : 0;
    const std::size_t integerDigits = text.find_first_of(".eE", start) == std::string::npos
                                          ? text.size() - start
                                          : text.find_first_of(".eE", start) - start;
    const bool zero = text.find_first_of("123456789") > text.find_first_of("eE");
    return integerDigits >= 309 || (zero && text.find_first_of("eE") != std::string::npos);
}

TEST(JsonNumber, GeneratedTextsReadAsTheCLibraryReadsThem) {
    NumberTexts texts(20261206);
    int floats = 0;
    int refused = 0;
    for (int i = 0; i < 120'000; ++i) {
        const std::string text = texts.Next();
        const Brix::ConversionStatus status = Brix::Json::Read("[" + text + "]");
        const Brix::BindingProperty& value = status.Value().Element(0);
        if (text.find_first_of(".eE") == std::string::npos) {
            // Integers that fit 64 bits are read exactly, signed when they have a minus sign.
            errno = 0;
            const bool negative = text[0] == '-';
            const long long asSigned = negative ? std::strtoll(text.c_str(), nullptr, 10) : 0;
            const unsigned long long asUnsigned = negative ? 0 : std::strtoull(text.c_str(), nullptr, 10);
            if (errno == 0) {
                ASSERT_EQ(Brix::Testing::Described(value), negative
                                                               ? "signed " + std::to_string(asSigned)
                                                               : "unsigned " + std::to_string(asUnsigned))
                    << text << ": " << status.Message();
                continue;
            }
        }
        const Reference reference = ReadReference(text);
        if (!status.Ok()) {
            ASSERT_TRUE(reference.overflow || RefusedEarly(text)) << text << ": " << status.Message();
            ASSERT_EQ(status.Message(), "Error: Number too big to be stored in double. at offset 1.") << text;
            ++refused;
            continue;
        }
        ASSERT_FALSE(reference.overflow) << text;
        ASSERT_EQ(value.Kind(), BindingKind::Float) << text;
        ASSERT_TRUE(SameBits(value.AsFloat(), reference.value))
            << text << " read as " << value.AsFloat() << ", expected " << reference.value;
        ++floats;
    }
    // The generator reaches both sides: most texts read, some are refused.
    EXPECT_GT(floats, 80'000);
    EXPECT_GT(refused, 1'000);
}

}  // namespace
