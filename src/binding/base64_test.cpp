// base64_test.cpp - the Base64 text of bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "binding/base64.h"

namespace {

std::string Encode(std::string_view text) {
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    return Brix::Base64Encode(bytes);
}

TEST(Base64, EncodesWithTheStandardAlphabetAndPadding) {
    EXPECT_EQ(Encode(""), "");
    EXPECT_EQ(Encode("f"), "Zg==");
    EXPECT_EQ(Encode("fo"), "Zm8=");
    EXPECT_EQ(Encode("foo"), "Zm9v");
    EXPECT_EQ(Encode("foob"), "Zm9vYg==");
    EXPECT_EQ(Encode("fooba"), "Zm9vYmE=");
    EXPECT_EQ(Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Encode("abc"), "YWJj");
    EXPECT_EQ(Brix::Base64Encode(std::vector<uint8_t>{0xFB, 0xFF, 0xBF, 0x00}), "+/+/AA==");
}

TEST(Base64, AppendsToTheTextItIsGiven) {
    std::string text = "data:";
    Brix::AppendBase64(text, std::vector<uint8_t>{'h', 'i'});
    EXPECT_EQ(text, "data:aGk=");
}

std::string Decode(std::string_view text) {
    const std::vector<uint8_t> bytes = Brix::Base64Decode(text);
    return std::string(bytes.begin(), bytes.end());
}

TEST(Base64, DecodesUpToTheFirstPaddingOrForeignCharacter) {
    for (std::string_view text : {"", "f", "fo", "foo", "foob", "fooba", "foobar"}) {
        EXPECT_EQ(Decode(Encode(text)), text);
    }
    EXPECT_EQ(Brix::Base64Decode("+/+/AA=="), (std::vector<uint8_t>{0xFB, 0xFF, 0xBF, 0x00}));
    // Unpadded last groups of two and three characters; a lone last character gives nothing.
    EXPECT_EQ(Decode("Zm9vYg"), "foob");
    EXPECT_EQ(Decode("Zm9vYmE"), "fooba");
    EXPECT_EQ(Decode("Zm9vY"), "foo");
    // A line break, a blank or a URL-safe character ends the text; nothing after it is read.
    EXPECT_EQ(Decode("Zm9v\nYmFy"), "foo");
    EXPECT_EQ(Decode("Zm9v YmFy"), "foo");
    EXPECT_EQ(Decode("Zm9v-_Fy"), "foo");
    EXPECT_EQ(Decode("Zg==Zm9v"), "f");
}

}  // namespace
