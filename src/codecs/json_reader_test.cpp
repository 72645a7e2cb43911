// json_reader_test.cpp - JSON text to value: kinds, repeated member names, errors and the depth limit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "binding/binding_property.h"
#include "codecs/json_reader.h"

namespace {

using Brix::BindingKind;
using Brix::BindingProperty;
using namespace std::string_literals;
using namespace std::string_view_literals;

// ReadOk is the value of text, which must read without error.
BindingProperty ReadOk(std::string_view text) {
    Brix::ConversionStatus status = Brix::Json::Read(text);
    EXPECT_TRUE(status.Ok()) << "reading " << text << ": " << status.Message();
    return std::move(status.Value());
}

// ReadError is the message of reading text, which must fail.
std::string ReadError(std::string_view text) {
    const Brix::ConversionStatus status = Brix::Json::Read(text);
    EXPECT_FALSE(status.Ok()) << "reading " << text;
    return std::string(status.Message());
}

TEST(JsonReader, BlankTextIsOkAndEmpty) {
    for (std::string_view text : {""sv, "  "sv, " \t\r\n "sv}) {
        const Brix::ConversionStatus status = Brix::Json::Read(text);
        EXPECT_TRUE(status.Ok());
        EXPECT_TRUE(status.Value().IsEmpty());
    }
}

TEST(JsonReader, NumbersMapBySignFractionAndRange) {
    BindingProperty value = ReadOk("5");
    EXPECT_EQ(value.Kind(), BindingKind::Unsigned);
    EXPECT_EQ(value.AsUnsigned(), 5u);
    value = ReadOk("-5");
    EXPECT_EQ(value.Kind(), BindingKind::Signed);
    EXPECT_EQ(value.AsSigned(), -5);
    value = ReadOk("5.0");
    EXPECT_EQ(value.Kind(), BindingKind::Float);
    EXPECT_EQ(value.AsFloat(), 5.0);
    value = ReadOk("1e2");
    EXPECT_EQ(value.Kind(), BindingKind::Float);
    EXPECT_EQ(value.AsFloat(), 100.0);
    // Floats are read to the nearest double, as the writer's shortest text expects.
    EXPECT_EQ(ReadOk("123e90").AsFloat(), 1.23e92);
    EXPECT_EQ(ReadOk("0.1").AsFloat(), 0.1);

    // Past 32 bits, and up to the ends of both 64-bit ranges.
    value = ReadOk("4294967296");
    EXPECT_EQ(value.Kind(), BindingKind::Unsigned);
    EXPECT_EQ(value.AsUnsigned(), 4294967296u);
    value = ReadOk("18446744073709551615");
    EXPECT_EQ(value.Kind(), BindingKind::Unsigned);
    EXPECT_EQ(value.AsUnsigned(), std::numeric_limits<uint64_t>::max());
    value = ReadOk("-2147483649");
    EXPECT_EQ(value.Kind(), BindingKind::Signed);
    EXPECT_EQ(value.AsSigned(), -2147483649);
    value = ReadOk("-9223372036854775808");
    EXPECT_EQ(value.Kind(), BindingKind::Signed);
    EXPECT_EQ(value.AsSigned(), std::numeric_limits<int64_t>::min());

    // Integers beyond them become floats.
    value = ReadOk("18446744073709551616");
    EXPECT_EQ(value.Kind(), BindingKind::Float);
    EXPECT_EQ(value.AsFloat(), 18446744073709551616.0);
    value = ReadOk("-9223372036854775809");
    EXPECT_EQ(value.Kind(), BindingKind::Float);
    EXPECT_EQ(value.AsFloat(), -9223372036854775808.0);

    // A minus sign makes a signed number even for zero.
    value = ReadOk("-0");
    EXPECT_EQ(value.Kind(), BindingKind::Signed);
    EXPECT_EQ(value.AsSigned(), 0);
}

TEST(JsonReader, NumbersReadExactlyOrFailAsTooBig) {
    // Zeros stay zeros whatever their exponent, and underflow gives a zero of the number's sign or the
    // nearest subnormal.
    for (std::string_view zero :
         {"0e-23"sv, "0e200"sv, "0.0000e-99999999999"sv, "1e-325"sv, "0.0000000000000000000000001e-324"sv}) {
        const BindingProperty value = ReadOk(zero);
        EXPECT_EQ(value.Kind(), BindingKind::Float) << zero;
        EXPECT_EQ(value.AsFloat(), 0.0) << zero;
        EXPECT_FALSE(std::signbit(value.AsFloat())) << zero;
    }
    EXPECT_TRUE(std::signbit(ReadOk("-0e200").AsFloat()));
    EXPECT_TRUE(std::signbit(ReadOk("-1e-400").AsFloat()));
    EXPECT_EQ(ReadOk("3e-324").AsFloat(), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(ReadOk("1.7976931348623157e308").AsFloat(), std::numeric_limits<double>::max());

    // Beyond the largest double, by RapidJSON's early rules (exponent, long integers) or by the value.
    const std::string tooBig = "Number too big to be stored in double.";
    EXPECT_EQ(ReadError("[4.0e308]"), "Error: " + tooBig + " at offset 1.");
    EXPECT_EQ(ReadError("[1, -1.7976931348623159e308]"), "Error: " + tooBig + " at offset 4.");
    EXPECT_EQ(ReadError(R"({"a": 0e400})"), "Error: " + tooBig + " at offset 6.");
    EXPECT_EQ(ReadError("1" + std::string(400, '0')), "Error: " + tooBig + " at offset 0.");
}

TEST(JsonReader, StringsMustBeUtf8WithoutHalfSurrogates) {
    EXPECT_EQ(ReadError(R"(["ab\udc00"])"), "Error: The surrogate pair in string is invalid. at offset 4.");
    EXPECT_EQ(ReadError(R"(["ab\ud800"])"), "Error: The surrogate pair in string is invalid. at offset 4.");
    // The offset is found past escaped quotes, backslashes and complete pairs, in names as in values.
    EXPECT_EQ(ReadError(R"({"x": 1, "\"\\\ud83d\ude00\udfff": 2})"),
              "Error: The surrogate pair in string is invalid. at offset 26.");
    EXPECT_EQ(ReadError("[\"a\xFF\"]"), "Error: Invalid encoding in string. at offset 3.");
    EXPECT_EQ(ReadError("[\"\xED\xA0\x80\"]"), "Error: Invalid encoding in string. at offset 2.");
    EXPECT_EQ(ReadError("[\"\xC3\"]"), "Error: Invalid encoding in string. at offset 2.");
    EXPECT_EQ(ReadOk("\"\xE2\x82\xAC\xF0\x9F\x98\x80\"").AsString(), "\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(JsonReader, ScalarsStringsAndNulls) {
    EXPECT_TRUE(ReadOk("true").AsBool());
    EXPECT_EQ(ReadOk(" false ").Kind(), BindingKind::Bool);
    EXPECT_TRUE(ReadOk("null").IsEmpty());
    EXPECT_EQ(ReadOk(R"("a\"\\\/\n\u00e9\ud83d\ude00")").AsString(), "a\"\\/\n\xC3\xA9\xF0\x9F\x98\x80");

    // An escaped NUL stays in strings and member names with the full length.
    const BindingProperty value = ReadOk(R"({"k\u0000ey": "a\u0000b"})");
    ASSERT_EQ(value.MemberCount(), 1u);
    EXPECT_EQ(value.Member("k\0ey"s).AsString(), "a\0b"s);

    // A null element is an empty element; a null member exists and is empty.
    const BindingProperty list = ReadOk("[1, null, \"x\", [], {}]");
    ASSERT_EQ(list.ElementCount(), 5u);
    EXPECT_TRUE(list.Element(1).IsEmpty());
    EXPECT_EQ(list.Element(3).Kind(), BindingKind::Collection);
    EXPECT_EQ(list.Element(4).Kind(), BindingKind::Structure);
    const BindingProperty object = ReadOk(R"({"b": 1, "a": null})");
    ASSERT_NE(object.FindMember("a"), nullptr);
    EXPECT_TRUE(object.FindMember("a")->IsEmpty());
    EXPECT_EQ(object.MemberCount(), 2u);
}

TEST(JsonReader, RepeatedMemberNamesAppendArraysMergeObjectsAndReplaceScalars) {
    EXPECT_EQ(ReadOk(R"({"a": [1], "a": [2]})"), ReadOk(R"({"a": [1, 2]})"));
    EXPECT_EQ(ReadOk(R"({"a": 1, "a": 2})"), ReadOk(R"({"a": 2})"));
    EXPECT_EQ(ReadOk(R"({"a": [1], "a": 2})"), ReadOk(R"({"a": 2})"));
    EXPECT_EQ(ReadOk(R"({"a": 1, "a": [2]})"), ReadOk(R"({"a": [2]})"));
    EXPECT_EQ(ReadOk(R"({"a": {"x": 1}, "a": null})"), ReadOk(R"({"a": null})"));
    // Merging goes down by the same rules.
    EXPECT_EQ(
        ReadOk(R"({"a": {"x": [1], "y": 1, "w": {"p": 1}}, "a": {"x": [2], "y": 2, "z": 3, "w": {"q": 2}}})"),
        ReadOk(R"({"a": {"w": {"p": 1, "q": 2}, "x": [1, 2], "y": 2, "z": 3}})"));
}

TEST(JsonReader, MalformedTextFailsWithTheParserMessageAndOffset) {
    EXPECT_EQ(ReadError("[1] 2"),
              "Error: The document root must not be followed by other values. at offset 4.");
    EXPECT_EQ(ReadError("[1,]"), "Error: Invalid value. at offset 3.");
    EXPECT_EQ(ReadError(R"({"a" 1})"), "Error: Missing a colon after a name of object member. at offset 5.");
    EXPECT_EQ(ReadError("  [1"), "Error: Missing a comma or ']' after an array element. at offset 4.");

    // No partial value: the status holds only the message.
    const Brix::ConversionStatus status = Brix::Json::Read(R"({"a": [1, 2, {"b": 3}, ])");
    EXPECT_EQ(status.Value().MemberCount(), 1u);
    EXPECT_EQ(status.Message(), "Error: Invalid value. at offset 23.");
}

TEST(JsonReader, ReadsOnlyTheGivenBytesAndRefusesNulAfterTheRoot) {
    // The view ends before the second bracket and is not followed by a NUL.
    const std::string buffer = "[1]]";
    EXPECT_EQ(ReadOk(std::string_view(buffer).substr(0, 3)).ElementCount(), 1u);

    EXPECT_EQ(ReadError("[1]\0"s),
              "Error: The document root must not be followed by other values. at offset 3.");
    EXPECT_EQ(ReadError("1 \0 2"s),
              "Error: The document root must not be followed by other values. at offset 2.");
    EXPECT_EQ(ReadError("\0"s), "Error: The document is empty. at offset 0.");
}

TEST(JsonReader, RefusesDocumentsNestedDeeperThanTheLimit) {
    // 512 levels are read; the bracket of level 513 (offset 512) is refused.
    const BindingProperty deepest = ReadOk(std::string(512, '[') + std::string(512, ']'));
    EXPECT_EQ(deepest.ElementCount(), 1u);
    EXPECT_EQ(ReadError(std::string(513, '[') + std::string(513, ']')),
              "Error: The document is nested deeper than 512 levels. at offset 512.");

    // A hostile body far deeper than any stack could follow is refused the same way.
    EXPECT_EQ(ReadError(std::string(200000, '[')),
              "Error: The document is nested deeper than 512 levels. at offset 512.");

    // Objects count the same: each {"a": is five bytes.
    std::string objects;
    for (int i = 0; i < 600; ++i) {
        objects += R"({"a":)";
    }
    EXPECT_EQ(ReadError(objects), "Error: The document is nested deeper than 512 levels. at offset 2560.");
}

}  // namespace
