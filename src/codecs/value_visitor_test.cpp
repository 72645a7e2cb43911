// value_visitor_test.cpp - the order of the events that WalkValue sends, and walks of deep values.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"
#include "binding/static_type.h"
#include "codecs/codec_test_support.h"
#include "codecs/value_visitor.h"

namespace {

using Brix::BindingProperty;

// EventLog writes each event as a short word, so that a whole walk compares as one text.
class EventLog final : public Brix::ValueVisitor {
public:
    std::string text;

    void VisitEmpty() override { Add("empty"); }
    void VisitBool(bool value) override { Add(value ? "true" : "false"); }
    void VisitSigned(int64_t value) override { Add("s" + std::to_string(value)); }
    void VisitUnsigned(uint64_t value) override { Add("u" + std::to_string(value)); }
    void VisitFloat(double value) override { Add("f" + std::to_string(value)); }
    void VisitString(std::string_view value) override { Add("'" + std::string(value) + "'"); }
    void VisitBlob(std::span<const uint8_t> bytes) override { Add("blob" + std::to_string(bytes.size())); }
    void VisitEnum(int32_t number, const Brix::StaticTypeDescriptor* type) override {
        Add("enum" + std::to_string(number) + (type != nullptr ? std::string(type->name) : "?"));
    }
    void StartCollection(std::size_t elementCount) override { Add("[" + std::to_string(elementCount)); }
    void BetweenElements() override { Add(","); }
    void EndCollection() override { Add("]"); }
    void StartStructure(std::size_t memberCount) override { Add("{" + std::to_string(memberCount)); }
    void MemberName(std::string_view name) override { Add(std::string(name) + ":"); }
    void EndStructure() override { Add("}"); }

private:
    void Add(const std::string& word) {
        if (!text.empty()) {
            text += ' ';
        }
        text += word;
    }
};

// CountingVisitor only counts containers and remembers the deepest level reached.
class CountingVisitor final : public Brix::ValueVisitor {
public:
    std::size_t depth = 0;
    std::size_t deepest = 0;
    std::size_t scalars = 0;

    void VisitEmpty() override { ++scalars; }
    void VisitBool(bool) override { ++scalars; }
    void VisitSigned(int64_t) override { ++scalars; }
    void VisitUnsigned(uint64_t) override { ++scalars; }
    void VisitFloat(double) override { ++scalars; }
    void VisitString(std::string_view) override { ++scalars; }
    void VisitBlob(std::span<const uint8_t>) override { ++scalars; }
    void VisitEnum(int32_t, const Brix::StaticTypeDescriptor*) override { ++scalars; }
    void StartCollection(std::size_t) override { Open(); }
    void BetweenElements() override {}
    void EndCollection() override { --depth; }
    void StartStructure(std::size_t) override { Open(); }
    void MemberName(std::string_view) override {}
    void EndStructure() override { --depth; }

private:
    void Open() {
        ++depth;
        deepest = depth > deepest ? depth : deepest;
    }
};

std::string Walk(const BindingProperty& value) {
    EventLog log;
    Brix::WalkValue(value, log);
    return log.text;
}

TEST(ValueVisitor, ScalarsSendOneEventOfTheirKind) {
    BindingProperty value;
    EXPECT_EQ(Walk(value), "empty");
    value.SetBool(false);
    EXPECT_EQ(Walk(value), "false");
    value.SetSigned(int64_t{-7});
    EXPECT_EQ(Walk(value), "s-7");
    value.SetUnsigned(uint64_t{18446744073709551615u});
    EXPECT_EQ(Walk(value), "u18446744073709551615");
    value.SetFloat(1.5);
    EXPECT_EQ(Walk(value), "f1.500000");
    value.SetString("text");
    EXPECT_EQ(Walk(value), "'text'");
    const std::vector<uint8_t> bytes = {1, 2, 3};
    value.SetBlob(bytes);
    EXPECT_EQ(Walk(value), "blob3");
    value.SetEnum(4, &Brix::StaticType<int>());
    EXPECT_EQ(Walk(value), "enum4" + std::string(Brix::StaticType<int>().name));
    value.SetEnum(4, nullptr);
    EXPECT_EQ(Walk(value), "enum4?");
}

TEST(ValueVisitor, ContainersFrameTheirItemsWithSeparatorsBetweenElementsOnly) {
    BindingProperty root;
    root.MemberForWriting("list").AppendElement().SetSigned(1);
    root.MemberForWriting("list").AppendElement();
    root.MemberForWriting("list").AppendElement().MemberForWriting("x").SetBool(true);
    root.MemberForWriting("c").MakeCollection();
    root.MemberForWriting("B").MakeStructure();
    root.MemberForWriting("a").ElementForWriting(0).ElementForWriting(0).SetString("deep");

    // Members in byte order ("B" before "a"); empty containers open and close at once.
    EXPECT_EQ(Walk(root), "{4 B: {0 } a: [1 [1 'deep' ] ] c: [0 ] list: [3 s1 , empty , {1 x: true } ] }");

    BindingProperty single;
    single.AppendElement().SetUnsigned(uint32_t{9});
    EXPECT_EQ(Walk(single), "[1 u9 ]");
}

TEST(ValueVisitor, WalksValuesNestedFarDeeperThanTheStackAllows) {
    constexpr std::size_t kDepth = 200000;
    const Brix::Testing::NestedCollections chain(kDepth);
    CountingVisitor counter;
    Brix::WalkValue(chain.Root(), counter);
    EXPECT_EQ(counter.deepest, kDepth);
    EXPECT_EQ(counter.depth, 0u);
    EXPECT_EQ(counter.scalars, 0u);
}

}  // namespace
