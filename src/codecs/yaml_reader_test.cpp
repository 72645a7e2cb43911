// yaml_reader_test.cpp - YAML text to value: structure, keys, anchors and aliases, errors and limits.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "binding/binding_property.h"
#include "codecs/json_reader.h"
#include "codecs/yaml_reader.h"

namespace {

using Brix::BindingProperty;

BindingProperty ReadOk(std::string_view text) {
    Brix::ConversionStatus status = Brix::Yaml::Read(text);
    EXPECT_TRUE(status.Ok()) << "reading " << text << ": " << status.Message();
    return std::move(status.Value());
}

std::string ReadError(std::string_view text) {
    const Brix::ConversionStatus status = Brix::Yaml::Read(text);
    EXPECT_FALSE(status.Ok()) << "reading " << text;
    return std::string(status.Message());
}

BindingProperty Json(std::string_view text) {
    Brix::ConversionStatus status = Brix::Json::Read(text);
    EXPECT_TRUE(status.Ok()) << status.Message();
    return std::move(status.Value());
}

TEST(YamlReader, DocumentsBuildCollectionsStructuresAndTypedScalars) {
    EXPECT_EQ(ReadOk("a: 1\nb: [x, '2', -3]\nc:\n  - {d: true}\n"),
              Json(R"({"a": 1, "b": ["x", "2", -3], "c": [{"d": true}]})"));
    EXPECT_EQ(ReadOk("a: '1'").Member("a").AsString(), "1");
    for (std::string_view text : {"a: ~", "a:", "a: null"}) {
        const BindingProperty value = ReadOk(text);
        ASSERT_NE(value.FindMember("a"), nullptr) << text;
        EXPECT_TRUE(value.FindMember("a")->IsEmpty());
    }
    EXPECT_EQ(ReadOk("--- 1.5\n...\n").AsFloat(), 1.5);
    EXPECT_EQ(ReadOk("- |\n  two\n  lines\n").Element(0).AsString(), "two\nlines\n");
    // No document at all is the empty value.
    for (std::string_view text : {"", "# only a comment\n"}) {
        const Brix::ConversionStatus status = Brix::Yaml::Read(text);
        EXPECT_TRUE(status.Ok());
        EXPECT_TRUE(status.Value().IsEmpty());
    }
}

TEST(YamlReader, RepeatedKeysReplaceScalarsAppendSequencesAndMergeMappings) {
    EXPECT_EQ(ReadOk("a: 1\na: 2"), Json(R"({"a": 2})"));
    EXPECT_EQ(ReadOk("a: [1]\na: [2]"), Json(R"({"a": [1, 2]})"));
    EXPECT_EQ(ReadOk("a: {x: 1, y: [1]}\na: {y: [2], z: 3}"),
              Json(R"({"a": {"x": 1, "y": [1, 2], "z": 3}})"));
    EXPECT_EQ(ReadOk("a: [1]\na: x"), Json(R"({"a": "x"})"));
}

TEST(YamlReader, KeysMustBeStringScalars) {
    EXPECT_EQ(ReadOk("1: a\n'b': c\n!!str 2: d\n"), Json(R"({"1": "a", "b": "c", "2": "d"})"));
    EXPECT_EQ(ReadError("a: 1\n!!int 2: x"),
              "Invalid mapping key. Only string scalar keys are allowed. At line: 2 col: 1");
    EXPECT_EQ(ReadError("[a, b]: c"), "Unexpected start of sequence. At line: 1 col: 1");
    EXPECT_EQ(ReadError("x:\n  ? {a: 1}\n  : c"), "Unexpected start of mapping. At line: 2 col: 5");
    EXPECT_EQ(ReadError("&k a: 1\n*k : 2"),
              "Invalid mapping key. Only string scalar keys are allowed. At line: 2 col: 1");
}

TEST(YamlReader, AliasesCopyTheAnchoredValue) {
    EXPECT_EQ(ReadOk("a: &x {p: [1, 2]}\nb: *x\nc: [&s text, *s]\n"),
              Json(R"({"a": {"p": [1, 2]}, "b": {"p": [1, 2]}, "c": ["text", "text"]})"));
    // An anchored key names its text.
    EXPECT_EQ(ReadOk("&k a: 1\nb: *k").Member("b").AsString(), "a");
    // The copy is the value the node had when it ended.
    EXPECT_EQ(ReadOk("a: &x [1]\nb: *x\na: [2]"), Json(R"({"a": [1, 2], "b": [1]})"));
    // A copy is independent of its source.
    EXPECT_EQ(ReadOk("a: &x {p: 1}\nb: *x\nb: {q: 2}"), Json(R"({"a": {"p": 1}, "b": {"p": 1, "q": 2}})"));
}

TEST(YamlReader, AliasErrorsNameTheAnchorAndPosition) {
    EXPECT_EQ(ReadError("*x"), "Undefined alias encountered: \"x\". At line: 1 col: 1");
    EXPECT_EQ(ReadError("a: &x\n  - 1\n  - *x\n"),
              "Cannot deserialize cyclic aliases. Alias \"x\". At line: 3 col: 5");
    EXPECT_EQ(ReadError("a: &x 1\nb: &x 2"), "Duplicate occurrence of anchor \"x\". At line: 2 col: 4");
    EXPECT_EQ(ReadError("a: &x 1\nb: &x [2]"), "Duplicate occurrence of anchor \"x\". At line: 2 col: 4");
}

TEST(YamlReader, RefusesASecondDocumentAndReportsParserErrors) {
    EXPECT_EQ(ReadError("a: 1\n---\nb: 2\n"), "Multi-document YAML is not supported.");
    EXPECT_EQ(ReadError("--- 1\n--- 2\n"), "Multi-document YAML is not supported.");
    // libyaml's problem text and mark, counted from 0.
    EXPECT_EQ(ReadError("a: [1\n"), "YAML parser error: did not find expected ',' or ']'. At line: 1 col: 0");
    EXPECT_EQ(ReadError("a: b: c"),
              "YAML parser error: mapping values are not allowed in this context. At line: 0 col: 4");
    EXPECT_EQ(ReadError("a: \xff"), "YAML parser error: invalid leading UTF-8 octet. At line: 0 col: 0");
    // Scalar failures carry no position.
    EXPECT_EQ(ReadError("a: !!int abc"), "Value abc for 'yaml' of type uint64_t is in an incorrect format");
}

TEST(YamlReader, RefusesDocumentsNestedDeeperThanTheLimit) {
    EXPECT_EQ(ReadOk(std::string(512, '[') + std::string(512, ']')).ElementCount(), 1u);
    EXPECT_EQ(ReadError(std::string(513, '[') + std::string(513, ']')),
              "The document is nested deeper than 512 levels. At line: 1 col: 513");
    EXPECT_EQ(ReadError(std::string(100000, '[')),
              "The document is nested deeper than 512 levels. At line: 1 col: 513");

    // An alias counts the depth of the value it copies.
    const std::string deep = "a: &d " + std::string(300, '[') + std::string(300, ']') + "\n";
    EXPECT_EQ(ReadOk(deep + "b: " + std::string(211, '[') + "*d" + std::string(211, ']')).MemberCount(), 2u);
    EXPECT_EQ(ReadError(deep + "b: " + std::string(212, '[') + "*d" + std::string(212, ']')),
              "The document is nested deeper than 512 levels. At line: 2 col: 216");
}

TEST(YamlReader, BoundsTheValuesThatAliasesCopy) {
    // Each level holds ten aliases of the one before: 10^9 values if every alias were copied.
    std::string laughs = "l0: &l0 [lol]\n";
    for (int level = 1; level <= 9; ++level) {
        const std::string previous = "*l" + std::to_string(level - 1);
        laughs += "l" + std::to_string(level) + ": &l" + std::to_string(level) + " [";
        for (int i = 0; i < 10; ++i) {
            laughs += (i > 0 ? ", " : "") + previous;
        }
        laughs += "]\n";
    }
    const std::string message = ReadError(laughs);
    EXPECT_EQ(message.substr(0, message.find(" At line")),
              "Anchors and aliases copy more than 250000 values.");

    // Moderate reuse is fine.
    EXPECT_EQ(ReadOk(laughs.substr(0, laughs.find("l4:"))).Member("l3").ElementCount(), 10u);
}

TEST(YamlReader, BoundsTheBytesThatAliasesCopy) {
    // The anchored 1 MiB string is copied once for its anchor and once for each alias: 16 MiB in all
    // is read, a seventeenth copy is refused at the alias that makes it.
    const std::string anchored = "s: &s " + std::string(std::size_t{1} << 20, 'k') + "\nl: [*s";
    std::string fifteen = anchored;
    for (int i = 1; i < 15; ++i) {
        fifteen += ", *s";
    }
    EXPECT_EQ(ReadOk(fifteen + "]").Member("l").ElementCount(), 15u);
    EXPECT_EQ(ReadError(fifteen + ", *s, *s]"),
              "Anchors and aliases copy more than 16777216 bytes. At line: 2 col: 65");
}

}  // namespace
