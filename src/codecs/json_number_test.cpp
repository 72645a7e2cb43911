// json_number_test.cpp - JSON numbers with a fraction or an exponent against the C library's correctly
// rounded reading, bit for bit, over generated texts.
#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

#include "codecs/json_reader.h"

namespace {

// NumberText makes a JSON number text of a kind that breaks number readers: a zero with a huge
// exponent, a long mantissa, a subnormal, a fraction with many leading zeros or a halfway case.
std::string NumberText(std::mt19937_64& random) {
    const auto below = [&](uint64_t bound) {
        return std::uniform_int_distribution<uint64_t>(0, bound - 1)(random);
    };
    const auto digits = [&](uint64_t count) {  // count digits, the first not a zero
        std::string text(1, static_cast<char>('1' + below(9)));
        while (text.size() < count) {
            text += static_cast<char>('0' + below(10));
        }
        return text.substr(0, count);
    };
    const auto exponent = [&](uint64_t bound) {
        return (below(2) ? "e-" : "E+") + std::to_string(below(bound));
    };
    const std::string sign = below(3) == 0 ? "-" : "";
    switch (below(5)) {
        case 0:
            return sign + "0.0" + exponent(below(2) ? 10 : 2'000'000);
        case 1:
            return sign + digits(1 + below(400)) + "." + digits(1 + below(400)) + exponent(400);
        case 2:  // around the subnormals and the smallest normal
            return sign + digits(1) + "." + digits(1 + below(30)) + "e-" + std::to_string(300 + below(30));
        case 3:
            return sign + "0." + std::string(below(400), '0') + digits(1 + below(30)) + exponent(400);
        default: {  // a double written exactly, then half its last digit: a reader must round to even
            const double low =
                std::ldexp(static_cast<double>(below(uint64_t{1} << 53)), static_cast<int>(below(200)) - 100);
            char text[1100];
            std::snprintf(text, sizeof text, "%.800e", low);
            const std::string exact(text);
            return sign + exact.substr(0, exact.find('e')) + "5" + exact.substr(exact.find('e'));
        }
    }
}

// RefusedEarly tells whether RapidJSON's tokenizer refuses text before the value is known: a zero
// mantissa with an exponent past 308 plus its fraction digits, or an integer part of 309 digits or more.
bool RefusedEarly(const std::string& text) {
    const std::size_t start = text[0] == '-' ? 1 : 0;
    const bool zero = text.find_first_of("123456789") > text.find_first_of("eE");
    return text.find_first_of(".eE", start) - start >= 309 ||
           (zero && text.find_first_of("eE") != std::string::npos);
}

TEST(JsonNumber, GeneratedTextsReadAsTheCLibraryReadsThem) {
    std::mt19937_64 random(20261206);
    int floats = 0;
    int refused = 0;
    for (int i = 0; i < 20'000; ++i) {
        const std::string text = NumberText(random);
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
