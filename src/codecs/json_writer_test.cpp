// json_writer_test.cpp - value to JSON text: enums, and the same bytes as the library's own writers.
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

TEST(JsonWriter, EmptyRootWritesNothing) {
    EXPECT_EQ(Write(BindingProperty{}), "");
    EXPECT_EQ(Write(BindingProperty{}, nullptr, "\n"), "");
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

// Library is the text of RapidJSON's compact writer, or of its pretty writer with lineBreak between lines.
std::string Library(const BindingProperty& value, std::string_view lineBreak = "") {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> compact(buffer);
    rapidjson::PrettyWriter<rapidjson::StringBuffer> pretty(buffer);
    if (lineBreak.empty()) {
        LibraryVisitor visitor(compact);
        Brix::WalkValue(value, visitor);
    } else {
        LibraryVisitor visitor(pretty);
        Brix::WalkValue(value, visitor);
    }
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
    const double inf = std::numeric_limits<double>::infinity();
    for (double number : {0.0,
                          -0.0,
                          1.0,
                          -1.5,
                          0.1,
                          1.0 / 3.0,
                          1e15,
                          1e16,
                          1e17,
                          1e21,
                          1e22,
                          1e-6,
                          1e-7,
                          123456.789e-12,
                          5e-324,
                          2.2250738585072014e-308,
                          1.7976931348623157e308,
                          9007199254740993.0,
                          inf,
                          -inf,
                          std::numeric_limits<double>::quiet_NaN()}) {
        floats.AppendElement().SetFloat(number);
    }
    BindingProperty& integers = value.MemberForWriting("integers");
    for (int64_t number : {int64_t{0}, int64_t{-10}, INT64_MIN, INT64_MAX}) {
        integers.AppendElement().SetSigned(number);
    }
    integers.AppendElement().SetUnsigned(UINT64_MAX);
    BindingProperty& nested = value.MemberForWriting("nested");
    nested.AppendElement().MakeCollection();
    nested.AppendElement().MakeStructure();
    nested.AppendElement().AppendElement().AppendElement().MemberForWriting("deep").SetBool(true);
    nested.AppendElement().MemberForWriting("empty").MakeCollection();
    nested.AppendElement();
    nested.AppendElement().SetBlob(std::vector<uint8_t>{'Q', 'I', 'X'});
    nested.AppendElement().SetBlob(std::vector<uint8_t>());
    nested.AppendElement().SetEnum(-7, nullptr);
    value.MemberForWriting("none");  // an empty member writes null

    EXPECT_EQ(Write(value, nullptr, "\r\n"), Library(value, "\r\n"));
    BindingProperty scalar;
    scalar.SetString("s");
    for (const BindingProperty* root : {&value, &floats, &integers, &nested, &scalar}) {
        EXPECT_EQ(Write(*root), Library(*root));
        EXPECT_EQ(Write(*root, nullptr, "\n"), Library(*root, "\n"));
    }
}

TEST(JsonWriter, WritesValuesNestedDeeperThanTheStackAllows) {
    constexpr std::size_t kDepth = 200000;
    const Brix::Testing::NestedCollections chain(kDepth);
    EXPECT_EQ(Write(chain.Root()), std::string(kDepth, '[') + std::string(kDepth, ']'));
}

}  // namespace
