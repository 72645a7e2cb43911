// binding_property_test.cpp - kinds, access, copy, move and release of the generic tree value.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "binding/allocation_context.h"
#include "binding/binding_property.h"
#include "binding/small_block_allocator.h"

namespace {

using Brix::AllocationContext;
using Brix::BindingKind;
using Brix::BindingProperty;
using namespace std::string_view_literals;

// The enum cell only keeps the address of its type; any object stands in for a descriptor.
alignas(8) const unsigned char kFakeType[16] = {};
const Brix::StaticTypeDescriptor* FakeType() {
    return static_cast<const Brix::StaticTypeDescriptor*>(static_cast<const void*>(kFakeType));
}

std::vector<std::string> MemberNames(const BindingProperty& value) {
    std::vector<std::string> names;
    for (auto [name, member] : value.Members()) {
        names.emplace_back(name);
    }
    return names;
}

// PagesInUse counts the pages that the pools of the process hold right now.
std::size_t PagesInUse() {
    auto& allocator = Brix::SmallBlockAllocator::Instance();
    return allocator.RegionCount() * Brix::SmallBlockAllocator::kPagesPerRegion - allocator.FreePageCount();
}

TEST(BindingProperty, ScalarsHaveTheirSizeAndText) {
    BindingProperty value;
    // Kind and flags, a size, and a payload of pointer size: 24 bytes on 64-bit targets, 16 on 32-bit ones.
    EXPECT_EQ(sizeof(BindingProperty), sizeof(void*) == 8 ? 24u : 16u);
    value.SetSigned(int32_t{-3});
    EXPECT_EQ(value.ToText(), "-3");
    EXPECT_EQ(value.AsUnsigned(), 0u) << "readers give zero for another kind";
    value.SetFloat(1e20);
    EXPECT_EQ(value.ToText(), "100000000000000000000.000000");
    EXPECT_EQ(value.Context(), nullptr) << "scalars need no storage";
    value.SetBlob(std::vector<uint8_t>{'a', 'b', 'c'});
    EXPECT_EQ(value.ToText(), "YWJj");
    value.SetEnum(-42, FakeType());
    EXPECT_EQ(value.ToText(), "-42");
    EXPECT_EQ(value.EnumType(), FakeType());
}

TEST(BindingProperty, WritingAnElementOrMemberChangesTheKindButReadingNever) {
    BindingProperty list;
    list.ElementForWriting(2).SetString("three");
    list.MakeCollection();  // an existing collection is kept
    EXPECT_EQ(&list.Member("a"), &BindingProperty::EmptyValue());
    EXPECT_TRUE(list.Element(1).IsEmpty());
    EXPECT_TRUE(list.Element(3).IsEmpty());
    EXPECT_EQ(list.ElementCount(), 3u);
    EXPECT_EQ(list.Element(2).AsString(), "three");

    BindingProperty record;
    record.SetBool(true);
    record.MemberForWriting("a");
    record.MakeStructure();
    EXPECT_EQ(MemberNames(record), std::vector<std::string>{"a"});
    EXPECT_TRUE(record.Element(0).IsEmpty());
    EXPECT_EQ(record.Kind(), BindingKind::Structure);
}

TEST(BindingProperty, MembersAreOrderedByBytesAndStayWhereTheyAre) {
    BindingProperty value;
    BindingProperty& held = value.MemberForWriting("m");
    for (std::string_view name : {"b"sv, "a"sv, "é"sv, "B"sv, "aa"sv, ""sv, "a\0b"sv}) {
        value.MemberForWriting(name).SetString(name);
    }
    // Bytes compare unsigned, so "é" (0xC3 0xA9) sorts last; a NUL inside a name is an ordinary byte.
    EXPECT_EQ(MemberNames(value),
              (std::vector<std::string>{"", "B", "a", std::string("a\0b", 3), "aa", "b", "m", "é"}));
    EXPECT_EQ(value.Member("a").AsString(), "a");

    // Readers and converters hold a member while they add its siblings.
    for (int i = 0; i < 100; ++i) {
        value.MemberForWriting("n" + std::to_string(i)).SetSigned(i);
    }
    held.SetString("still here");
    EXPECT_EQ(value.Member("m").AsString(), "still here");
}

TEST(BindingProperty, MemberNamesArePooledAndTextsSharedByCopiesWithinTheContext) {
    BindingProperty root;
    root.ElementForWriting(0).MemberForWriting("name").SetString("same");
    root.ElementForWriting(1).MemberForWriting("name").SetString("same");
    AllocationContext* context = root.Context();
    Brix::StringPool& pool = context->Strings();
    // Two structures of one context share their member names; string values stay out of the pool.
    EXPECT_EQ(pool.Size(), 1u);
    EXPECT_EQ(pool.Find("name")->references, 2u);
    EXPECT_EQ(pool.Find("same"), nullptr);

    // A copy within the context shares the text and outlives the value it was copied from.
    root.ElementForWriting(2) = root.Element(0).Member("name");
    EXPECT_EQ(root.Element(2).AsString().data(), root.Element(0).Member("name").AsString().data());
    root.ElementForWriting(0).Clear();
    EXPECT_EQ(root.Element(2).AsString(), "same");
    EXPECT_EQ(pool.Find("name")->references, 1u);

    root.ElementForWriting(1).SetBool(false);
    EXPECT_EQ(pool.Size(), 0u);
}

TEST(BindingProperty, CopyIsDeepAndMadeInTheTargetsContext) {
    BindingProperty source;
    source.MemberForWriting("list").ElementForWriting(1).SetString("text");
    source.MemberForWriting("blob").SetBlob(std::vector<uint8_t>{1, 2});
    source.MemberForWriting("enum").SetEnum(3, FakeType());

    BindingProperty copy(source);
    EXPECT_EQ(copy, source);
    EXPECT_NE(copy.Context(), source.Context()) << "a copy shares nothing with its source";
    EXPECT_EQ(copy.Member("list").Element(1).Context(), copy.Context());
    copy.MemberForWriting("list").ElementForWriting(1).SetString("changed");
    EXPECT_EQ(source.Member("list").Element(1).AsString(), "text");
    EXPECT_NE(copy, source);

    BindingProperty target;
    target.MemberForWriting("old");
    AllocationContext* targetContext = target.Context();
    target = source;
    EXPECT_EQ(target.Context(), targetContext);
    EXPECT_EQ(targetContext->Strings().Find("old"), nullptr);
    EXPECT_NE(targetContext->Strings().Find("list"), nullptr);
}

TEST(BindingProperty, MoveHandsTheStorageOverUnlessAValueIsPinned) {
    BindingProperty source;
    source.MemberForWriting("a").SetString("x");
    AllocationContext* sourceContext = source.Context();
    BindingProperty target;
    target.SetString("old");
    AllocationContext* targetContext = target.Context();

    target = std::move(source);
    EXPECT_EQ(target.Context(), sourceContext);
    EXPECT_EQ(target.Member("a").AsString(), "x");
    EXPECT_TRUE(source.IsEmpty());  // NOLINT(bugprone-use-after-move,clang-analyzer-cplusplus.Move)
    // The source swapped contexts with the target before it was cleared.
    EXPECT_EQ(source.Context(), targetContext);  // NOLINT(clang-analyzer-cplusplus.Move)
    EXPECT_EQ(targetContext->Strings().Find("old"), nullptr);

    BindingProperty pinned;
    pinned.SetString("mine");
    pinned.SetMovable(false);
    AllocationContext* pinnedContext = pinned.Context();
    pinned = std::move(target);
    EXPECT_EQ(pinned.Context(), pinnedContext) << "copied into the pinned value's context";
    EXPECT_EQ(pinned.Member("a").AsString(), "x");
    EXPECT_TRUE(target.IsEmpty());  // NOLINT(bugprone-use-after-move,clang-analyzer-cplusplus.Move)
}

// The argument of an assignment may be a part of the value being assigned.
TEST(BindingProperty, AssigningFromItsOwnPartsIsSafe) {
    BindingProperty value;
    value.MemberForWriting("inner").MemberForWriting("leaf").SetString("kept");
    value = std::move(value.MemberForWriting("inner"));
    EXPECT_EQ(value.Member("leaf").AsString(), "kept");
    value = value.Member("leaf");
    value.SetString(value.AsString().substr(1));
    EXPECT_EQ(value.AsString(), "ept");
    value.MemberForWriting(value.AsString()).SetBool(true);
    EXPECT_EQ(MemberNames(value), std::vector<std::string>{"ept"});

    value.ElementForWriting(0).ElementForWriting(0).SetSigned(5);
    value.ElementForWriting(1) = value;
    EXPECT_EQ(value.Element(1).Element(0).Element(0).AsSigned(), 5);
}

// A tree whose root holds the last reference is released with its context at once, unless a part
// holds another context: that one is given back value by value. Blocks above the arena's size
// classes (the long blob and list here) go with the context too; the address sanitizer sees leaks.
TEST(BindingProperty, ContextsLiveWithTheirLastValueAndTreesGiveBackWhatTheirPartsHold) {
    const std::size_t pagesBefore = PagesInUse();
    BindingProperty kept;  // a context lives as long as its last value
    {
        BindingProperty root;
        root.MemberForWriting("list").ElementForWriting(0).SetString("survivor");
        root.MemberForWriting("other").SetBlob(std::vector<uint8_t>{1});
        EXPECT_EQ(root.Context()->ReferenceCount(), 1u) << "the root's alone: its parts rely on it";
        kept = std::move(root.MemberForWriting("list"));
        EXPECT_EQ(root.Context()->ReferenceCount(), 2u) << "a value moved out of the tree takes its own";
        BindingProperty& other = root.MemberForWriting("other");
        other = BindingProperty();
        EXPECT_EQ(other.Context(), nullptr) << "a member given a value of no context";
        other.SetString("own context");
        EXPECT_NE(other.Context(), root.Context());
        EXPECT_EQ(other.Context()->ReferenceCount(), 1u);
    }
    EXPECT_EQ(kept.Element(0).AsString(), "survivor");
    EXPECT_EQ(kept.Context()->ReferenceCount(), 1u);
    kept = BindingProperty();
    AllocationContext* otherContext = AllocationContext::Create();
    {
        BindingProperty root;
        root.MemberForWriting("blob").SetBlob(std::vector<uint8_t>(100000, 7));
        for (int i = 0; i < 3000; ++i) {
            root.MemberForWriting("list").AppendElement().SetString("text" + std::to_string(i));
        }
        BindingProperty part(otherContext);
        part.SetString("from another context");
        root.MemberForWriting("part") = std::move(part);
        EXPECT_EQ(root.Member("part").Context(), otherContext);
        EXPECT_EQ(otherContext->ReferenceCount(), 2u);
    }
    EXPECT_EQ(otherContext->ReferenceCount(), 1u);
    otherContext->Release();
    {
        BindingProperty root;
        BindingProperty* node = &root;
        for (int depth = 0; depth < 50; ++depth) {
            node->MemberForWriting("name").SetString("level" + std::to_string(depth));
            node->MemberForWriting("blob").SetBlob(std::vector<uint8_t>(depth % 7, 1));
            node = &node->MemberForWriting("children").ElementForWriting(depth % 3);
        }
        root.MemberForWriting("list").ReserveElements(5000);
        const BindingProperty copy(root);
        EXPECT_EQ(copy, root);
        EXPECT_EQ(root.Context()->MemberTables().BlocksInUse(), 50u);
    }
    EXPECT_EQ(PagesInUse(), pagesBefore);
}

}  // namespace
