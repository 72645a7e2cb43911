// json_writer_test.cpp - value to JSON text: enums, the library's own bytes, values that read back.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"
#include "binding/static_type.h"
#include "binding/type_builder.h"
#include "binding/type_registry.h"
#include "codecs/codec_test_support.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"

namespace JsonWriterTest {

enum class Mode : int32_t { Classic = 1, Arena = 2, Unnamed = 9 };

}  // namespace JsonWriterTest

namespace {

using Brix::BindingProperty;
using Brix::Json::Write;
using JsonWriterTest::Mode;

TEST(JsonWriter, EnumsWriteTheirNameWhenTheRegistryKnowsIt) {
    Brix::TypeRegistry registry;
    // Two names share 1: the first in ascending name order is written.
    Brix::Register<Mode>(registry, "Mode")
        .Value("Classic", Mode::Classic)
        .Value("Arena", Mode::Arena)
        .Value("Brisel", Mode::Classic);
    BindingProperty value;
    for (const int number : {1, 2, 9}) {
        value.AppendElement().SetEnum(number, &Brix::StaticType<Mode>());
    }
    value.AppendElement().SetEnum(-3, &Brix::StaticType<int>());
    value.AppendElement().SetEnum(4, nullptr);
    EXPECT_EQ(Write(value, &registry), R"(["Brisel","Arena",9,-3,4])");
    EXPECT_EQ(Write(value), "[1,2,9,-3,4]");
}

// Library is text read by RapidJSON and written again by its compact writer, or by its pretty writer
// with lineBreak between lines: the library's own bytes for the value that text holds.
std::string Library(const std::string& text, std::string_view lineBreak = "") {
    rapidjson::Document document;
    document.Parse<rapidjson::kParseFullPrecisionFlag>(text.data(), text.size());
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> compact(buffer);
    rapidjson::PrettyWriter<rapidjson::StringBuffer> pretty(buffer);
    lineBreak.empty() ? document.Accept(compact) : document.Accept(pretty);
    std::string written;
    for (char c : std::string_view(buffer.GetString(), buffer.GetSize())) {
        written += c == '\n' ? std::string(lineBreak) : std::string(1, c);
    }
    return written;
}

// The library's bytes hold the value: numbers and strings read back to themselves.
TEST(JsonWriter, WritesTheSameBytesAsTheLibrarysWriters) {
    BindingProperty value;
    std::string everyByte;
    for (int c = 0; c < 256; ++c) {
        everyByte.push_back(static_cast<char>(c));
    }
    value.MemberForWriting("bytes").SetString(everyByte);
    value.MemberForWriting(everyByte.substr(0, 40)).SetString("name with escapes");
    value.MemberForWriting("").SetString("");
    BindingProperty& numbers = value.MemberForWriting("numbers");
    numbers =
        Brix::Json::Read(
            "[0.0, -0.0, 1.0, -1.5, 0.1, 0.3333333333333333, 1e15, 1e16, 1e17, 1e21, 1e22, 1e-6, 1e-7, "
            "1.23456789e-7, 5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 9007199254740993.0, "
            "0, -10, -9223372036854775808, 9223372036854775807, 18446744073709551615, \"a\\u0000\\n\"]")
            .Value();
    BindingProperty& nested = value.MemberForWriting("nested");
    nested.AppendElement().MakeCollection();
    nested.AppendElement().MakeStructure();
    nested.AppendElement().AppendElement().AppendElement().MemberForWriting("deep").SetBool(true);
    nested.AppendElement().MemberForWriting("empty").MakeCollection();
    nested.AppendElement();
    nested.AppendElement().SetBlob(std::vector<uint8_t>{'Q', 'I', 'X'});
    nested.AppendElement().SetBlob(std::vector<uint8_t>());
    nested.AppendElement().SetEnum(-7, nullptr);
    for (double number : {INFINITY, -INFINITY, NAN}) {
        nested.AppendElement().SetFloat(number);  // written as null
    }
    value.MemberForWriting("none");  // an empty member writes null

    EXPECT_EQ(Write(value, nullptr, "\r\n"), Library(Write(value), "\r\n"));
    BindingProperty scalar;
    scalar.SetString("s");
    for (const BindingProperty* root : {&value, &numbers, &nested, &scalar}) {
        EXPECT_EQ(Write(*root), Library(Write(*root)));
        EXPECT_EQ(Write(*root, nullptr, "\n"), Library(Write(*root), "\n"));
    }
    EXPECT_EQ(Brix::Json::Read(Write(numbers)).Value(), numbers);
    // The comparisons above check the layout; the texts themselves must read back unchanged.
    BindingProperty texts;
    texts.MemberForWriting("quote\"back\\slash").SetString("\b\f\n\r\t\x01\x1f/\x7f \u00fc\u20ac\U0001F600");
    texts.MemberForWriting("plain").SetString("TARN");
    EXPECT_EQ(Brix::Json::Read(Write(texts)).Value(), texts);
    // An empty root writes nothing.
    EXPECT_EQ(Write(BindingProperty{}), "");
    EXPECT_EQ(Write(BindingProperty{}, nullptr, "\n"), "");
}

TEST(JsonWriter, WritesValuesNestedDeeperThanTheStackAllows) {
    constexpr std::size_t kDepth = 200000;
    const Brix::Testing::NestedCollections chain(kDepth);
    EXPECT_EQ(Write(chain.Root()), std::string(kDepth, '[') + std::string(kDepth, ']'));
}

}  // namespace
