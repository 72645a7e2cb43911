// utf8_validity_test.cpp - the well-formed UTF-8 check, by cases and against RapidJSON's own check.
#include "codecs/utf8_validity.h"

#include <gtest/gtest.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <random>
#include <string>

namespace {

using Brix::IsWellFormedUtf8;

TEST(Utf8Validity, TellsTheBoundariesOfEachSequenceLength) {
    struct Case {
        std::string bytes;
        bool wellFormed;
    };
    const Case cases[] = {
        {"", true},
        {"plain ASCII text longer than eight bytes", true},
        {"\xC2\x80", true},                   // U+0080
        {"\xC0\x80", false},                  // overlong U+0000
        {"\xE0\xA0\x80", true},               // U+0800
        {"\xE0\x9F\xBF", false},              // overlong U+07FF
        {"\xED\xA0\x80", false},              // U+D800, a surrogate
        {"\xF0\x90\x80\x80", true},           // U+10000
        {"\xF0\x8F\xBF\xBF", false},          // overlong U+FFFF
        {"\xF4\x8F\xBF\xBF", true},           // U+10FFFF
        {"\xF4\x90\x80\x80", false},          // U+110000
        {"\x80", false},                      // a continuation byte alone
        {"\xE2\x82", false},                  // cut short
        {"seven..\xE2\x82\xAC", true},        // a sequence right after an ASCII run
        {"eight...\xE2\x82", false},          // cut short after a full ASCII word
        {"\xE2\x82\xAC and the rest", true},  // U+20AC, then ASCII
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWellFormedUtf8(c.bytes), c.wellFormed) << testing::PrintToString(c.bytes);
    }
}

// RapidJSONAcceptsInString tells whether RapidJSON, checking the encoding, reads bytes as a string.
bool RapidJsonAcceptsInString(const std::string& bytes) {
    const std::string document = "\"" + bytes + "\"";
    rapidjson::MemoryStream stream(document.data(), document.size());
    rapidjson::BaseReaderHandler<> handler;
    rapidjson::Reader reader;
    return !reader.Parse<rapidjson::kParseValidateEncodingFlag>(stream, handler).IsError();
}

// The JSON reader skips RapidJSON's check for documents that this one finds well-formed, so this one
// must never accept what RapidJSON refuses; it refuses nothing RapidJSON accepts either.
TEST(Utf8Validity, AgreesWithRapidJsonOnRandomHighBytes) {
    std::mt19937 random(20261206);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(1 + random() % 6, 'a');
        for (char& c : bytes) {
            c = random() % 4 == 0 ? 'a' : static_cast<char>(0x80 + random() % 0x80);
        }
        ASSERT_EQ(IsWellFormedUtf8(bytes), RapidJsonAcceptsInString(bytes)) << testing::PrintToString(bytes);
    }
}

}  // namespace
