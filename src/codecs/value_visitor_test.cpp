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

std::string Walk(const BindingProperty& value) {
    EventLog log;
    Brix::WalkValue(value, log);
    return log.text;
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

    BindingProperty scalars;
    scalars.AppendElement().SetUnsigned(uint32_t{9});
    scalars.AppendElement().SetFloat(1.5);
    scalars.AppendElement().SetBlob(std::vector<uint8_t>{1, 2, 3});
    scalars.AppendElement().SetEnum(4, nullptr);
    EXPECT_EQ(Walk(scalars), "[4 u9 , f1.500000 , blob3 , enum4? ]");
    EXPECT_EQ(Walk(BindingProperty{}), "empty");
}

TEST(ValueVisitor, WalksValuesNestedFarDeeperThanTheStackAllows) {
    constexpr std::size_t kDepth = 200000;
    const Brix::Testing::NestedCollections chain(kDepth);
    std::string expected;
    for (std::size_t level = 1; level < kDepth; ++level) {
        expected += "[1 ";
    }
    expected += "[0 ]";
    for (std::size_t level = 1; level < kDepth; ++level) {
        expected += " ]";
    }
    EXPECT_EQ(Walk(chain.Root()), expected);
}

}  // namespace
