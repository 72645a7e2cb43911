// yaml_scalar_test.cpp - scalar typing: plain texts in their order, tags and their failures.
#include "codecs/yaml_scalar.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "codecs/codec_test_support.h"

namespace {

using Brix::Testing::Described;
namespace Yaml = Brix::Yaml;

// Store is the described value that a scalar stores, or its error.
std::string Store(std::string_view tag, std::string_view text, bool quoted = false) {
    Brix::BindingProperty value;
    value.SetString("before");
    std::string error;
    const bool ok = Yaml::StoreScalar(value, tag, text, quoted, error);
    EXPECT_TRUE(ok || value.AsString() == "before") << "a failed scalar leaves its target alone: " << text;
    return ok ? Described(value) : error;
}

// Untagged plain texts are, in that order: null words; texts the C library reads whole to a finite
// number, integers when whole (decimal integers exactly, up to the ends of both 64-bit ranges) and
// floats otherwise; bool words; strings for the rest, infinite results and partial numbers included.
// Quotes and tags decide the type of the others.
TEST(YamlScalar, PlainTextsTagsAndQuotesDecideTheType) {
    struct Case {
        std::string_view tag;
        std::string_view text;
        bool quoted;
        std::string_view result;
    };
    const Case cases[] = {
        {"", "", false, "empty "},
        {"", "NULL", false, "empty "},
        {"", "5", false, "unsigned 5"},
        {"", "-2", false, "signed -2"},
        {"", "-0", false, "unsigned 0"},
        {"", "1.0", false, "unsigned 1"},
        {"", "0x10", false, "unsigned 16"},
        {"", "-2.5e1", false, "signed -25"},
        {"", "1.5", false, "float 1.5"},
        {"", "nan", false, "float nan"},
        {"", "9007199254740993", false, "unsigned 9007199254740993"},
        {"", "18446744073709551615", false, "unsigned 18446744073709551615"},
        {"", "18446744073709551616", false, "float 18446744073709553000.0"},
        {"", "-9223372036854775809", false, "float -9223372036854776000.0"},
        {"", "1.8446744073709551616e19", false, "float 18446744073709553000.0"},
        {"", "-9.223372036854775808e18", false, "signed -9223372036854775808"},
        {"", "false", false, "bool false"},
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
        EXPECT_EQ(Store(c.tag, c.text, c.quoted), c.result) << c.tag << " " << c.text;
    }
    for (std::string_view text :
         {"inf", ".inf", "-Infinity", "1e999", "12abc", "1.2.3", "yes", "tRUE", "0o14", "-"}) {
        EXPECT_EQ(Store("", text), "string \"" + std::string(text) + "\"");
    }
}

}  // namespace
