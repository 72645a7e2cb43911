// yaml_scalar_test.cpp - scalar typing: plain texts in their order, tags and their failures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "binding/binding_property.h"
#include "codecs/yaml_scalar.h"

namespace {

using Brix::BindingKind;
using Brix::BindingProperty;

BindingProperty Plain(std::string_view text) {
    BindingProperty value;
    Brix::Yaml::StorePlainScalar(value, text);
    return value;
}

BindingProperty Tagged(std::string_view tag, std::string_view text) {
    BindingProperty value;
    std::string error;
    EXPECT_TRUE(Brix::Yaml::StoreScalar(value, tag, text, false, error)) << error;
    return value;
}

std::string TaggedError(std::string_view tag, std::string_view text) {
    BindingProperty value;
    value.SetString("before");
    std::string error;
    EXPECT_FALSE(Brix::Yaml::StoreScalar(value, tag, text, false, error));
    EXPECT_EQ(value.AsString(), "before") << "a failed scalar leaves its target alone";
    return error;
}

TEST(YamlScalar, PlainTextsAreNullNumbersBoolsOrStrings) {
    for (std::string_view text : {"", "~", "null", "Null", "NULL"}) {
        BindingProperty value;
        value.SetBool(true);
        Brix::Yaml::StorePlainScalar(value, text);
        EXPECT_TRUE(value.IsEmpty()) << text;
    }
    EXPECT_EQ(Plain("5").Kind(), BindingKind::Unsigned);
    EXPECT_EQ(Plain("5").AsUnsigned(), 5u);
    EXPECT_EQ(Plain("-2").AsSigned(), -2);
    EXPECT_EQ(Plain("1.0").AsUnsigned(), 1u);
    EXPECT_EQ(Plain("1e3").AsUnsigned(), 1000u);
    EXPECT_EQ(Plain("+7").AsUnsigned(), 7u);
    EXPECT_EQ(Plain("-0").Kind(), BindingKind::Unsigned);
    EXPECT_EQ(Plain("0x10").AsUnsigned(), 16u);
    EXPECT_EQ(Plain("-2.5e1").AsSigned(), -25);
    EXPECT_EQ(Plain("1.5").AsFloat(), 1.5);
    EXPECT_EQ(Plain(".5").AsFloat(), 0.5);
    EXPECT_TRUE(std::isnan(Plain("nan").AsFloat()));
    EXPECT_EQ(Plain("True").Kind(), BindingKind::Bool);
    EXPECT_TRUE(Plain("TRUE").AsBool());
    EXPECT_EQ(Plain("false").Kind(), BindingKind::Bool);
    // Infinite results, partial numbers and other words stay strings.
    for (std::string_view text :
         {"inf", ".inf", "-Infinity", "1e999", "12abc", "1.2.3", "yes", "tRUE", "0o14", "-"}) {
        EXPECT_EQ(Plain(text).AsString(), text);
    }
}

TEST(YamlScalar, WholeNumbersAreExactAndNeverCut) {
    // Decimal integers keep every digit, up to the ends of both 64-bit ranges.
    EXPECT_EQ(Plain("9007199254740993").AsUnsigned(), 9007199254740993u);
    EXPECT_EQ(Plain("18446744073709551615").AsUnsigned(), std::numeric_limits<uint64_t>::max());
    EXPECT_EQ(Plain("-9223372036854775808").AsSigned(), std::numeric_limits<int64_t>::min());
    // Beyond them a whole number stays a float instead of being cut to 64 bits.
    EXPECT_EQ(Plain("18446744073709551616").Kind(), BindingKind::Float);
    EXPECT_EQ(Plain("-9223372036854775809").Kind(), BindingKind::Float);
    EXPECT_EQ(Plain("1e30").AsFloat(), 1e30);
    EXPECT_EQ(Plain("-1e30").AsFloat(), -1e30);
}

TEST(YamlScalar, QuotedAndStringTaggedScalarsAreStrings) {
    BindingProperty value;
    std::string error;
    ASSERT_TRUE(Brix::Yaml::StoreScalar(value, "", "5", true, error));
    EXPECT_EQ(value.AsString(), "5");
    ASSERT_TRUE(Brix::Yaml::StoreScalar(value, "", "null", true, error));
    EXPECT_EQ(value.AsString(), "null");
    EXPECT_EQ(Tagged(Brix::Yaml::kStringTag, "true").AsString(), "true");
    EXPECT_EQ(Tagged(Brix::Yaml::kStringTag, "").Kind(), BindingKind::String);
}

TEST(YamlScalar, IntFloatAndBoolTagsConvertTheText) {
    EXPECT_EQ(Tagged(Brix::Yaml::kIntTag, "-3").AsSigned(), -3);
    EXPECT_EQ(Tagged(Brix::Yaml::kIntTag, "0x10").AsUnsigned(), 16u);
    EXPECT_EQ(Tagged(Brix::Yaml::kIntTag, "017").AsUnsigned(), 15u);
    EXPECT_EQ(TaggedError(Brix::Yaml::kIntTag, "abc"),
              "Value abc for 'yaml' of type uint64_t is in an incorrect format");
    EXPECT_EQ(TaggedError(Brix::Yaml::kIntTag, "-1.5"),
              "Value -1.5 for 'yaml' of type int64_t is in an incorrect format");
    EXPECT_EQ(TaggedError(Brix::Yaml::kIntTag, "18446744073709551616"),
              "Value 18446744073709551616 for 'yaml' of type uint64_t is out of range");
    EXPECT_EQ(TaggedError(Brix::Yaml::kIntTag, "-9223372036854775809"),
              "Value -9223372036854775809 for 'yaml' of type int64_t is out of range");

    const BindingProperty whole = Tagged(Brix::Yaml::kFloatTag, "2");
    EXPECT_EQ(whole.Kind(), BindingKind::Float);
    EXPECT_EQ(whole.AsFloat(), 2.0);
    EXPECT_EQ(TaggedError(Brix::Yaml::kFloatTag, "x1"),
              "Value x1 for 'yaml' of type double is in an incorrect format");
    EXPECT_EQ(TaggedError(Brix::Yaml::kFloatTag, "1e999"),
              "Value 1e999 for 'yaml' of type double is out of range");
    EXPECT_EQ(TaggedError(Brix::Yaml::kFloatTag, "nan"),
              "Value nan for 'yaml' of type double is out of range");

    EXPECT_TRUE(Tagged(Brix::Yaml::kBoolTag, "True").AsBool());
    EXPECT_EQ(Tagged(Brix::Yaml::kBoolTag, "FALSE").Kind(), BindingKind::Bool);
    // Another word leaves the target empty, without an error.
    BindingProperty value;
    value.SetSigned(1);
    std::string error;
    EXPECT_TRUE(Brix::Yaml::StoreScalar(value, Brix::Yaml::kBoolTag, "yes", false, error));
    EXPECT_TRUE(value.IsEmpty());
}

TEST(YamlScalar, OtherTagsAreRefused) {
    EXPECT_EQ(TaggedError("tag:yaml.org,2002:null", "~"), "Unsupported YAML tag 'tag:yaml.org,2002:null'.");
    EXPECT_EQ(TaggedError("!", "a"), "Unsupported YAML tag '!'.");
    EXPECT_EQ(TaggedError("!local", "a"), "Unsupported YAML tag '!local'.");
}

}  // namespace
