// value_conversion_test.cpp - the conversion rules between generic values and native values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "binding/type_builder.h"
#include "binding/value_conversion.h"

namespace ConversionTest {

enum class Mode : int32_t { Off = 0, On = 1, Auto = 2 };

struct Inner {
    int32_t a = 0;
    std::string b;
};

struct Record {
    bool flag = false;
    int8_t tiny = 0;
    int32_t number = 0;
    int64_t wide = 0;
    uint32_t count = 0;
    uint64_t big = 0;
    float ratio = 0.0f;
    double precise = 0.0;
    std::string text;
    Mode mode = Mode::Off;
    Inner inner;
    std::vector<int32_t> numbers;
    std::vector<Inner> inners;
    std::map<std::string, int32_t> weights;
    std::optional<int32_t> maybe;
    Brix::BindingProperty any;
    Brix::Blob bytes;
};

struct Strict {
    int32_t needed = 7;
    int32_t optionalField = 9;
    int32_t omitted = 0;
    std::optional<int32_t> absent;
};

}  // namespace ConversionTest

namespace {

using namespace Brix;
using namespace ConversionTest;

class Conversion : public ::testing::Test {
protected:
    Conversion() {
        Register<Mode>(registry, "Mode")
            .Value("Off", Mode::Off)
            .Value("On", Mode::On)
            .Value("Auto", Mode::Auto);
        Register<Inner>(registry, "Inner").Field("a", &Inner::a).Field("b", &Inner::b);
        Register<Record>(registry, "Record")
            .Field("flag", &Record::flag)
            .Field("tiny", &Record::tiny)
            .Field("number", &Record::number)
            .Field("wide", &Record::wide)
            .Field("count", &Record::count)
            .Field("big", &Record::big)
            .Field("ratio", &Record::ratio)
            .Field("precise", &Record::precise)
            .Field("text", &Record::text)
            .Field("mode", &Record::mode)
            .Field("inner", &Record::inner)
            .Field("numbers", &Record::numbers)
            .Field("inners", &Record::inners)
            .Field("weights", &Record::weights)
            .Field("maybe", &Record::maybe)
            .Field("any", &Record::any)
            .Field("bytes", &Record::bytes);
        Register<Strict>(registry, "Strict")
            .Field("needed", &Strict::needed, "", kFieldRequired)
            .Field("optionalField", &Strict::optionalField)
            .Field("omitted", &Strict::omitted, "", kFieldOmitWhenDefault)
            .Field("absent", &Strict::absent);
    }

    // Into converts value into a fresh T named "x" and answers the message, empty on success.
    template <class T>
    std::string Into(T& output, const BindingProperty& value) {
        ConversionStatus status;
        ValueToNative(status, output, value, "x", registry);
        return std::string(status.Message());
    }

    static BindingProperty Text(std::string_view text) {
        BindingProperty value;
        value.SetString(text);
        return value;
    }
    static BindingProperty Signed(int64_t number) {
        BindingProperty value;
        value.SetSigned(number);
        return value;
    }
    static BindingProperty Unsigned(uint64_t number) {
        BindingProperty value;
        value.SetUnsigned(number);
        return value;
    }
    static BindingProperty Float(double number) {
        BindingProperty value;
        value.SetFloat(number);
        return value;
    }
    static BindingProperty Bool(bool flag) {
        BindingProperty value;
        value.SetBool(flag);
        return value;
    }

    TypeRegistry registry;
};

TEST_F(Conversion, EmptyInputIsRequiredForScalarsAndStructs) {
    int32_t number = 3;
    EXPECT_EQ(Into(number, BindingProperty{}), "A value for 'x' is required.");
    EXPECT_EQ(number, 3);
    std::string text;
    EXPECT_EQ(Into(text, BindingProperty{}), "A value for 'x' is required.");
    Inner inner;
    EXPECT_EQ(Into(inner, BindingProperty{}), "A value for 'x' is required.");
}

TEST_F(Conversion, BoolAcceptsBoolsAndFourExactTexts) {
    bool flag = false;
    EXPECT_EQ(Into(flag, Text("1")), "");
    EXPECT_TRUE(flag);
    EXPECT_EQ(Into(flag, Text("false")), "");
    EXPECT_FALSE(flag);
    EXPECT_EQ(Into(flag, Bool(true)), "");
    EXPECT_TRUE(flag);
    EXPECT_EQ(Into(flag, Text("TRUE")),
              "Value TRUE for 'x' of type bool is in an incorrect format. Options are \"true\", \"false\", "
              "\"1\", \"0\".");
    EXPECT_EQ(Into(flag, Signed(1)),
              "Couldn't assign value to 'x' of type bool because the input is of an invalid type signed.");
}

TEST_F(Conversion, SignedIntegersKeepTheirBounds) {
    int32_t number = 0;
    EXPECT_EQ(Into(number, Text("0x10")), "");
    EXPECT_EQ(number, 16);
    EXPECT_EQ(Into(number, Text("010")), "");
    EXPECT_EQ(number, 8);
    EXPECT_EQ(Into(number, Text("  -42")), "");
    EXPECT_EQ(number, -42);
    EXPECT_EQ(Into(number, Text("")), "");
    EXPECT_EQ(number, 0);
    EXPECT_EQ(Into(number, Float(2.7)), "");
    EXPECT_EQ(number, 2);
    EXPECT_EQ(Into(number, Float(-3.9)), "");
    EXPECT_EQ(number, -3);
    EXPECT_EQ(Into(number, Unsigned(2147483647)), "");
    EXPECT_EQ(number, 2147483647);

    EXPECT_EQ(Into(number, Text("12abc")), "Value 12abc for 'x' of type int32 is in an incorrect format");
    EXPECT_EQ(Into(number, Text("0x")), "Value 0x for 'x' of type int32 is in an incorrect format");
    EXPECT_EQ(Into(number, Float(3e9)), "Value 3e+09 for 'x' of type int32 is out of range");
    EXPECT_EQ(Into(number, Unsigned(2147483648u)), "Value 2147483648 for 'x' of type int32 is out of range");
    EXPECT_EQ(Into(number, Signed(-2147483649)), "Value -2147483649 for 'x' of type int32 is out of range");
    EXPECT_EQ(Into(number, Text("99999999999999999999")),
              "Value 99999999999999999999 for 'x' of type int32 is out of range");
    EXPECT_EQ(Into(number, Bool(true)),
              "Couldn't assign value to 'x' of type int32 because the input is of an invalid type bool.");

    int8_t tiny = 0;
    EXPECT_EQ(Into(tiny, Signed(-129)), "Value -129 for 'x' of type int8 is out of range");
    int64_t wide = 0;
    EXPECT_EQ(Into(wide, Text("-9223372036854775808")), "");
    EXPECT_EQ(wide, std::numeric_limits<int64_t>::min());
    // 2^63 is one past the largest int64: it must not be truncated into the type.
    EXPECT_EQ(Into(wide, Float(9223372036854775808.0)),
              "Value 9.22337e+18 for 'x' of type int64 is out of range");
    EXPECT_EQ(Into(wide, Float(std::nan(""))), "Value nan for 'x' of type int64 is out of range");
}

TEST_F(Conversion, UnsignedIntegersRefuseNegatives) {
    uint32_t count = 0;
    EXPECT_EQ(Into(count, Signed(-1)), "Value -1 for 'x' of type uint32 is out of range");
    EXPECT_EQ(Into(count, Text("-0")), "Value -0 for 'x' of type uint32 is out of range");
    EXPECT_EQ(Into(count, Text(" -1")), "Value  -1 for 'x' of type uint32 is out of range");
    EXPECT_EQ(Into(count, Float(-0.5)), "Value -0.5 for 'x' of type uint32 is out of range");
    EXPECT_EQ(Into(count, Text("4294967295")), "");
    EXPECT_EQ(count, 4294967295u);
    EXPECT_EQ(Into(count, Text("4294967296")), "Value 4294967296 for 'x' of type uint32 is out of range");
    uint64_t big = 0;
    EXPECT_EQ(Into(big, Text("0xFFFFFFFFFFFFFFFF")), "");
    EXPECT_EQ(big, std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(Into(big, Text("-1")), "Value -1 for 'x' of type uint64 is out of range");
    EXPECT_EQ(Into(big, Float(18446744073709551616.0)),
              "Value 1.84467e+19 for 'x' of type uint64 is out of range");
}

TEST_F(Conversion, FloatingPointTakesNumbersAndDecimalTexts) {
    double precise = 0.0;
    EXPECT_EQ(Into(precise, Signed(-5)), "");
    EXPECT_EQ(precise, -5.0);
    EXPECT_EQ(Into(precise, Unsigned(7)), "");
    EXPECT_EQ(precise, 7.0);
    EXPECT_EQ(Into(precise, Text("2.5e3")), "");
    EXPECT_EQ(precise, 2500.0);
    EXPECT_EQ(Into(precise, Text("2.5x")), "Value 2.5x for 'x' of type double is in an incorrect format");
    EXPECT_EQ(Into(precise, Text("1e400")), "Value 1e400 for 'x' of type double is out of range");
    float ratio = 0.0f;
    EXPECT_EQ(Into(ratio, Float(1e39)), "Value 1e+39 for 'x' of type float is out of range");
    EXPECT_EQ(Into(ratio, Signed(3)), "");
    EXPECT_EQ(ratio, 3.0f);
    EXPECT_EQ(Into(ratio, Text("x")), "Value x for 'x' of type float is in an incorrect format");
}

TEST_F(Conversion, StringsTakeTextsAndEnumeratorNames) {
    std::string text;
    EXPECT_EQ(Into(text, Text("hello")), "");
    EXPECT_EQ(text, "hello");
    BindingProperty on;
    on.SetEnum(1, &StaticType<Mode>());
    EXPECT_EQ(Into(text, on), "");
    EXPECT_EQ(text, "On");
    BindingProperty unknown;
    unknown.SetEnum(9, &StaticType<Mode>());
    EXPECT_EQ(Into(text, unknown), "9 is not a valid enumeration value for 'x'.");
    EXPECT_EQ(Into(text, Signed(5)), "Couldn't assign value to 'x' because the input is not a string.");
}

TEST_F(Conversion, EnumsTakeNamesThenNumbers) {
    Mode mode = Mode::Off;
    EXPECT_EQ(Into(mode, Text("Auto")), "");
    EXPECT_EQ(mode, Mode::Auto);
    EXPECT_EQ(Into(mode, Text("1")), "");
    EXPECT_EQ(mode, Mode::On);
    EXPECT_EQ(Into(mode, Unsigned(2)), "");
    EXPECT_EQ(mode, Mode::Auto);
    EXPECT_EQ(Into(mode, Text("auto")), "auto is not a valid Mode enumeration value for 'x'.");
    EXPECT_EQ(Into(mode, Signed(3)), "3 is not a valid Mode enumeration value for 'x'.");
    EXPECT_EQ(Into(mode, Float(1.0)),
              "Couldn't assign value to 'x' of enum type because the input is of an invalid type float.");
}

TEST_F(Conversion, StructsWalkTheirFieldsInOrder) {
    Strict strict;
    BindingProperty input;
    input.MemberForWriting("optionalField").SetSigned(1);
    EXPECT_EQ(
        Into(strict, input),
        "Couldn't assign value to 'x' of type Strict because the input structure doesn't have required field "
        "'needed'.");
    input.MemberForWriting("needed").SetSigned(4);
    input.MemberForWriting("stranger").SetString("ignored");
    strict = Strict{};
    EXPECT_EQ(Into(strict, input), "");
    EXPECT_EQ(strict.needed, 4);
    EXPECT_EQ(strict.optionalField, 1);
    EXPECT_EQ(strict.omitted, 0);

    EXPECT_EQ(Into(strict, Signed(1)),
              "Couldn't assign value to 'x' of type Strict because the input not a structure.");
    struct Stranger {
        int32_t value = 0;
    } stranger;
    BindingProperty structure;
    structure.MakeStructure();
    EXPECT_EQ(Into(stranger, structure),
              "Couldn't assign value to 'x' because the input is an unregistered structure or not a "
              "structure at all.");

    // A nested failure reaches the caller unchanged, named after the field that failed.
    BindingProperty nested;
    nested.MemberForWriting("inner").MemberForWriting("a").SetString("seven");
    Record record;
    EXPECT_EQ(Into(record, nested), "Value seven for 'a' of type int32 is in an incorrect format");
}

TEST_F(Conversion, VectorsAndMapsConvertEachElement) {
    std::vector<int32_t> numbers{9, 9, 9, 9};
    BindingProperty list;
    list.ElementForWriting(0).SetSigned(1);
    list.ElementForWriting(2).SetString("3");
    EXPECT_EQ(Into(numbers, list), "");
    EXPECT_EQ(numbers, (std::vector<int32_t>{1, 0, 3}));
    list.ElementForWriting(1).SetString("two");
    EXPECT_EQ(Into(numbers, list), "Value two for 'x' of type int32 is in an incorrect format");

    BindingProperty structure;
    structure.MakeStructure();
    EXPECT_EQ(Into(numbers, structure),
              "Couldn't assign value to 'x' of type vector because the input not a collection.");
    EXPECT_TRUE(numbers.empty());

    std::map<std::string, int32_t> weights{{"old", 1}};
    BindingProperty members;
    members.MemberForWriting("a").SetSigned(1);
    members.MemberForWriting("skipped");
    EXPECT_EQ(Into(weights, members), "");
    EXPECT_EQ(weights, (std::map<std::string, int32_t>{{"a", 1}}));
    EXPECT_EQ(Into(weights, list),
              "Couldn't assign value to 'x' of type map because the input not a structure.");
    std::unordered_map<std::string, std::string> texts;
    EXPECT_EQ(Into(texts, members), "Couldn't assign value to 'x' because the input is not a string.");
}

TEST_F(Conversion, OptionalsAndObjects) {
    std::optional<int32_t> maybe;
    EXPECT_EQ(Into(maybe, BindingProperty{}), "");
    EXPECT_FALSE(maybe.has_value());
    EXPECT_EQ(Into(maybe, Text("5")), "");
    EXPECT_EQ(maybe, 5);
    EXPECT_EQ(Into(maybe, Text("five")), "Value five for 'x' of type int32 is in an incorrect format");
    EXPECT_EQ(maybe, 5);

    BindingProperty any;
    BindingProperty tree;
    tree.ElementForWriting(1).MemberForWriting("k").SetBool(true);
    EXPECT_EQ(Into(any, tree), "");
    EXPECT_EQ(any, tree);
}

TEST_F(Conversion, NativeRecordsRoundTrip) {
    Record record;
    record.flag = true;
    record.tiny = -3;
    record.number = 42;
    record.wide = -9000000000;
    record.count = 7;
    record.big = 18000000000000000000u;
    record.ratio = 0.5f;
    record.precise = 0.25;
    record.text = "text";
    record.mode = Mode::Auto;
    record.inner = {1, "one"};
    record.numbers = {1, 2, 3};
    record.inners = {{2, "two"}, {3, "three"}};
    record.weights = {{"w", 4}};
    record.maybe = 11;
    record.any.MemberForWriting("free").SetString("form");
    record.bytes.bytes = {0, 1, 255};

    ConversionStatus status;
    BindingProperty value;
    NativeToValue(status, value, record, registry);
    ASSERT_TRUE(status.Ok()) << status.Message();
    EXPECT_EQ(value.MemberCount(), 17u);
    EXPECT_EQ(value.Member("mode").Kind(), BindingKind::Enum);
    EXPECT_EQ(value.Member("mode").EnumNumber(), 2);
    EXPECT_EQ(value.Member("tiny").AsSigned(), -3);
    EXPECT_EQ(value.Member("count").Kind(), BindingKind::Unsigned);
    EXPECT_EQ(value.Member("inners").Element(1).Member("b").AsString(), "three");

    Record back;
    EXPECT_EQ(Into(back, value), "");
    EXPECT_EQ(back.text, "text");
    EXPECT_EQ(back.mode, Mode::Auto);
    EXPECT_EQ(back.inners.size(), 2u);
    EXPECT_EQ(back.inners[1].a, 3);
    EXPECT_EQ(back.weights, record.weights);
    EXPECT_EQ(back.maybe, 11);
    EXPECT_EQ(back.any, record.any);
    EXPECT_EQ(back.bytes, record.bytes);
    EXPECT_EQ(back.big, record.big);
}

TEST_F(Conversion, OutputLeavesOutDefaultsOnlyWhereFlagged) {
    ConversionStatus status;
    BindingProperty value;
    NativeToValue(status, value, Strict{}, registry);
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(value.FindMember("omitted"), nullptr);
    // An absent optional is stored as an empty member.
    ASSERT_NE(value.FindMember("absent"), nullptr);
    EXPECT_TRUE(value.FindMember("absent")->IsEmpty());
    EXPECT_EQ(value.Member("needed").AsSigned(), 7);

    struct Unknown {
        int32_t value = 0;
    };
    ConversionStatus failed;
    BindingProperty output;
    NativeToValue(failed, output, Unknown{}, registry);
    EXPECT_EQ(failed.Message(), "Couldn't convert native value because it's an unregistered structure.");
}

TEST(RecordConversion, DefaultsAreTheZeroOfEachKind) {
    BindingProperty value;
    EXPECT_TRUE(RecordConversion::HoldsDefault(value));
    value.SetFloat(std::nan(""));
    EXPECT_FALSE(RecordConversion::HoldsDefault(value));
    value.SetFloat(-0.0);
    EXPECT_TRUE(RecordConversion::HoldsDefault(value));
    value.SetString("");
    EXPECT_TRUE(RecordConversion::HoldsDefault(value));
    value.MakeCollection();
    EXPECT_TRUE(RecordConversion::HoldsDefault(value));
    value.AppendElement();
    EXPECT_FALSE(RecordConversion::HoldsDefault(value));
    value.SetEnum(0, nullptr);
    EXPECT_TRUE(RecordConversion::HoldsDefault(value));
}

}  // namespace
