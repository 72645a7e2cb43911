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

// Decoding stops at the first padding or foreign character; unpadded last groups are read, a lone
// last character gives nothing.
TEST(Base64, EncodesWithTheStandardAlphabetAndPaddingAndDecodesUpToTheFirstForeignCharacter) {
    const std::pair<std::string_view, std::string_view> encoded[] = {
        {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foobar", "Zm9vYmFy"}, {"\xFB\xFF\xBF\0"sv, "+/+/AA=="}};
    for (const auto& [bytes, text] : encoded) {
        EXPECT_EQ(Brix::Base64Encode(BytesOf(bytes)), text);
        EXPECT_EQ(Brix::Base64Decode(text), BytesOf(bytes)) << text;
    }
    const std::pair<std::string_view, std::string_view> decoded[] = {
        {"Zm9vYg", "foob"}, {"Zm9vY", "foo"}, {"Zm9v\nYmFy", "foo"}, {"Zm9v-_Fy", "foo"}, {"Zg==Zm9v", "f"}};
    for (const auto& [text, bytes] : decoded) {
        EXPECT_EQ(Brix::Base64Decode(text), BytesOf(bytes)) << text;
    }
}

}  // namespace
