// json_number_test.cpp - JSON numbers with a fraction or an exponent against the C library's correctly
// rounded reading, bit for bit, over generated texts.
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

#include "codecs/json_reader.h"

namespace {

// NumberTexts makes JSON number texts of the kinds that break number readers: zeros with huge
// exponents, long mantissas, subnormals, the end of the range of a double, fractions with many leading
// zeros and halfway cases. The same seed makes the same texts.
class NumberTexts {
public:
    explicit NumberTexts(uint64_t seed) : random(seed) {}

    std::string Next() {
        const std::string sign = Below(3) == 0 ? "-" : "";
        switch (Below(6)) {
            case 0:
                return sign + "0.0" + Exponent(Below(2) ? Below(10) : Below(2'000'000));
            case 1:
                return sign + Digits(1 + Below(400)) + "." + Digits(1 + Below(400)) + MaybeExponent(400);
            case 2:  // around the subnormals and the smallest normal
                return sign + Digits(1) + "." + Digits(1 + Below(30)) + "e-" +
                       std::to_string(300 + Below(30));
            case 3:  // around the largest double
                return sign + "1.79769313486231" + Digits(Below(20)) + "e308";
            case 4:
                return sign + "0." + std::string(Below(400), '0') + Digits(1 + Below(30)) +
                       MaybeExponent(400);
            default:
                return sign + HalfwayText();
        }
    }

private:
    uint64_t Below(uint64_t bound) { return std::uniform_int_distribution<uint64_t>(0, bound - 1)(random); }

    // Digits is count digits, the first not a zero.
    std::string Digits(uint64_t count) {
        std::string digits(1, static_cast<char>('1' + Below(9)));
        while (digits.size() < count) {
            digits += static_cast<char>('0' + Below(10));
        }
        return digits.substr(0, count);
    }

    std::string Exponent(uint64_t magnitude) {
        const char* signs[] = {"e", "e-", "E+", "e+", "E-"};
        return signs[Below(5)] + std::to_string(magnitude);
    }
    std::string MaybeExponent(uint64_t bound) { return Below(2) ? Exponent(Below(bound)) : std::string(); }

    // HalfwayText is the exact decimal text of the midpoint between a random double and the next one
    // up, which a reader must round to even: the low double written exactly, then its half step.
    std::string HalfwayText() {
        const double low =
            std::ldexp(static_cast<double>(Below(uint64_t{1} << 53)), static_cast<int>(Below(200)) - 100);
        char text[1100];
        std::snprintf(text, sizeof text, "%.800e", low);
        const std::string exact(text);
        return exact.substr(0, exact.find('e')) + "5" + exact.substr(exact.find('e'));
    }

    std::mt19937_64 random;
};

// RefusedEarly tells whether RapidJSON's tokenizer refuses text before the value is known: a zero
// mantissa with an exponent past 308 plus its fraction digits, or an integer part of 309 digits or more.
bool RefusedEarly(const std::string& text) {
    const std::size_t start = text[0] == '-' ? 1 : 0;
    const bool zero = text.find_first_of("123456789") > text.find_first_of("eE");
    return text.find_first_of(".eE", start) - start >= 309 ||
           (zero && text.find_first_of("eE") != std::string::npos);
}

TEST(JsonNumber, GeneratedTextsReadAsTheCLibraryReadsThem) {
    NumberTexts texts(20261206);
    int floats = 0;
    int refused = 0;
    for (int i = 0; i < 20'000; ++i) {
        const std::string text = texts.Next();
        const Brix::ConversionStatus status = Brix::Json::Read("[" + text + "]");
        errno = 0;
        const double reference = std::strtod(text.c_str(), nullptr);  // correctly rounded in the "C" locale
        const bool overflow = errno == ERANGE && std::isinf(reference);
        if (!status.Ok()) {
            ASSERT_TRUE(overflow || RefusedEarly(text)) << text << ": " << status.Message();
            ASSERT_EQ(status.Message(), "Error: Number too big to be stored in double. at offset 1.") << text;
            ++refused;
            continue;
        }
        const Brix::BindingProperty& value = status.Value().Element(0);
        ASSERT_FALSE(overflow) << text;
        ASSERT_EQ(value.Kind(), Brix::BindingKind::Float) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(value.AsFloat()), std::bit_cast<uint64_t>(reference))
            << text << " read as " << value.AsFloat() << ", expected " << reference;
        ++floats;
    }
    // The generator reaches both sides: most texts read, some are refused.
    EXPECT_GT(floats, 15'000);
    EXPECT_GT(refused, 300);
}

}  // namespace
