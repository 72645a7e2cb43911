// yaml_reader_test.cpp - YAML text to value: structure, keys, anchors and aliases, errors and limits.
#include "codecs/yaml_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "codecs/codec_test_support.h"

namespace {

using Brix::Testing::Described;

// Read is the described value of text, or its error message.
std::string Read(std::string_view text) {
    const Brix::ConversionStatus status = Brix::Yaml::Read(text);
    return status.Ok() ? Described(status.Value()) : std::string(status.Message());
}

std::string Nested(std::size_t depth, std::string_view inner = "") {
    return std::string(depth, '[') + std::string(inner) + std::string(depth, ']');
}

TEST(YamlReader, ReadsDocumentsToTheseValues) {
    const std::pair<std::string, std::string> cases[] = {
        {"a: 1\nb: [x, '2', -3]\nc:\n  - {d: true}\n",
         R"(structure {"a":1,"b":["x","2",-3],"c":[{"d":true}]})"},
        {"a: '1'\nb: ~\nc:\nd: null", R"(structure {"a":"1","b":null,"c":null,"d":null})"},
        {"--- 1.5\n...\n", "float 1.5"},
        {"- |\n  two\n  lines\n", R"(collection ["two\nlines\n"])"},
        {"", "empty "},  // no document at all
        // Repeated keys replace scalars, append sequences and merge mappings.
        {"a: {x: 1, y: [1]}\na: {y: [2], z: 3}", R"(structure {"a":{"x":1,"y":[1,2],"z":3}})"},
        // Keys are string scalars, whatever their text.
        {"1: a\n'b': c\n!!str 2: d\n", R"(structure {"1":"a","2":"d","b":"c"})"},
        // An alias copies the anchored value as it was when its node ended; the copy is independent.
        {"a: &x {p: [1, 2]}\nb: *x\nc: [&s text, *s]\n",
         R"(structure {"a":{"p":[1,2]},"b":{"p":[1,2]},"c":["text","text"]})"},
        {"&k a: 1\nb: *k", R"(structure {"a":1,"b":"a"})"},
        {"a: &x [1]\nb: *x\na: [2]", R"(structure {"a":[1,2],"b":[1]})"},
        {"a: &x {p: 1}\nb: *x\nb: {q: 2}", R"(structure {"a":{"p":1},"b":{"p":1,"q":2}})"},
        // 512 levels are read, an alias counting the depth of what it copies.
        {Nested(512), "collection " + Nested(512)},
        {"a: &d " + Nested(300) + "\nb: " + Nested(211, "*d"),
         "structure {\"a\":" + Nested(300) + ",\"b\":" + Nested(511) + "}"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Read(text), expected) << text.substr(0, 40);
    }
}

TEST(YamlReader, RefusesWithTheProblemAndItsPosition) {
    const std::pair<std::string, std::string> cases[] = {
        {"a: 1\n!!int 2: x", "Invalid mapping key. Only string scalar keys are allowed. At line: 2 col: 1"},
        {"&k a: 1\n*k : 2", "Invalid mapping key. Only string scalar keys are allowed. At line: 2 col: 1"},
        {"[a, b]: c", "Unexpected start of sequence. At line: 1 col: 1"},
        {"x:\n  ? {a: 1}\n  : c", "Unexpected start of mapping. At line: 2 col: 5"},
        {"*x", "Undefined alias encountered: \"x\". At line: 1 col: 1"},
        {"a: &x\n  - 1\n  - *x\n", "Cannot deserialize cyclic aliases. Alias \"x\". At line: 3 col: 5"},
        {"a: &x 1\nb: &x 2", "Duplicate occurrence of anchor \"x\". At line: 2 col: 4"},
        {"a: 1\n---\nb: 2\n", "Multi-document YAML is not supported."},
        // libyaml's problem text and mark, counted from 0.
        {"a: [1\n", "YAML parser error: did not find expected ',' or ']'. At line: 1 col: 0"},
        {"a: b: c", "YAML parser error: mapping values are not allowed in this context. At line: 0 col: 4"},
        {"a: \xff", "YAML parser error: invalid leading UTF-8 octet. At line: 0 col: 0"},
        // Scalar failures carry no position.
        {"a: !!int abc", "Value abc for 'yaml' of type uint64_t is in an incorrect format"},
        {Nested(513), "The document is nested deeper than 512 levels. At line: 1 col: 513"},
        {std::string(100000, '['), "The document is nested deeper than 512 levels. At line: 1 col: 513"},
        {"a: &d " + Nested(300) + "\nb: " + Nested(212, "*d"),
         "The document is nested deeper than 512 levels. At line: 2 col: 216"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Read(text), expected) << text.substr(0, 40);
    }
}

TEST(YamlReader, BoundsTheValuesThatAliasesCopy) {
    // Each level holds ten aliases of the one before: 10^9 values if every alias were copied.
    std::string laughs = "l0: &l0 [lol]\n";
    for (int level = 1; level <= 9; ++level) {
        const std::string previous = "*l" + std::to_string(level - 1);
        laughs += "l" + std::to_string(level) + ": &l" + std::to_string(level) + " [" + previous;
        for (int i = 1; i < 10; ++i) {
            laughs += ", " + previous;
        }
        laughs += "]\n";
    }
    const std::string message = Read(laughs);
    EXPECT_EQ(message.substr(0, message.find(" At line")),
              "Anchors and aliases copy more than 250000 values.");
    // Moderate reuse is fine.
    EXPECT_EQ(Brix::Yaml::Read(laughs.substr(0, laughs.find("l4:"))).Value().Member("l3").ElementCount(),
              10u);
}

TEST(YamlReader, BoundsTheBytesThatAliasesCopy) {
    // The anchored 1 MiB string is copied once for its anchor and once for each alias: 16 MiB in all
    // is read, a seventeenth copy is refused at the alias that makes it.
    std::string fifteen = "s: &s " + std::string(std::size_t{1} << 20, 'k') + "\nl: [*s";
    for (int i = 1; i < 15; ++i) {
        fifteen += ", *s";
    }
    EXPECT_EQ(Brix::Yaml::Read(fifteen + "]").Value().Member("l").ElementCount(), 15u);
    EXPECT_EQ(Read(fifteen + ", *s, *s]"),
              "Anchors and aliases copy more than 16777216 bytes. At line: 2 col: 65");
}

}  // namespace
