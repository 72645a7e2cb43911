// value_conversion_test.cpp - the conversion rules between generic values and native values.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
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
    bool operator==(const Inner&) const = default;
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
    bool operator==(const Record&) const = default;
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

BindingProperty Text(std::string_view text) {
    BindingProperty value;
    value.SetString(text);
    return value;
}
BindingProperty Signed(int64_t number) {
    BindingProperty value;
    value.SetSigned(number);
    return value;
}
BindingProperty Unsigned(uint64_t number) {
    BindingProperty value;
    value.SetUnsigned(number);
    return value;
}
BindingProperty Float(double number) {
    BindingProperty value;
    value.SetFloat(number);
    return value;
}
BindingProperty Bool(bool flag) {
    BindingProperty value;
    value.SetBool(flag);
    return value;
}

template <class T>
struct Case {
    BindingProperty input;
    std::string_view message;
    T expected{};
};

constexpr std::string_view kRequired = "A value for 'x' is required.";

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

    // Into converts value into output, named "x", and answers the message, empty on success.
    template <class T>
    std::string Into(T& output, const BindingProperty& value) {
        ConversionStatus status;
        ValueToNative(status, output, value, "x", registry);
        return std::string(status.Message());
    }

    // ExpectConversions converts each case's input into a T that holds initial, and expects the case's
    // message, and on success its value; a failure leaves the target as it was.
    template <class T>
    void ExpectConversions(std::initializer_list<Case<T>> cases, const T& initial = T{}) {
        for (const Case<T>& c : cases) {
            T output = initial;
            EXPECT_EQ(Into(output, c.input), c.message)
                << KindName(c.input.Kind()) << " " << c.input.ToText();
            EXPECT_EQ(output, c.message.empty() ? c.expected : initial) << c.input.ToText();
        }
    }

    TypeRegistry registry;
};

TEST_F(Conversion, BoolAcceptsBoolsAndFourExactTexts) {
    ExpectConversions<bool>({
        {Text("1"), "", true},
        {Text("false"), "", false},
        {Bool(true), "", true},
        {BindingProperty{}, kRequired},
        {Text("TRUE"),
         "Value TRUE for 'x' of type bool is in an incorrect format. Options are \"true\", "
         "\"false\", \"1\", \"0\"."},
        {Signed(1),
         "Couldn't assign value to 'x' of type bool because the input is of an invalid type signed."},
    });
}

// Texts are read in C notation: automatic base, leading blanks and a sign, the empty text as 0.
TEST_F(Conversion, SignedIntegersKeepTheirBounds) {
    ExpectConversions<int32_t>(
        {
            {Text("0x10"), "", 16},
            {Text("0X1f"), "", 31},
            {Text("010"), "", 8},
            {Text("  -42"), "", -42},
            {Text("+7"), "", 7},
            {Text(""), "", 0},
            {Text("-2147483648"), "", std::numeric_limits<int32_t>::min()},
            {Float(2.7), "", 2},
            {Float(-3.9), "", -3},
            {Unsigned(2147483647), "", 2147483647},
            {BindingProperty{}, kRequired},
            {Text("12abc"), "Value 12abc for 'x' of type int32 is in an incorrect format"},
            {Text("0x"), "Value 0x for 'x' of type int32 is in an incorrect format"},
            {Text("08"), "Value 08 for 'x' of type int32 is in an incorrect format"},
            {Text("7 "), "Value 7  for 'x' of type int32 is in an incorrect format"},
            {Float(3e9), "Value 3e+09 for 'x' of type int32 is out of range"},
            {Unsigned(2147483648u), "Value 2147483648 for 'x' of type int32 is out of range"},
            {Signed(-2147483649), "Value -2147483649 for 'x' of type int32 is out of range"},
            {Text("2147483648"), "Value 2147483648 for 'x' of type int32 is out of range"},
            {Text("99999999999999999999"),
             "Value 99999999999999999999 for 'x' of type int32 is out of range"},
            {Bool(true),
             "Couldn't assign value to 'x' of type int32 because the input is of an invalid type bool."},
        },
        3);
    ExpectConversions<int8_t>(
        {{Signed(-128), "", -128}, {Signed(-129), "Value -129 for 'x' of type int8 is out of range"}});
    ExpectConversions<int64_t>({
        {Text("-9223372036854775808"), "", std::numeric_limits<int64_t>::min()},
        {Text("0x7FFFFFFFFFFFFFFF"), "", std::numeric_limits<int64_t>::max()},
        {Text("9223372036854775808"), "Value 9223372036854775808 for 'x' of type int64 is out of range"},
        // 2^63 is one past the largest int64: it must not be truncated into the type.
        {Float(9223372036854775808.0), "Value 9.22337e+18 for 'x' of type int64 is out of range"},
        {Float(std::nan("")), "Value nan for 'x' of type int64 is out of range"},
        {Float(-9223372036854775808.0), "", std::numeric_limits<int64_t>::min()},
    });
}

TEST_F(Conversion, UnsignedIntegersRefuseNegatives) {
    ExpectConversions<uint32_t>({
        {Text("4294967295"), "", 4294967295u},
        {Signed(-1), "Value -1 for 'x' of type uint32 is out of range"},
        {Text("-0"), "Value -0 for 'x' of type uint32 is out of range"},
        {Text(" -1"), "Value  -1 for 'x' of type uint32 is out of range"},
        {Float(-0.5), "Value -0.5 for 'x' of type uint32 is out of range"},
        {Text("4294967296"), "Value 4294967296 for 'x' of type uint32 is out of range"},
    });
    ExpectConversions<uint64_t>({
        {Text("0xFFFFFFFFFFFFFFFF"), "", std::numeric_limits<uint64_t>::max()},
        {Text("18446744073709551615"), "", std::numeric_limits<uint64_t>::max()},
        {Text("18446744073709551616"), "Value 18446744073709551616 for 'x' of type uint64 is out of range"},
        {Text("-1"), "Value -1 for 'x' of type uint64 is out of range"},
        {Float(-0.5), "Value -0.5 for 'x' of type uint64 is out of range"},
        {Float(18446744073709551616.0), "Value 1.84467e+19 for 'x' of type uint64 is out of range"},
    });
}

TEST_F(Conversion, FloatingPointTakesNumbersAndDecimalTexts) {
    ExpectConversions<double>({
        {Signed(-5), "", -5.0},
        {Unsigned(7), "", 7.0},
        {Text("2.5e3"), "", 2500.0},
        {Text(" -0.5"), "", -0.5},
        {Text("2.5x"), "Value 2.5x for 'x' of type double is in an incorrect format"},
        {Text("1e400"), "Value 1e400 for 'x' of type double is out of range"},
    });
    ExpectConversions<float>({
        {Signed(3), "", 3.0f},
        {Float(1e39), "Value 1e+39 for 'x' of type float is out of range"},
        {Text("x"), "Value x for 'x' of type float is in an incorrect format"},
    });
}

TEST_F(Conversion, StringsTakeTextsAndEnumeratorNames) {
    BindingProperty on;
    on.SetEnum(1, &StaticType<Mode>());
    BindingProperty unknown;
    unknown.SetEnum(9, &StaticType<Mode>());
    ExpectConversions<std::string>({
        {Text("hello"), "", "hello"},
        {on, "", "On"},
        {BindingProperty{}, kRequired},
        {unknown, "9 is not a valid enumeration value for 'x'."},
        {Signed(5), "Couldn't assign value to 'x' because the input is not a string."},
    });
}

TEST_F(Conversion, EnumsTakeNamesThenNumbers) {
    ExpectConversions<Mode>({
        {Text("Auto"), "", Mode::Auto},
        {Text("1"), "", Mode::On},
        {Unsigned(2), "", Mode::Auto},
        {Text("auto"), "auto is not a valid Mode enumeration value for 'x'."},
        {Signed(3), "3 is not a valid Mode enumeration value for 'x'."},
        {Float(1.0),
         "Couldn't assign value to 'x' of enum type because the input is of an invalid type float."},
    });
}

TEST_F(Conversion, OptionalsTakeNothingOrTheirValue) {
    ExpectConversions<std::optional<int32_t>>(
        {
            {BindingProperty{}, "", 4},  // nothing to take: the target stays as it was
            {Text("5"), "", 5},
            {Text("five"), "Value five for 'x' of type int32 is in an incorrect format"},
        },
        4);
}

TEST_F(Conversion, StructsWalkTheirFieldsInOrder) {
    Strict strict;
    EXPECT_EQ(Into(strict, BindingProperty{}), kRequired);
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

TEST_F(Conversion, ObjectsTakeTheValueAsItIs) {
    BindingProperty any;
    BindingProperty tree;
    tree.ElementForWriting(1).MemberForWriting("k").SetBool(true);
    EXPECT_EQ(Into(any, tree), "");
    EXPECT_EQ(any, tree);
}

TEST_F(Conversion, NativeRecordsRoundTrip) {
    Record record{.flag = true,
                  .tiny = -3,
                  .number = 42,
                  .wide = -9000000000,
                  .count = 7,
                  .big = 18000000000000000000u,
                  .ratio = 0.5f,
                  .precise = 0.25,
                  .text = "text",
                  .mode = Mode::Auto,
                  .inner = {1, "one"},
                  .numbers = {1, 2, 3},
                  .inners = {{2, "two"}, {3, "three"}},
                  .weights = {{"w", 4}},
                  .maybe = 11};
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
    EXPECT_TRUE(back == record);
}

TEST_F(Conversion, OutputLeavesOutDefaultsOnlyWhereFlagged) {
    ConversionStatus status;
    BindingProperty value;
    NativeToValue(status, value, Strict{}, registry);
    ASSERT_TRUE(status.Ok()) << status.Message();
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
