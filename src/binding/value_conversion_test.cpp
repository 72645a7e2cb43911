// value_conversion_test.cpp - the conversion rules between generic values and native values.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
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
    int8_t tiny = 0;
    uint64_t big = 0;
    Mode mode = Mode::Off;
    Inner inner;
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

// Of is a scalar value of the kind that scalar's type names: texts, bool, float, signed or unsigned.
template <class T>
BindingProperty Of(T scalar) {
    BindingProperty value;
    if constexpr (std::is_same_v<T, bool>) {
        value.SetBool(scalar);
    } else if constexpr (std::is_floating_point_v<T>) {
        value.SetFloat(scalar);
    } else if constexpr (std::is_unsigned_v<T>) {
        value.SetUnsigned(uint64_t{scalar});
    } else if constexpr (std::is_integral_v<T>) {
        value.SetSigned(int64_t{scalar});
    } else {
        value.SetString(scalar);
    }
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
            .Field("tiny", &Record::tiny)
            .Field("big", &Record::big)
            .Field("mode", &Record::mode)
            .Field("inner", &Record::inner)
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
    ExpectConversions<bool>(
        {{Of("1"), "", true},
         {Of("false"), "", false},
         {Of(true), "", true},
         {BindingProperty{}, kRequired},
         {Of("TRUE"),
          "Value TRUE for 'x' of type bool is in an incorrect format. Options are \"true\", "
          "\"false\", \"1\", \"0\"."},
         {Of(1),
          "Couldn't assign value to 'x' of type bool because the input is of an invalid type signed."}});
}

// Texts are read in C notation: automatic base, leading blanks and a sign, the empty text as 0.
TEST_F(Conversion, IntegersKeepTheirBounds) {
    ExpectConversions<int32_t>(
        {{Of("0x10"), "", 16},
         {Of(""), "", 0},
         {Of("-2147483648"), "", std::numeric_limits<int32_t>::min()},
         {Of(-3.9), "", -3},
         {BindingProperty{}, kRequired},
         {Of("08"), "Value 08 for 'x' of type int32 is in an incorrect format"},
         {Of(3e9), "Value 3e+09 for 'x' of type int32 is out of range"},
         {Of(2147483648u), "Value 2147483648 for 'x' of type int32 is out of range"},
         {Of(-2147483649), "Value -2147483649 for 'x' of type int32 is out of range"},
         {Of(true),
          "Couldn't assign value to 'x' of type int32 because the input is of an invalid type bool."}},
        3);
    ExpectConversions<int64_t>(
        {{Of("9223372036854775808"), "Value 9223372036854775808 for 'x' of type int64 is out of range"},
         // 2^63 is one past the largest int64: it must not be truncated into the type.
         {Of(9223372036854775808.0), "Value 9.22337e+18 for 'x' of type int64 is out of range"},
         {Of(std::nan("")), "Value nan for 'x' of type int64 is out of range"},
         {Of(-9223372036854775808.0), "", std::numeric_limits<int64_t>::min()}});
    // Unsigned targets refuse negatives, texts included.
    ExpectConversions<uint32_t>({{Of("4294967295"), "", 4294967295u},
                                 {Of(-1), "Value -1 for 'x' of type uint32 is out of range"},
                                 {Of(" -1"), "Value  -1 for 'x' of type uint32 is out of range"},
                                 {Of(-0.5), "Value -0.5 for 'x' of type uint32 is out of range"}});
    ExpectConversions<uint64_t>(
        {{Of("18446744073709551616"), "Value 18446744073709551616 for 'x' of type uint64 is out of range"},
         {Of(18446744073709551616.0), "Value 1.84467e+19 for 'x' of type uint64 is out of range"}});
}

TEST_F(Conversion, FloatingPointTakesNumbersAndDecimalTexts) {
    ExpectConversions<double>({{Of(-5), "", -5.0},
                               {Of("2.5e3"), "", 2500.0},
                               {Of(" -0.5"), "", -0.5},
                               {Of("2.5x"), "Value 2.5x for 'x' of type double is in an incorrect format"},
                               {Of("1e400"), "Value 1e400 for 'x' of type double is out of range"}});
    ExpectConversions<float>(
        {{Of(3), "", 3.0f}, {Of(1e39), "Value 1e+39 for 'x' of type float is out of range"}});
}

TEST_F(Conversion, StringsEnumsAndOptionals) {
    BindingProperty on;
    on.SetEnum(1, &StaticType<Mode>());
    BindingProperty unknown;
    unknown.SetEnum(9, &StaticType<Mode>());
    ExpectConversions<std::string>(
        {{Of("hello"), "", "hello"},
         {on, "", "On"},
         {BindingProperty{}, kRequired},
         {unknown, "9 is not a valid enumeration value for 'x'."},
         {Of(5), "Couldn't assign value to 'x' because the input is not a string."}});
    // Enums take names, then numbers.
    ExpectConversions<Mode>(
        {{Of("Auto"), "", Mode::Auto},
         {Of("1"), "", Mode::On},
         {Of(2u), "", Mode::Auto},
         {Of("auto"), "auto is not a valid Mode enumeration value for 'x'."},
         {Of(3), "3 is not a valid Mode enumeration value for 'x'."},
         {Of(1.0),
          "Couldn't assign value to 'x' of enum type because the input is of an invalid type float."}});
    // With nothing to take an optional stays as it was.
    ExpectConversions<std::optional<int32_t>>({{BindingProperty{}, "", 4}, {Of("5"), "", 5}}, 4);
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
    EXPECT_EQ((std::array{strict.needed, strict.optionalField, strict.omitted}), (std::array{4, 1, 0}));

    EXPECT_EQ(Into(strict, Of(1)),
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
}

TEST_F(Conversion, NativeRecordsRoundTrip) {
    Record record{
        .tiny = -3, .big = 18000000000000000000u, .mode = Mode::Auto, .inner = {1, "one"}, .maybe = 11};
    record.weights = {{"w", 4}};
    record.any.MemberForWriting("free").SetString("form");
    record.bytes.bytes = {0, 1, 255};

    ConversionStatus status;
    BindingProperty value;
    NativeToValue(status, value, record, registry);
    ASSERT_TRUE(status.Ok()) << status.Message();
    EXPECT_EQ(value.Member("mode").EnumNumber(), 2);

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

    struct Unknown {
        int32_t value = 0;
    };
    ConversionStatus failed;
    BindingProperty output;
    NativeToValue(failed, output, Unknown{}, registry);
    EXPECT_EQ(failed.Message(), "Couldn't convert native value because it's an unregistered structure.");
}

}  // namespace
