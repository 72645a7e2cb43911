// host_value_conversion_test.cpp - generic values to host cells and back, and the release of cells.
#include "abi/host_value_conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "abi/allocation_stats.h"
#include "abi/host_value.h"
#include "binding/static_type.h"
#include "binding/type_record.h"
#include "binding/type_registry.h"

namespace {

enum class Availability : int32_t { Available = 0, Disabled = 1 };

// The cells are packed, so their fields are read by value (gtest would bind a reference to them).
uint32_t KindOf(const HostValue& cell) {
    return cell.kind;
}
uint32_t LengthOf(const HostValue& cell) {
    return cell.payload.ref.length;
}
const void* DataOf(const HostValue& cell) {
    return cell.payload.ref.data;
}
uint8_t BoolOf(const HostValue& cell) {
    return cell.payload.b;
}
int64_t SignedOf(const HostValue& cell) {
    return cell.payload.i;
}
uint64_t UnsignedOf(const HostValue& cell) {
    return cell.payload.u;
}
double FloatOf(const HostValue& cell) {
    return cell.payload.f;
}

template <std::size_t Count>
std::array<HostValueMember, Count> EmptyMembers() {
    std::array<HostValueMember, Count> members;
    std::memset(members.data(), 0, sizeof(members));
    return members;
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

// RegistryWithAvailability registers Availability with two names for number 1, so that the first in
// name order ("Disabled" before "Off") is the one expected.
class RegistryWithAvailability {
public:
    RegistryWithAvailability() {
        auto entry = registry.BeginType("TestAvailability", sizeof(Availability),
                                        Brix::StaticType<Availability>(), true);
        const std::array<std::pair<const char*, int32_t>, 3> names = {
            {{"Available", 0}, {"Off", 1}, {"Disabled", 1}}};
        for (const auto& [name, number] : names) {
            entry.record->enumerators[name] = Brix::EnumeratorRecord{number, name, "", entry.record};
        }
    }
    const Brix::TypeRegistry* Get() const { return &registry; }

private:
    Brix::TypeRegistry registry;
};

// ---- generic value to cell ----------------------------------------------------------------------

TEST(HostValueConversion, ScalarsTextsAndBytesBecomeTheirCells) {
    Brix::BindingProperty value;
    EXPECT_EQ(KindOf(Brix::ToHostValue(value)), uint32_t{HOST_VALUE_NULL});

    value.SetBool(true);
    HostValue cell = Brix::ToHostValue(value);
    EXPECT_EQ(KindOf(cell), uint32_t{HOST_VALUE_BOOL});
    EXPECT_EQ(BoolOf(cell), 1);

    value.SetSigned(int64_t{-5000000000});
    cell = Brix::ToHostValue(value);
    EXPECT_EQ(KindOf(cell), uint32_t{HOST_VALUE_SIGNED});
    EXPECT_EQ(SignedOf(cell), -5000000000);

    value.SetUnsigned(uint64_t{18446744073709551615u});
    cell = Brix::ToHostValue(value);
    EXPECT_EQ(KindOf(cell), uint32_t{HOST_VALUE_UNSIGNED});
    EXPECT_EQ(UnsignedOf(cell), 18446744073709551615u);

    value.SetFloat(2.5);
    cell = Brix::ToHostValue(value);
    EXPECT_EQ(KindOf(cell), uint32_t{HOST_VALUE_FLOAT});
    EXPECT_EQ(FloatOf(cell), 2.5);

    // A text is an owned copy with its byte length and a terminating NUL; a NUL inside is kept.
    value.SetString(std::string_view("ranked\0solo", 11));
    Brix::ScopedHostValue text(Brix::ToHostValue(value));
    EXPECT_EQ(KindOf(text.Get()), uint32_t{HOST_VALUE_OWNED_TEXT});
    EXPECT_EQ(TextOf(text.Get()), std::string_view("ranked\0solo", 11));
    EXPECT_EQ(static_cast<const char*>(DataOf(text.Get()))[11], '\0');
    EXPECT_NE(DataOf(text.Get()), value.AsString().data());

    const std::array<uint8_t, 3> bytes = {0x00, 0xFF, 0x7F};
    value.SetBlob(bytes);
    Brix::ScopedHostValue blob(Brix::ToHostValue(value));
    EXPECT_EQ(KindOf(blob.Get()), uint32_t{HOST_VALUE_OWNED_BYTES});
    ASSERT_EQ(LengthOf(blob.Get()), 3u);
    EXPECT_EQ(std::memcmp(DataOf(blob.Get()), bytes.data(), 3), 0);

    // The empty text is still an owned, terminated copy.
    value.SetString("");
    Brix::ScopedHostValue empty(Brix::ToHostValue(value));
    EXPECT_EQ(KindOf(empty.Get()), uint32_t{HOST_VALUE_OWNED_TEXT});
    EXPECT_EQ(LengthOf(empty.Get()), 0u);
    ASSERT_NE(DataOf(empty.Get()), nullptr);
    EXPECT_STREQ(static_cast<const char*>(DataOf(empty.Get())), "");
}

TEST(HostValueConversion, EnumsBecomeNamesWithARegistryAndNumbersWithout) {
    const RegistryWithAvailability registry;
    Brix::BindingProperty value;
    value.MemberForWriting("availability").SetEnum(1, &Brix::StaticType<Availability>());
    value.MemberForWriting("unnamed").SetEnum(7, &Brix::StaticType<Availability>());

    Brix::ScopedHostValue named(Brix::ToHostValue(value, registry.Get()));
    ASSERT_EQ(KindOf(named.Get()), uint32_t{HOST_VALUE_OBJECT});
    ASSERT_EQ(LengthOf(named.Get()), 2u);
    const HostValueMember* members = MembersOf(named.Get());
    EXPECT_STREQ(members[0].name, "availability");
    EXPECT_EQ(KindOf(members[0].value), uint32_t{HOST_VALUE_OWNED_TEXT});
    EXPECT_EQ(TextOf(members[0].value), "Disabled");
    // A number the enum does not name stays a number.
    EXPECT_EQ(KindOf(members[1].value), uint32_t{HOST_VALUE_SIGNED});
    EXPECT_EQ(SignedOf(members[1].value), 7);

    Brix::ScopedHostValue numbered(Brix::ToHostValue(value));
    EXPECT_EQ(KindOf(MembersOf(numbered.Get())[0].value), uint32_t{HOST_VALUE_SIGNED});
    EXPECT_EQ(SignedOf(MembersOf(numbered.Get())[0].value), 1);

    // An enum type the registry does not hold stays a number too.
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
    list.AppendElement().SetBool(false);
    list.AppendElement();
    value.MemberForWriting("d").MakeStructure();

    Brix::ScopedHostValue cell(Brix::ToHostValue(value));
    ASSERT_EQ(KindOf(cell.Get()), uint32_t{HOST_VALUE_OBJECT});
    ASSERT_EQ(LengthOf(cell.Get()), 4u);
    const HostValueMember* members = MembersOf(cell.Get());
    EXPECT_STREQ(members[0].name, "a");
    EXPECT_EQ(SignedOf(members[0].value), 1);
    EXPECT_STREQ(members[1].name, "b");
    EXPECT_EQ(SignedOf(members[1].value), 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(members[i].nameOwned, 1) << "member " << i;
    }

    const HostValue& array = members[2].value;
    ASSERT_EQ(KindOf(array), uint32_t{HOST_VALUE_ARRAY});
    ASSERT_EQ(LengthOf(array), 3u);
    EXPECT_EQ(TextOf(ElementsOf(array)[0]), "first");
    EXPECT_EQ(KindOf(ElementsOf(array)[1]), uint32_t{HOST_VALUE_BOOL});
    EXPECT_EQ(BoolOf(ElementsOf(array)[1]), 0);
    EXPECT_EQ(KindOf(ElementsOf(array)[2]), uint32_t{HOST_VALUE_NULL});

    // An empty structure is an object cell with no members.
    EXPECT_EQ(KindOf(members[3].value), uint32_t{HOST_VALUE_OBJECT});
    EXPECT_EQ(LengthOf(members[3].value), 0u);
}

// ---- release ------------------------------------------------------------------------------------

TEST(HostValueRelease, FreesEverythingTheCellOwnsAndLeavesItZero) {
    Brix::BindingProperty value;
    value.MemberForWriting("name").SetString("Summoner's Rift");
    const std::array<uint8_t, 2> bytes = {1, 2};
    value.MemberForWriting("icon").SetBlob(bytes);
    Brix::BindingProperty& nested = value.MemberForWriting("maps").AppendElement();
    nested.MemberForWriting("id").SetUnsigned(uint64_t{11});
    nested.MemberForWriting("modes").AppendElement().SetString("CLASSIC");

    // In the unit tests only the cell's own blocks go through the counting wrappers, so the release
    // must bring the bytes in use back exactly.
    const Brix::MemoryStats before = Brix::ReadMemoryStats();
    HostValue cell = Brix::ToHostValue(value);
    const Brix::MemoryStats built = Brix::ReadMemoryStats();
    EXPECT_GT(built.BlocksInUse(), before.BlocksInUse());
    Brix::ReleaseHostValue(cell);
    const Brix::MemoryStats after = Brix::ReadMemoryStats();
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
    EXPECT_EQ(after.BlocksInUse(), before.BlocksInUse());

    const HostValue zero = Brix::EmptyHostValue();
    EXPECT_EQ(std::memcmp(&cell, &zero, sizeof(HostValue)), 0);

    // Releasing again, or releasing an empty cell, does nothing.
    Brix::ReleaseHostValue(cell);
    EXPECT_EQ(Brix::ReadMemoryStats().counters, after.counters);
}

TEST(HostValueRelease, BorrowedDataAndBorrowedNamesAreLeftAlone) {
    char text[] = "borrowed";
    std::array<uint8_t, 4> bytes = {1, 2, 3, 4};
    HostValue borrowedText = Brix::EmptyHostValue();
    borrowedText.kind = HOST_VALUE_TEXT;
    borrowedText.payload.ref.data = text;
    Brix::ReleaseHostValue(borrowedText);
    EXPECT_EQ(KindOf(borrowedText), uint32_t{HOST_VALUE_NULL});
    EXPECT_EQ(DataOf(borrowedText), nullptr);

    // An owned object whose members borrow their names and data: only the member block is freed.
    auto* members = static_cast<HostValueMember*>(Brix::CountedAllocate(2 * sizeof(HostValueMember)));
    ASSERT_NE(members, nullptr);
    std::memset(members, 0, 2 * sizeof(HostValueMember));
    members[0].name = "text";
    members[0].value.kind = HOST_VALUE_TEXT;
    members[0].value.payload.ref.data = text;
    members[1].name = "bytes";
    members[1].value.kind = HOST_VALUE_BYTES;
    members[1].value.payload.ref.data = bytes.data();
    members[1].value.payload.ref.length = 4;
    HostValue object = Brix::EmptyHostValue();
    object.kind = HOST_VALUE_OBJECT;
    object.payload.ref.data = members;
    object.payload.ref.length = 2;
    const Brix::MemoryStats before = Brix::ReadMemoryStats();
    Brix::ReleaseHostValue(object);
    EXPECT_EQ(Brix::ReadMemoryStats().counters[5] - before.counters[5], 1u);
    EXPECT_STREQ(text, "borrowed");
    EXPECT_EQ(KindOf(object), uint32_t{HOST_VALUE_NULL});
}

TEST(HostValueRelease, ScopedHolderReleasesUnlessTheCellIsTaken) {
    Brix::BindingProperty value;
    value.AppendElement().SetString("one");
    const Brix::MemoryStats before = Brix::ReadMemoryStats();
    {
        Brix::ScopedHostValue held(Brix::ToHostValue(value));
        Brix::ScopedHostValue moved(std::move(held));
        EXPECT_EQ(KindOf(held.Get()), uint32_t{HOST_VALUE_NULL});
        EXPECT_EQ(KindOf(moved.Get()), uint32_t{HOST_VALUE_ARRAY});
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

    Brix::ScopedHostValue cell(Brix::ToHostValue(value));
    const Brix::ConversionStatus status = Brix::FromHostValue(cell.Get(), "<result>");
    ASSERT_TRUE(status.Ok()) << status.Message();
    EXPECT_TRUE(status.Value() == value);
}

TEST(HostValueConversion, IncomingTextsAreReadToTheFirstNul) {
    char text[] = "Normal\0Draft";
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = HOST_VALUE_OWNED_TEXT;
    cell.payload.ref.data = text;
    cell.payload.ref.length = sizeof(text) - 1;
    Brix::ConversionStatus status = Brix::FromHostValue(cell, "<result>");
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().Kind(), Brix::BindingKind::String);
    EXPECT_EQ(status.Value().AsString(), "Normal");

    // A borrowed text ignores its length word as well, and a null text is the empty string.
    cell.kind = HOST_VALUE_TEXT;
    cell.payload.ref.length = 2;
    EXPECT_EQ(Brix::FromHostValue(cell, "<result>").Value().AsString(), "Normal");
    cell.payload.ref.data = nullptr;
    status = Brix::FromHostValue(cell, "<result>");
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().Kind(), Brix::BindingKind::String);
    EXPECT_EQ(status.Value().AsString(), "");

    // Bytes are read to their stated length, NULs included.
    cell.kind = HOST_VALUE_BYTES;
    cell.payload.ref.data = text;
    cell.payload.ref.length = 8;
    status = Brix::FromHostValue(cell, "<result>");
    ASSERT_EQ(status.Value().Kind(), Brix::BindingKind::Blob);
    EXPECT_EQ(status.Value().AsBlob().size(), 8u);
    EXPECT_EQ(status.Value().AsBlob()[7], 'D');

    HostValue null = Brix::EmptyHostValue();
    status = Brix::FromHostValue(null, "<result>");
    EXPECT_TRUE(status.Ok());
    EXPECT_TRUE(status.Value().IsEmpty());
}

TEST(HostValueConversion, UnknownKindsFailWithTheIncompatibleTypeMessage) {
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = 11;
    Brix::ConversionStatus status = Brix::FromHostValue(cell, "<result>");
    EXPECT_FALSE(status.Ok());
    EXPECT_EQ(status.Message(),
              "Couldn't assign value to '<result>' of type object because the input is of an incompatible "
              "type ''.");

    // Inside an object, the first failing member ends the conversion; the name given is kept.
    std::array<HostValueMember, 3> members = EmptyMembers<3>();
    members[0].name = "a";
    members[0].value.kind = HOST_VALUE_SIGNED;
    members[1].name = "b";
    members[1].value.kind = 0xFFFFFFFFu;
    members[2].name = "c";
    members[2].value.kind = 12;
    cell.kind = HOST_VALUE_OBJECT;
    cell.payload.ref.data = members.data();
    cell.payload.ref.length = 3;
    status = Brix::FromHostValue(cell, "payload");
    EXPECT_FALSE(status.Ok());
    EXPECT_EQ(
        status.Message(),
        "Couldn't assign value to 'payload' of type object because the input is of an incompatible type ''.");
    EXPECT_EQ(status.Value().MemberCount(), 1u);  // only "error"

    EXPECT_EQ(Brix::HostKindName(5), "string");
    EXPECT_EQ(Brix::HostKindName(8), "blob");
    EXPECT_EQ(Brix::HostKindName(10), "structure");
    EXPECT_EQ(Brix::HostKindName(0), "");
}

TEST(HostValueConversion, MalformedHostBlocksFailInsteadOfBeingRead) {
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = HOST_VALUE_OWNED_BYTES;
    cell.payload.ref.length = 16;
    Brix::ConversionStatus status = Brix::FromHostValue(cell, "<result>");
    EXPECT_EQ(status.Message(),
              "Couldn't assign value to '<result>' of type object because the input of type 'blob' has no "
              "data for its "
              "length 16.");

    cell.kind = HOST_VALUE_ARRAY;
    cell.payload.ref.length = 3;
    EXPECT_EQ(Brix::FromHostValue(cell, "<result>").Message(),
              "Couldn't assign value to '<result>' of type object because the input of type 'collection' has "
              "no data "
              "for its length 3.");

    cell.kind = HOST_VALUE_OBJECT;
    EXPECT_EQ(Brix::FromHostValue(cell, "<result>").Message(),
              "Couldn't assign value to '<result>' of type object because the input of type 'structure' has "
              "no data "
              "for its length 3.");

    // With a length of zero a null address is simply nothing.
    cell.payload.ref.length = 0;
    status = Brix::FromHostValue(cell, "<result>");
    ASSERT_TRUE(status.Ok());
    EXPECT_EQ(status.Value().Kind(), Brix::BindingKind::Structure);

    std::array<HostValueMember, 1> members = EmptyMembers<1>();
    members[0].value.kind = HOST_VALUE_BOOL;
    cell.payload.ref.data = members.data();
    cell.payload.ref.length = 1;
    EXPECT_EQ(Brix::FromHostValue(cell, "<result>").Message(),
              "Couldn't assign value to '<result>' of type object because the input of type 'structure' has "
              "a member "
              "without a name.");
}

TEST(HostValueConversion, NestingIsBoundedSoHostileBlocksCannotExhaustTheStack) {
    // A chain of arrays, each holding the next: level 1 is the root, the last holds a scalar.
    auto chain = [](std::size_t levels) {
        std::vector<HostValue> cells(levels);
        for (std::size_t i = 0; i + 1 < levels; ++i) {
            cells[i].kind = HOST_VALUE_ARRAY;
            cells[i].payload.ref.data = &cells[i + 1];
            cells[i].payload.ref.length = 1;
        }
        cells[levels - 1].kind = HOST_VALUE_BOOL;
        cells[levels - 1].payload.b = 1;
        return cells;
    };

    const std::vector<HostValue> deepest = chain(Brix::kMaxHostValueDepth);
    Brix::ConversionStatus status = Brix::FromHostValue(deepest[0], "<result>");
    ASSERT_TRUE(status.Ok()) << status.Message();
    const Brix::BindingProperty* inner = &status.Value();
    while (inner->Kind() == Brix::BindingKind::Collection) {
        inner = &inner->Element(0);
    }
    EXPECT_TRUE(inner->AsBool());

    const std::vector<HostValue> tooDeep = chain(Brix::kMaxHostValueDepth + 1);
    EXPECT_EQ(Brix::FromHostValue(tooDeep[0], "<result>").Message(),
              "Couldn't assign value to '<result>' of type object because the input is nested deeper than "
              "512 levels.");

    // A block that contains itself is refused the same way instead of recursing forever.
    HostValue loop = Brix::EmptyHostValue();
    loop.kind = HOST_VALUE_ARRAY;
    loop.payload.ref.data = &loop;
    loop.payload.ref.length = 1;
    EXPECT_FALSE(Brix::FromHostValue(loop, "<result>").Ok());
}

}  // namespace
