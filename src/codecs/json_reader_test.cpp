// json_reader_test.cpp - JSON text to value: kinds, repeated member names, errors and the depth limit.
#include "codecs/json_reader.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <string_view>

#include "codecs/codec_test_support.h"

namespace {

using Brix::Testing::Described;
using namespace std::string_literals;

// Read is the described value of text, or its error message.
std::string Read(std::string_view text) {
    const Brix::ConversionStatus status = Brix::Json::Read(text);
    return status.Ok() ? Described(status.Value()) : std::string(status.Message());
}

TEST(JsonReader, ReadsToTheseValues) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "empty "},
        {" \t\r\n ", "empty "},
        {"true", "bool true"},
        {" false ", "bool false"},
        {"null", "empty "},
        // Numbers map by sign, fraction and range; integers past 64 bits become floats.
        {"5", "unsigned 5"},
        {"-5", "signed -5"},
        {"-0", "signed 0"},
        {"5.0", "float 5.0"},
        {"123e90", "float 1.23e92"},
        {"18446744073709551615", "unsigned 18446744073709551615"},
        {"-9223372036854775808", "signed -9223372036854775808"},
        {"18446744073709551616", "float 18446744073709553000.0"},
        {"-9223372036854775809", "float -9223372036854776000.0"},
        // Zeros stay zeros whatever their exponent; underflow gives a zero of the number's sign or the
        // nearest subnormal.
        {"0e200", "float 0.0"},
        {"0.0000e-99999999999", "float 0.0"},
        {"1e-325", "float 0.0"},
        {"-1e-400", "float -0.0"},
        {"3e-324", "float 5e-324"},
        {"1.7976931348623157e308", "float 1.7976931348623157e308"},
        {R"("a\"\\\/\n\u00e9\ud83d\ude00")", "string \"a\\\"\\\\/\\n\xC3\xA9\xF0\x9F\x98\x80\""},
        // An escaped NUL stays in names and values; a null element or member exists and is empty.
        {R"({"k\u0000ey": "a\u0000b"})", R"(structure {"k\u0000ey":"a\u0000b"})"},
        {"[1, null, \"x\", [], {}]", R"(collection [1,null,"x",[],{}])"},
        {R"({"b": 1, "a": null})", R"(structure {"a":null,"b":1})"},
        // Repeated names append arrays, merge objects and replace the rest, all the way down.
        {R"({"a": [1], "a": [2]})", R"(structure {"a":[1,2]})"},
        {R"({"a": [1], "a": 2})", R"(structure {"a":2})"},
        {R"({"a": {"x": 1}, "a": null})", R"(structure {"a":null})"},
        {R"({"a": {"x": [1], "y": 1, "w": {"p": 1}}, "a": {"x": [2], "y": 2, "z": 3, "w": {"q": 2}}})",
         R"(structure {"a":{"w":{"p":1,"q":2},"x":[1,2],"y":2,"z":3}})"},
        {std::string(512, '[') + std::string(512, ']'),
         "collection " + std::string(512, '[') + std::string(512, ']')},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Read(text), expected) << text.substr(0, 40);
    }
    // The view ends before the second bracket and is not followed by a NUL.
    const std::string buffer = "[1]]";
    EXPECT_EQ(Read(std::string_view(buffer).substr(0, 3)), "collection [1]");
}

TEST(JsonReader, RefusesWithTheParserMessageAndOffset) {
    const std::string tooBig = "Error: Number too big to be stored in double. at offset ";
    const std::string surrogate = "Error: The surrogate pair in string is invalid. at offset ";
    const std::string encoding = "Error: Invalid encoding in string. at offset ";
    const std::string tooDeep = "Error: The document is nested deeper than 512 levels. at offset ";
    const std::string trailing = "Error: The document root must not be followed by other values. at offset ";
    std::string objects;
    for (int i = 0; i < 600; ++i) {
        objects += R"({"a":)";  // five bytes a level
    }
    const std::pair<std::string, std::string> cases[] = {
        // Beyond the largest double, by RapidJSON's early rules (exponent, long integers) or by value.
        {"[4.0e308]", tooBig + "1."},
        {"[1, -1.7976931348623159e308]", tooBig + "4."},
        {R"({"a": 0e400})", tooBig + "6."},
        {"[0.000000000000000000000000000000000000001e350]", tooBig + "1."},
        {"1" + std::string(400, '0'), tooBig + "0."},
        // The offset is found past escaped quotes, backslashes and complete pairs, in names and values.
        {R"(["ab\udc00"])", surrogate + "4."},
        {R"({"x": 1, "\"\\\ud83d\ude00\udfff": 2})", surrogate + "26."},
        {"[\"a\xFF\"]", encoding + "3."},
        {"[\"\xC3\"]", encoding + "2."},
        {"[1] 2", trailing + "4."},
        {"[1]\0"s, trailing + "3."},
        {"\0"s, "Error: The document is empty. at offset 0."},
        {"[1,]", "Error: Invalid value. at offset 3."},
        {R"({"a" 1})", "Error: Missing a colon after a name of object member. at offset 5."},
        {"  [1", "Error: Missing a comma or ']' after an array element. at offset 4."},
        // 512 levels are read; the bracket of level 513 is refused, however deep the rest goes.
        {std::string(513, '[') + std::string(513, ']'), tooDeep + "512."},
        {std::string(200000, '['), tooDeep + "512."},
        {objects, tooDeep + "2560."},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Read(text), expected) << text.substr(0, 40);
    }
    // No partial value: the status holds only the message.
    EXPECT_EQ(Described(Brix::Json::Read(R"({"a": [1, 2, {"b": 3}, ])").Value()),
              R"(structure {"error":"Error: Invalid value. at offset 23."})");
}

}  // namespace
