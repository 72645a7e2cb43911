// host_value_conversion_test.cpp - generic values to host cells and back, and the release of cells.
#include "host_values/host_value_conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "binding/static_type.h"
#include "binding/type_record.h"
#include "binding/type_registry.h"
#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"

namespace {

enum class Availability : int32_t { Available = 0, Disabled = 1 };

// The start of every failure message for a value named "<result>".
constexpr std::string_view kFailure = "Couldn't assign value to '<result>' of type object because the input ";

// Cells are packed: their fields are read by value, never bound to references (as gtest would).
uint32_t KindOf(const HostValue& cell) {
    return cell.kind;
}
uint32_t LengthOf(const HostValue& cell) {
    return cell.payload.ref.length;
}
int64_t SignedOf(const HostValue& cell) {
    return cell.payload.i;
}
std::string_view TextOf(const HostValue& cell) {
    return {static_cast<const char*>(cell.payload.ref.data), cell.payload.ref.length};
}
const HostValue* ElementsOf(const HostValue& cell) {
    return static_cast<const HostValue*>(cell.payload.ref.data);
}
const HostValueMember* MembersOf(const HostValue& cell) {
    return static_cast<const HostValueMember*>(cell.payload.ref.data);
}

HostValue Cell(uint32_t kind, void* data = nullptr, uint32_t length = 0) {
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = kind;
    cell.payload.ref.data = data;
    cell.payload.ref.length = length;
    return cell;
}

template <std::size_t Count>
std::array<HostValueMember, Count> EmptyMembers() {
    std::array<HostValueMember, Count> members;
    std::memset(members.data(), 0, sizeof(members));
    return members;
}

std::string FailureOf(const HostValue& cell) {
    return std::string(Brix::FromHostValue(cell, "<result>").Message());
}

// ---- generic value to cell ----------------------------------------------------------------------

TEST(HostValueConversion, EveryKindBecomesItsCellWithOwnedCopies) {
    Brix::BindingProperty value;
    value.MemberForWriting("0 empty");
    value.MemberForWriting("1 bool").SetBool(true);
    value.MemberForWriting("2 signed").SetSigned(int64_t{-5000000000});
    value.MemberForWriting("3 unsigned").SetUnsigned(uint64_t{7});
    value.MemberForWriting("4 float").SetFloat(2.5);
    value.MemberForWriting("5 text").SetString(std::string_view("ranked\0solo", 11));
    const std::array<uint8_t, 3> bytes = {0x00, 0xFF, 0x7F};
    value.MemberForWriting("6 blob").SetBlob(bytes);
    value.MemberForWriting("7 empty text").SetString("");

    Brix::ScopedHostValue cell(Brix::ToHostValue(value));
    ASSERT_EQ(KindOf(cell.Get()), uint32_t{HOST_VALUE_OBJECT});
    ASSERT_EQ(LengthOf(cell.Get()), 8u);
    const HostValueMember* members = MembersOf(cell.Get());
    const std::array<uint32_t, 8> kinds = {
        HOST_VALUE_NULL,  HOST_VALUE_BOOL,       HOST_VALUE_SIGNED,      HOST_VALUE_UNSIGNED,
        HOST_VALUE_FLOAT, HOST_VALUE_OWNED_TEXT, HOST_VALUE_OWNED_BYTES, HOST_VALUE_OWNED_TEXT};
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        EXPECT_EQ(KindOf(members[i].value), kinds[i]) << members[i].name;
        EXPECT_EQ(members[i].nameOwned, 1) << members[i].name;
    }
    EXPECT_EQ(SignedOf(members[2].value), -5000000000);

    // Texts are copies with their byte length and a terminating NUL; a NUL inside is kept.
    const HostValue& text = members[5].value;
    EXPECT_EQ(TextOf(text), std::string_view("ranked\0solo", 11));
    EXPECT_EQ(TextOf(text).data()[11], '\0');
    EXPECT_NE(TextOf(text).data(), value.Member("5 text").AsString().data());
    EXPECT_EQ(TextOf(members[6].value), std::string_view("\x00\xFF\x7F", 3));
    ASSERT_NE(TextOf(members[7].value).data(), nullptr);
    EXPECT_STREQ(TextOf(members[7].value).data(), "");
}

TEST(HostValueConversion, EnumsBecomeNamesWithARegistryAndNumbersWithout) {
    // Number 1 has two names: the first in name order ("Disabled" before "Off") is the one given.
    Brix::TypeRegistry registry;
    auto entry =
        registry.BeginType("TestAvailability", sizeof(Availability), Brix::StaticType<Availability>(), true);
    for (const auto& [name, number] :
         std::array<std::pair<const char*, int32_t>, 3>{{{"Available", 0}, {"Off", 1}, {"Disabled", 1}}}) {
        entry.record->enumerators[name] = Brix::EnumeratorRecord{number, name, "", entry.record};
    }
    Brix::BindingProperty value;
    value.MemberForWriting("availability").SetEnum(1, &Brix::StaticType<Availability>());
    value.MemberForWriting("unnamed").SetEnum(7, &Brix::StaticType<Availability>());

    Brix::ScopedHostValue named(Brix::ToHostValue(value, &registry));
    const HostValueMember* members = MembersOf(named.Get());
    EXPECT_EQ(KindOf(members[0].value), uint32_t{HOST_VALUE_OWNED_TEXT});
    EXPECT_EQ(TextOf(members[0].value), "Disabled");
    // A number the enum does not name stays a number.
    EXPECT_EQ(KindOf(members[1].value), uint32_t{HOST_VALUE_SIGNED});
    EXPECT_EQ(SignedOf(members[1].value), 7);

    Brix::ScopedHostValue numbered(Brix::ToHostValue(value));
    EXPECT_EQ(KindOf(MembersOf(numbered.Get())[0].value), uint32_t{HOST_VALUE_SIGNED});
    EXPECT_EQ(SignedOf(MembersOf(numbered.Get())[0].value), 1);

    const Brix::TypeRegistry otherRegistry;
    Brix::ScopedHostValue unknown(Brix::ToHostValue(value, &otherRegistry));
    EXPECT_EQ(KindOf(MembersOf(unknown.Get())[0].value), uint32_t{HOST_VALUE_SIGNED});
}

TEST(HostValueConversion, StructuresKeepNameOrderAndCollectionsElementOrder) {
    Brix::BindingProperty value;
    value.MemberForWriting("b").SetSigned(2);
    value.MemberForWriting("a").SetSigned(1);
    Brix::BindingProperty& list = value.MemberForWriting("c");
    list.AppendElement().SetString("first");
    list.AppendElement().SetSigned(2);
    list.AppendElement();

    Brix::ScopedHostValue cell(Brix::ToHostValue(value));
    ASSERT_EQ(LengthOf(cell.Get()), 3u);
    const HostValueMember* members = MembersOf(cell.Get());
    EXPECT_STREQ(members[0].name, "a");
    EXPECT_EQ(SignedOf(members[0].value), 1);
    EXPECT_STREQ(members[1].name, "b");
    EXPECT_EQ(SignedOf(members[1].value), 2);

    const HostValue& array = members[2].value;
    ASSERT_EQ(KindOf(array), uint32_t{HOST_VALUE_ARRAY});
    ASSERT_EQ(LengthOf(array), 3u);
    EXPECT_EQ(TextOf(ElementsOf(array)[0]), "first");
    EXPECT_EQ(SignedOf(ElementsOf(array)[1]), 2);
    EXPECT_EQ(KindOf(ElementsOf(array)[2]), uint32_t{HOST_VALUE_NULL});
}

// ---- release ------------------------------------------------------------------------------------

TEST(HostValueRelease, FreesEverythingTheCellOwnsAndLeavesItZero) {
    Brix::BindingProperty value;
    value.MemberForWriting("name").SetString("Quennith Field");
    const std::array<uint8_t, 2> bytes = {1, 2};
    value.MemberForWriting("icon").SetBlob(bytes);
    Brix::BindingProperty& nested = value.MemberForWriting("maps").AppendElement();
    nested.MemberForWriting("id").SetUnsigned(uint64_t{11});
    nested.MemberForWriting("modes").AppendElement().SetString("CLASSIC");

    // Only the cell's own blocks go through the counting wrappers in the unit tests, so the release
    // must bring the bytes and blocks in use back exactly.
    const Brix::MemoryStats before = Brix::ReadMemoryStats();
    HostValue cell = Brix::ToHostValue(value);
    EXPECT_GT(Brix::ReadMemoryStats().BlocksInUse(), before.BlocksInUse());
    Brix::ReleaseHostValue(cell);
    const Brix::MemoryStats after = Brix::ReadMemoryStats();
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
    EXPECT_EQ(after.BlocksInUse(), before.BlocksInUse());
    const HostValue zero = Brix::EmptyHostValue();
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): the packed cell has no padding
    EXPECT_EQ(std::memcmp(&cell, &zero, sizeof(HostValue)), 0);

    // Releasing the zeroed cell again does nothing.
    Brix::ReleaseHostValue(cell);
    EXPECT_EQ(Brix::ReadMemoryStats().counters, after.counters);
}

TEST(HostValueRelease, BorrowedTextsBytesAndNamesAreLeftAlone) {
    char text[] = "borrowed";
    std::array<uint8_t, 4> bytes = {1, 2, 3, 4};
    // An owned member block whose members borrow their names and data: only the block is freed
    // (a free of the stack arrays above would be caught by the sanitizer build).
    auto* members = static_cast<HostValueMember*>(Brix::CountedAllocate(2 * sizeof(HostValueMember)));
    ASSERT_NE(members, nullptr);
    members[0] = {"text", Cell(HOST_VALUE_TEXT, text), 0};
    members[1] = {"bytes", Cell(HOST_VALUE_BYTES, bytes.data(), 4), 0};
    HostValue object = Cell(HOST_VALUE_OBJECT, members, 2);

    const Brix::MemoryStats before = Brix::ReadMemoryStats();
    Brix::ReleaseHostValue(object);
    EXPECT_EQ(Brix::ReadMemoryStats().Counter(Brix::MemoryCounter::Releases),
              before.Counter(Brix::MemoryCounter::Releases) + 1);
    EXPECT_EQ(KindOf(object), uint32_t{HOST_VALUE_NULL});
    EXPECT_STREQ(text, "borrowed");
}

TEST(HostValueRelease, ScopedHolderReleasesUnlessTheCellIsTaken) {
    Brix::BindingProperty value;
    value.AppendElement().SetString("one");
    const Brix::MemoryStats before = Brix::ReadMemoryStats();
    {
        Brix::ScopedHostValue held(Brix::ToHostValue(value));
        Brix::ScopedHostValue moved(std::move(held));
        // The moved-from holder is empty.
        // NOLINTNEXTLINE(bugprone-use-after-move,clang-analyzer-cplusplus.Move)
        EXPECT_EQ(KindOf(held.Get()), uint32_t{HOST_VALUE_NULL});
        moved.Reset(moved.Get());  // adopting its own cell must not free it
        EXPECT_EQ(TextOf(ElementsOf(moved.Get())[0]), "one");
    }
    EXPECT_EQ(Brix::ReadMemoryStats().BytesInUse(), before.BytesInUse());

    HostValue taken = Brix::EmptyHostValue();
    {
        Brix::ScopedHostValue held(Brix::ToHostValue(value));
        taken = held.Take();
    }
    EXPECT_EQ(TextOf(ElementsOf(taken)[0]), "one");
    Brix::ReleaseHostValue(taken);
    EXPECT_EQ(Brix::ReadMemoryStats().BytesInUse(), before.BytesInUse());
}

// ---- cell to generic value ----------------------------------------------------------------------

TEST(HostValueConversion, NestedTreesSurviveTheRoundTrip) {
    Brix::BindingProperty value;
    value.MemberForWriting("queueId").SetSigned(int64_t{420});
    value.MemberForWriting("ranked").SetBool(true);
    value.MemberForWriting("ratio").SetFloat(0.25);
    value.MemberForWriting("mask").SetUnsigned(uint64_t{1} << 63);
    value.MemberForWriting("nothing");
    const std::array<uint8_t, 3> bytes = {9, 0, 9};
    value.MemberForWriting("bytes").SetBlob(bytes);
    Brix::BindingProperty& teams = value.MemberForWriting("teams");
    for (int team = 0; team < 3; ++team) {
        Brix::BindingProperty& entry = teams.ElementForWriting(static_cast<std::size_t>(team));
        entry.MemberForWriting("size").SetSigned(int64_t{team + 1});
        entry.MemberForWriting("tags").AppendElement().SetString("t" + std::to_string(team));
    }
    value.MemberForWriting("empty list").MakeCollection();
    value.MemberForWriting("empty structure").MakeStructure();

    Brix::ScopedHostValue cell(Brix::ToHostValue(value));
    const Brix::ConversionStatus status = Brix::FromHostValue(cell.Get(), "<result>");
    ASSERT_TRUE(status.Ok()) << status.Message();
    EXPECT_TRUE(status.Value() == value);
}

TEST(HostValueConversion, IncomingTextsAreReadToTheFirstNulAndBytesToTheirLength) {
    char text[] = "Normal\0Draft";
    Brix::ConversionStatus status = Brix::FromHostValue(Cell(HOST_VALUE_OWNED_TEXT, text, 12), "<result>");
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().Kind(), Brix::BindingKind::String);
    EXPECT_EQ(status.Value().AsString(), "Normal");
    // A borrowed text ignores its length word too, and a null text is the empty string.
    EXPECT_EQ(Brix::FromHostValue(Cell(HOST_VALUE_TEXT, text, 2), "<result>").Value().AsString(), "Normal");
    status = Brix::FromHostValue(Cell(HOST_VALUE_TEXT), "<result>");
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().Kind(), Brix::BindingKind::String);

    status = Brix::FromHostValue(Cell(HOST_VALUE_BYTES, text, 8), "<result>");
    ASSERT_EQ(status.Value().Kind(), Brix::BindingKind::Blob);
    ASSERT_EQ(status.Value().AsBlob().size(), 8u);
    EXPECT_EQ(status.Value().AsBlob()[7], 'D');

    status = Brix::FromHostValue(Cell(HOST_VALUE_NULL), "<result>");
    EXPECT_TRUE(status.Ok());
    EXPECT_TRUE(status.Value().IsEmpty());
}

TEST(HostValueConversion, UnknownKindsFailWithTheIncompatibleTypeMessage) {
    EXPECT_EQ(FailureOf(Cell(11)), std::string(kFailure) + "is of an incompatible type ''.");

    // Inside an object the first failing member ends the conversion, under the name the caller gave.
    std::array<HostValueMember, 3> members = EmptyMembers<3>();
    members[0] = {"a", Cell(HOST_VALUE_SIGNED), 0};
    members[1] = {"b", Cell(0xFFFFFFFFu), 0};
    members[2] = {"c", Cell(HOST_VALUE_ARRAY, nullptr, 1), 0};
    const Brix::ConversionStatus status =
        Brix::FromHostValue(Cell(HOST_VALUE_OBJECT, members.data(), 3), "payload");
    EXPECT_FALSE(status.Ok());
    EXPECT_EQ(
        status.Message(),
        "Couldn't assign value to 'payload' of type object because the input is of an incompatible type ''.");
}

TEST(HostValueConversion, MalformedHostBlocksFailInsteadOfBeingRead) {
    EXPECT_EQ(FailureOf(Cell(HOST_VALUE_OWNED_BYTES, nullptr, 16)),
              std::string(kFailure) + "of type 'blob' has no data for its length 16.");
    EXPECT_EQ(FailureOf(Cell(HOST_VALUE_ARRAY, nullptr, 3)),
              std::string(kFailure) + "of type 'collection' has no data for its length 3.");
    EXPECT_EQ(FailureOf(Cell(HOST_VALUE_OBJECT, nullptr, 3)),
              std::string(kFailure) + "of type 'structure' has no data for its length 3.");

    // With a length of zero a null address is simply nothing.
    const Brix::ConversionStatus status = Brix::FromHostValue(Cell(HOST_VALUE_OBJECT), "<result>");
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().Kind(), Brix::BindingKind::Structure);

    std::array<HostValueMember, 1> members = EmptyMembers<1>();
    EXPECT_EQ(FailureOf(Cell(HOST_VALUE_OBJECT, members.data(), 1)),
              std::string(kFailure) + "of type 'structure' has a member without a name.");
}

TEST(HostValueConversion, NestingIsBoundedSoHostileBlocksCannotExhaustTheStack) {
    // A chain of arrays, each holding the next: level 1 is the root, the last level holds a bool.
    auto chain = [](std::size_t levels) {
        std::vector<HostValue> cells(levels, Cell(HOST_VALUE_BOOL, nullptr, 0));
        for (std::size_t i = 0; i + 1 < levels; ++i) {
            cells[i] = Cell(HOST_VALUE_ARRAY, &cells[i + 1], 1);
        }
        cells.back().payload.b = 1;
        return cells;
    };

    const std::vector<HostValue> deepest = chain(Brix::kMaxHostValueDepth);
    const Brix::ConversionStatus status = Brix::FromHostValue(deepest[0], "<result>");
    ASSERT_TRUE(status.Ok()) << status.Message();
    const Brix::BindingProperty* inner = &status.Value();
    while (inner->Kind() == Brix::BindingKind::Collection) {
        inner = &inner->Element(0);
    }
    EXPECT_TRUE(inner->AsBool());

    const std::vector<HostValue> tooDeep = chain(Brix::kMaxHostValueDepth + 1);
    EXPECT_EQ(FailureOf(tooDeep[0]), std::string(kFailure) + "is nested deeper than 512 levels.");

    // A block that contains itself is refused the same way instead of recursing forever.
    HostValue loop = Cell(HOST_VALUE_ARRAY);
    loop.payload.ref.data = &loop;
    loop.payload.ref.length = 1;
    EXPECT_EQ(FailureOf(loop), std::string(kFailure) + "is nested deeper than 512 levels.");
}

}  // namespace

TEST(HostValueConversion, AMemberNamedTwiceKeepsOnlyTheLaterValue) {
    // Each later member replaces the earlier one whole, whatever the kinds: containers are not merged.
    std::array<HostValue, 4> elements = {Cell(HOST_VALUE_SIGNED), Cell(HOST_VALUE_SIGNED),
                                         Cell(HOST_VALUE_SIGNED), Cell(HOST_VALUE_SIGNED)};
    for (std::size_t i = 0; i < elements.size(); ++i) {
        elements[i].payload.i = static_cast<int64_t>(i + 1);
    }
    std::array<HostValueMember, 2> inner = EmptyMembers<2>();
    inner[0] = {"x", elements[0], 0};
    inner[1] = {"y", elements[1], 0};
    std::array<HostValueMember, 6> members = EmptyMembers<6>();
    members[0] = {"list", Cell(HOST_VALUE_ARRAY, &elements[0], 2), 0};
    members[1] = {"list", Cell(HOST_VALUE_ARRAY, &elements[2], 2), 0};
    members[2] = {"object", Cell(HOST_VALUE_OBJECT, &inner[0], 2), 0};
    members[3] = {"object", Cell(HOST_VALUE_OBJECT, &inner[1], 1), 0};
    members[4] = {"scalar", Cell(HOST_VALUE_OBJECT, &inner[0], 1), 0};
    members[5] = {"scalar", elements[3], 0};

    const Brix::ConversionStatus status =
        Brix::FromHostValue(Cell(HOST_VALUE_OBJECT, members.data(), 6), "<result>");
    ASSERT_TRUE(status.Ok()) << status.Message();
    const Brix::BindingProperty& value = status.Value();
    ASSERT_EQ(value.MemberCount(), 3u);
    const Brix::BindingProperty& list = value.Member("list");
    ASSERT_EQ(list.ElementCount(), 2u);
    EXPECT_EQ(list.Element(0).AsSigned(), 3);
    EXPECT_EQ(list.Element(1).AsSigned(), 4);
    const Brix::BindingProperty& object = value.Member("object");
    ASSERT_EQ(object.MemberCount(), 1u);
    EXPECT_EQ(object.Member("y").AsSigned(), 2);
    EXPECT_EQ(value.Member("scalar").Kind(), Brix::BindingKind::Signed);
    EXPECT_EQ(value.Member("scalar").AsSigned(), 4);
}
