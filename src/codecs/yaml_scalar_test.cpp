// yaml_scalar_test.cpp - scalar typing: plain texts in their order, tags and their failures.
#include "codecs/yaml_scalar.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "codecs/codec_test_support.h"

namespace {

using Brix::Testing::Described;
namespace Yaml = Brix::Yaml;

std::string Plain(std::string_view text) {
    Brix::BindingProperty value;
    value.SetBool(true);  // replaced whatever it held
    Yaml::StorePlainScalar(value, text);
    return Described(value);
}

// In that order: null words; texts the C library reads whole to a finite number, integers when whole
// (decimal integers exactly, up to the ends of both 64-bit ranges) and floats otherwise; bool words;
// strings for the rest, infinite results and partial numbers included.
TEST(YamlScalar, PlainTextsAreNullNumbersBoolsOrStringsInThatOrder) {
    for (std::string_view text : {"", "~", "null", "Null", "NULL"}) {
        EXPECT_EQ(Plain(text), "empty ") << text;
    }
    const std::pair<std::string_view, std::string_view> numbers[] = {
        {"5", "unsigned 5"},
        {"-2", "signed -2"},
        {"-0", "unsigned 0"},
        {"1.0", "unsigned 1"},
        {"1e3", "unsigned 1000"},
        {"0x10", "unsigned 16"},
        {"-2.5e1", "signed -25"},
        {"1.5", "float 1.5"},
        {"nan", "float nan"},
        {"9007199254740993", "unsigned 9007199254740993"},
        {"18446744073709551615", "unsigned 18446744073709551615"},
        {"18446744073709551616", "float 18446744073709553000.0"},
        {"-9223372036854775809", "float -9223372036854776000.0"},
        {"1.8446744073709551616e19", "float 18446744073709553000.0"},
        {"-9.223372036854775808e18", "signed -9223372036854775808"},
        {"false", "bool false"},
    };
    for (const auto& [text, expected] : numbers) {
        EXPECT_EQ(Plain(text), expected) << text;
    }
    for (std::string_view text :
         {"inf", ".inf", "-Infinity", "1e999", "12abc", "1.2.3", "yes", "tRUE", "0o14", "-"}) {
        EXPECT_EQ(Plain(text), "string \"" + std::string(text) + "\"");
    }
}

// Each case's result is the stored value when it succeeds and the error when it fails.
TEST(YamlScalar, TagsAndQuotesDecideTheType) {
    struct Case {
        std::string_view tag;
        std::string_view text;
        bool quoted;
        std::string_view result;
    };
    const Case cases[] = {
        {"", "5", true, "string \"5\""},
        {Yaml::kStringTag, "true", false, "string \"true\""},
        {Yaml::kIntTag, "0x10", false, "unsigned 16"},
        {Yaml::kIntTag, "017", false, "unsigned 15"},
        {Yaml::kIntTag, "abc", false, "Value abc for 'yaml' of type uint64_t is in an incorrect format"},
        {Yaml::kIntTag, "-1.5", false, "Value -1.5 for 'yaml' of type int64_t is in an incorrect format"},
        {Yaml::kIntTag, "18446744073709551616", false,
         "Value 18446744073709551616 for 'yaml' of type uint64_t is out of range"},
        {Yaml::kIntTag, "-9223372036854775809", false,
         "Value -9223372036854775809 for 'yaml' of type int64_t is out of range"},
        {Yaml::kFloatTag, "2", false, "float 2.0"},
        {Yaml::kFloatTag, "x1", false, "Value x1 for 'yaml' of type double is in an incorrect format"},
        {Yaml::kFloatTag, "1e999", false, "Value 1e999 for 'yaml' of type double is out of range"},
        {Yaml::kFloatTag, "nan", false, "Value nan for 'yaml' of type double is out of range"},
        {Yaml::kBoolTag, "True", false, "bool true"},
        {Yaml::kBoolTag, "yes", false, "empty "},  // another word empties the target without an error
        {"tag:yaml.org,2002:null", "~", false, "Unsupported YAML tag 'tag:yaml.org,2002:null'."},
    };
    for (const Case& c : cases) {
        Brix::BindingProperty value;
        value.SetString("before");
        std::string error;
        const bool ok = Yaml::StoreScalar(value, c.tag, c.text, c.quoted, error);
        EXPECT_EQ(ok ? Described(value) : error, c.result) << c.tag << " " << c.text;
        if (!ok) {
            EXPECT_EQ(value.AsString(), "before") << "a failed scalar leaves its target alone";
        }
    }
}

}  // namespace
