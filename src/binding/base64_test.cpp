// base64_test.cpp - the Base64 text of bytes.
#include "binding/base64.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace std::string_view_literals;

std::vector<uint8_t> BytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(Base64, EncodesWithTheStandardAlphabetAndPaddingAndDecodesBack) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\xFB\xFF\xBF\0"sv, "+/+/AA=="},
    };
    for (const auto& [bytes, text] : cases) {
        EXPECT_EQ(Brix::Base64Encode(BytesOf(bytes)), text);
        EXPECT_EQ(Brix::Base64Decode(text), BytesOf(bytes)) << text;
    }
    std::string appended = "data:";
    Brix::AppendBase64(appended, BytesOf("hi"));
    EXPECT_EQ(appended, "data:aGk=");
}

TEST(Base64, DecodesUpToTheFirstPaddingOrForeignCharacter) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        // Unpadded last groups of two and three characters; a lone last character gives nothing.
        {"Zm9vYg", "foob"},
        {"Zm9vYmE", "fooba"},
        {"Zm9vY", "foo"},
        // A line break, a blank or a URL-safe character ends the text; nothing after it is read.
        {"Zm9v\nYmFy", "foo"},
        {"Zm9v YmFy", "foo"},
        {"Zm9v-_Fy", "foo"},
        {"Zg==Zm9v", "f"},
    };
    for (const auto& [text, bytes] : cases) {
        EXPECT_EQ(Brix::Base64Decode(text), BytesOf(bytes)) << text;
    }
}

}  // namespace
