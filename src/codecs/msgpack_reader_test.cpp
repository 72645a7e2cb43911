// msgpack_reader_test.cpp - MessagePack to value: the type table, repeated keys, end of input, errors.
#include "codecs/msgpack_reader.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "codecs/codec_test_support.h"

namespace {

using Brix::Testing::Described;

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

// Read is the described value of bytes and the count of bytes used, or the error message and the
// position where reading stopped.
std::string Read(const std::string& bytes) {
    std::size_t consumed = 99;
    const Brix::ConversionStatus status = Brix::MsgPack::Read(bytes, &consumed);
    return (status.Ok() ? Described(status.Value()) : std::string(status.Message())) + " @" +
           std::to_string(consumed);
}

// The conformance vectors check values by number; these check the kinds each type byte gives, what
// repeated keys do, where reading stops and what each failure says.
TEST(MsgPackReader, ReadsToTheseValuesOrRefusesWithThisMessage) {
    const std::string truncated = "Invalid MessagePack data. ";
    const std::string tooDeep = "The document is nested deeper than 512 levels. @";
    const std::pair<std::string, std::string> cases[] = {
        {Bytes({0x05}), "signed 5 @1"},
        {Bytes({0xE0}), "signed -32 @1"},
        {Bytes({0xD0, 0x7F}), "signed 127 @2"},
        {Bytes({0xD1, 0xFF, 0x7F}), "signed -129 @3"},
        {Bytes({0xCA, 0x3F, 0xC0, 0, 0}), "float 1.5 @5"},
        {Bytes({0xC0}), "empty  @1"},
        {Bytes({0xA3, 'a', 0, 0xFF}), "string \"a\\u0000\xFF\" @4"},  // strings keep their bytes
        {Bytes({0xC4, 2, 1, 2}), "blob \"AQI=\" @4"},
        {Bytes({0x82, 0xA1, 'a', 0x92, 0x01, 0xC0, 0xA1, 'b', 0x80}),
         R"(structure {"a":[1,null],"b":{}} @9)"},
        // A repeated map merges; a repeated array overwrites from index 0 and keeps the rest; a scalar
        // replaces a container and a container a scalar.
        {Bytes({0x82, 0xA1, 'm', 0x81, 0xA1, 'x', 1, 0xA1, 'm', 0x81, 0xA1, 'y', 2}),
         R"(structure {"m":{"x":1,"y":2}} @13)"},
        {Bytes({0x82, 0xA1, 'a', 0x93, 1, 2, 3, 0xA1, 'a', 0x91, 9}), R"(structure {"a":[9,2,3]} @11)"},
        {Bytes({0x82, 0xA1, 'a', 0x91, 1, 0xA1, 'a', 0xC3}), R"(structure {"a":true} @8)"},
        {Bytes({0x82, 0xA1, 'a', 0xC3, 0xA1, 'a', 0x90}), R"(structure {"a":[]} @7)"},
        // Reading stops after the root, without looking at the bytes after it; input that ends between
        // items keeps what was read; containers only promise their counts.
        {Bytes({0x91, 0x01, 0x02, 0x03}), "collection [1] @2"},
        {Bytes({0x82, 0xA1, 'a'}), "structure {} @3"},
        {"", "empty  @0"},
        {Bytes({0xDD, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}), "collection [1] @6"},
        {Bytes({0xDF, 0xFF, 0xFF, 0xFF, 0xFF, 0xA1, 'k', 0x01}), R"(structure {"k":1} @8)"},
        // Refused types and keys name the position after the type byte.
        {Bytes({0x92, 0x01, 0xC1, 0x00}), "Invalid MessagePack data at position 3. @3"},
        {Bytes({0x81, 0x01, 0x02}), "Invalid MessagePack data at position 2. Map keys must be strings. @2"},
        {Bytes({0x92, 0x00, 0x82, 0xA1, 'k', 0x01, 0xC0}),
         "Invalid MessagePack data at position 7. Map keys must be strings. @7"},
        {Bytes({0xD4, 0x00, 0x00}), "Invalid MessagePack data at position 1. @1"},
        // Truncated fields name their width and start; huge lengths are checked before allocating.
        {Bytes({0x81, 0xD9}), truncated + "8-bit integer value at position 2 is truncated. @2"},
        {Bytes({0xDA, 0x00}), truncated + "16-bit integer value at position 1 is truncated. @1"},
        {Bytes({0x91, 0xCA, 0, 0, 0}), truncated + "32-bit integer value at position 2 is truncated. @2"},
        {Bytes({0xD3, 0}), truncated + "64-bit integer value at position 1 is truncated. @1"},
        {Bytes({0x81, 0xD9, 3, 'k'}), truncated + "String of size 3 at position 3 is truncated. @3"},
        {Bytes({0xC4, 2, 0}), truncated + "Raw bytes of size 2 at position 2 are truncated. @2"},
        {Bytes({0xDB, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}),
         truncated + "String of size 4294967295 at position 5 is truncated. @5"},
        {Bytes({0xC6, 0xFF, 0xFF, 0xFF, 0xFF}),
         truncated + "Raw bytes of size 4294967295 at position 5 are truncated. @5"},
        // Each one-element fixarray is one byte: level 513 opens at offset 512.
        {std::string(512, '\x91') + '\x01',
         "collection " + std::string(512, '[') + "1" + std::string(512, ']') + " @513"},
        {std::string(513, '\x91') + '\x01', "Invalid MessagePack data at position 513. " + tooDeep + "513"},
        {std::string(512, '\x91') + Bytes({0xDC, 0, 1, 1}),
         "Invalid MessagePack data at position 513. " + tooDeep + "515"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(Read(bytes), expected) << testing::PrintToString(bytes.substr(0, 16));
    }

    std::string maps;
    for (int i = 0; i < 600; ++i) {
        maps += Bytes({0x81, 0xA0});
    }
    EXPECT_EQ(Read(maps), "Invalid MessagePack data at position 1025. " + tooDeep + "1025");
    // Nothing of a partly built value is kept.
    const Brix::ConversionStatus status = Brix::MsgPack::Read(Bytes({0x82, 0xA1, 'a', 0x01, 0x01}));
    EXPECT_EQ(Described(status.Value()),
              R"(structure {"error":"Invalid MessagePack data at position 5. Map keys must be strings."})");
}

}  // namespace
