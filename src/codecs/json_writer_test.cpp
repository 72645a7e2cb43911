// json_writer_test.cpp - value to JSON text: kinds, enums, compact and pretty forms, round trips.
#include <gtest/gtest.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "binding/base64.h"
#include "binding/binding_property.h"
#include "binding/static_type.h"
#include "binding/type_builder.h"
#include "binding/type_registry.h"
#include "codecs/codec_test_support.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "codecs/value_visitor.h"

namespace JsonWriterTest {

enum class Mode : int32_t { Classic = 1, Arena = 2, Unnamed = 9 };

}  // namespace JsonWriterTest

namespace {

using Brix::BindingProperty;
using Brix::Json::Write;
using JsonWriterTest::Mode;
using namespace std::string_literals;

BindingProperty ReadOk(std::string_view text) {
    Brix::ConversionStatus status = Brix::Json::Read(text);
    EXPECT_TRUE(status.Ok()) << "reading " << text << ": " << status.Message();
    return std::move(status.Value());
}

TEST(JsonWriter, EmptyRootWritesNothingButEmptyItemsWriteNull) {
    EXPECT_EQ(Write(BindingProperty{}), "");
    EXPECT_EQ(Write(BindingProperty{}, nullptr, "\n"), "");
    BindingProperty value;
    value.MemberForWriting("a");
    value.MemberForWriting("b").AppendElement();
    EXPECT_EQ(Write(value), R"({"a":null,"b":[null]})");
}

TEST(JsonWriter, NonFiniteFloatsWriteNullAndKeepTheTextWellFormed) {
    BindingProperty value;
    value.AppendElement().SetFloat(1.0);
    value.AppendElement().SetFloat(std::numeric_limits<double>::quiet_NaN());
    value.AppendElement().SetFloat(std::numeric_limits<double>::infinity());
    value.AppendElement().MemberForWriting("x").SetFloat(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(Write(value), R"([1.0,null,null,{"x":null}])");
}

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

// The pretty form's layout is compared with the library's below; the line break is any text.
TEST(JsonWriter, PrettyFormBreaksLinesAsAskedButNotAroundAScalarRoot) {
    EXPECT_EQ(Write(ReadOk("[1,2]"), nullptr, "<br>"), "[<br>    1,<br>    2<br>]");
    EXPECT_EQ(Write(ReadOk("\"s\""), nullptr, "\r\n"), "\"s\"");
}

TEST(JsonWriter, WrittenTextReadsBackToTheSameValue) {
    const std::string compact =
        R"({"a":[1,-2,0.5,1e-7,1.7976931348623157e308,true,null,"x\u0000y"],"b":{"c":{}},"d":[]})";
    const BindingProperty value = ReadOk(compact);
    EXPECT_EQ(Write(value), compact);
    EXPECT_EQ(ReadOk(Write(value, nullptr, "\r\n")), value);
    BindingProperty floats;
    for (double number : {1.0 / 3.0, -0.0, 5e-324, 123456789.125, 2.5e-8, 0.1 + 0.2}) {
        floats.AppendElement().SetFloat(number);
    }
    EXPECT_EQ(ReadOk(Write(floats)), floats);
}

// LibraryVisitor hands a value to one of RapidJSON's own writers, as the reference for the bytes the
// writer must produce.
template <class Writer>
class LibraryVisitor final : public Brix::ValueVisitor {
public:
    explicit LibraryVisitor(Writer& target) : writer(target) {}

    void VisitEmpty() override { writer.Null(); }
    void VisitBool(bool value) override { writer.Bool(value); }
    void VisitSigned(int64_t value) override { writer.Int64(value); }
    void VisitUnsigned(uint64_t value) override { writer.Uint64(value); }
    void VisitFloat(double value) override { std::isfinite(value) ? writer.Double(value) : writer.Null(); }
    void VisitString(std::string_view text) override { String(text); }
    void VisitBlob(std::span<const uint8_t> bytes) override { String(Brix::Base64Encode(bytes)); }
    void VisitEnum(int32_t number, const Brix::StaticTypeDescriptor* /*type*/) override {
        writer.Int64(number);
    }
    void StartCollection(std::size_t /*elementCount*/) override { writer.StartArray(); }
    void BetweenElements() override {}
    void EndCollection() override { writer.EndArray(); }
    void StartStructure(std::size_t /*memberCount*/) override { writer.StartObject(); }
    void MemberName(std::string_view name) override {
        writer.Key(name.data(), static_cast<rapidjson::SizeType>(name.size()));
    }
    void EndStructure() override { writer.EndObject(); }

private:
    void String(std::string_view text) {
        writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
    }

    Writer& writer;
};

std::string LibraryCompact(const BindingProperty& value) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    LibraryVisitor visitor(writer);
    Brix::WalkValue(value, visitor);
    return {buffer.GetString(), buffer.GetSize()};
}

std::string LibraryPretty(const BindingProperty& value, std::string_view lineBreak) {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    LibraryVisitor visitor(writer);
    Brix::WalkValue(value, visitor);
    std::string text;
    for (char c : std::string_view(buffer.GetString(), buffer.GetSize())) {
        text += c == '\n' ? std::string(lineBreak) : std::string(1, c);
    }
    return text;
}

TEST(JsonWriter, WritesTheSameBytesAsTheLibrarysWriters) {
    BindingProperty value;
    std::string everyByte;
    for (int c = 0; c < 256; ++c) {
        everyByte.push_back(static_cast<char>(c));
    }
    value.MemberForWriting("bytes").SetString(everyByte);
    value.MemberForWriting(everyByte.substr(0, 40)).SetString("name with escapes");
    value.MemberForWriting("").SetString("");
    BindingProperty& floats = value.MemberForWriting("floats");
    const double numbers[] = {0.0,
                              -0.0,
                              1.0,
                              -1.5,
                              0.1,
                              1.0 / 3.0,
                              100.0,
                              1e15,
                              1e16,
                              1e17,
                              1e20,
                              1e21,
                              1e22,
                              1e-6,
                              1e-7,
                              123456.789e-12,
                              5e-324,
                              2.2250738585072014e-308,
                              1.7976931348623157e308,
                              -4.9406564584124654e-324,
                              9007199254740993.0};
    for (double number : numbers) {
        floats.AppendElement().SetFloat(number);
    }
    BindingProperty& integers = value.MemberForWriting("integers");
    for (int64_t number : {int64_t{0}, int64_t{-1}, int64_t{9}, int64_t{-10},
                           std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()}) {
        integers.AppendElement().SetSigned(number);
    }
    for (uint64_t number :
         {uint64_t{0}, uint64_t{10}, uint64_t{4294967296}, std::numeric_limits<uint64_t>::max()}) {
        integers.AppendElement().SetUnsigned(number);
    }
    BindingProperty& nested = value.MemberForWriting("nested");
    nested.AppendElement().MakeCollection();
    nested.AppendElement().MakeStructure();
    nested.AppendElement().AppendElement().AppendElement().MemberForWriting("deep").SetBool(true);
    nested.AppendElement().MemberForWriting("empty").MakeCollection();
    nested.AppendElement();
    const std::string qix = "QIX";
    nested.AppendElement().SetBlob(std::vector<uint8_t>(qix.begin(), qix.end()));
    nested.AppendElement().SetBlob(std::vector<uint8_t>());
    nested.AppendElement().SetEnum(-7, nullptr);
    value.MemberForWriting("TARN").MemberForWriting("KELD").SetBool(false);

    EXPECT_EQ(Write(value), LibraryCompact(value));
    EXPECT_EQ(Write(value, nullptr, "\n"), LibraryPretty(value, "\n"));
    EXPECT_EQ(Write(value, nullptr, "\r\n"), LibraryPretty(value, "\r\n"));
    for (const BindingProperty* root : {&floats, &integers, &nested}) {
        EXPECT_EQ(Write(*root), LibraryCompact(*root));
        EXPECT_EQ(Write(*root, nullptr, "\n"), LibraryPretty(*root, "\n"));
    }
}

TEST(JsonWriter, WritesValuesNestedDeeperThanTheStackAllows) {
    constexpr std::size_t kDepth = 200000;
    const Brix::Testing::NestedCollections chain(kDepth);
    EXPECT_EQ(Write(chain.Root()), std::string(kDepth, '[') + std::string(kDepth, ']'));
}

}  // namespace
