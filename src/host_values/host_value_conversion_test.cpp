// host_value_conversion_test.cpp - generic values to host cells and back, and the release of cells.
#include "host_values/host_value_conversion.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "binding/type_builder.h"
#include "codecs/codec_test_support.h"
#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"

namespace {

enum class Availability : int32_t { Available = 0, Disabled = 1 };

// Cells are packed: their fields are read by value, never bound to references (as gtest would).
uint32_t KindOf(const HostValue& cell) {
    return cell.kind;
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

// CellText is a cell that ToHostValue built, as text: null, true, s-5, u7, f2.500000, 'text' and
// <bytes> with the lengths their length words give, [elements] and {name: member}, a member whose name
// the cell does not own marked with "&".
std::string CellText(const HostValue& cell) {
    const uint32_t length = cell.payload.ref.length;
    std::string text;
    switch (KindOf(cell)) {
        case HOST_VALUE_NULL:
            return "null";
        case HOST_VALUE_BOOL:
            return cell.payload.b != 0 ? "true" : "false";
        case HOST_VALUE_SIGNED:
            return "s" + std::to_string(cell.payload.i);
        case HOST_VALUE_UNSIGNED:
            return "u" + std::to_string(cell.payload.u);
        case HOST_VALUE_FLOAT:
            return "f" + std::to_string(cell.payload.f);
        case HOST_VALUE_OWNED_TEXT:
            return "'" + std::string(TextOf(cell)) + "'";
        case HOST_VALUE_OWNED_BYTES:
            for (const char byte : TextOf(cell)) {
                text += std::to_string(static_cast<uint8_t>(byte)) + " ";
            }
            return "<" + text + ">";
        case HOST_VALUE_ARRAY:
            for (uint32_t i = 0; i < length; ++i) {
                text += (i > 0 ? ", " : "") + CellText(ElementsOf(cell)[i]);
            }
            return "[" + text + "]";
        case HOST_VALUE_OBJECT:
            for (uint32_t i = 0; i < length; ++i) {
                const HostValueMember& member = MembersOf(cell)[i];
                text += (i > 0 ? ", " : "") + std::string(member.nameOwned == 1 ? "" : "&") + member.name +
                        ": " + CellText(member.value);
            }
            return "{" + text + "}";
        default:
            return "kind " + std::to_string(KindOf(cell));
    }
}

HostValue Cell(uint32_t kind, void* data = nullptr, uint32_t length = 0) {
    HostValue cell = Brix::EmptyHostValue();
    cell.kind = kind;
    cell.payload.ref.data = data;
    cell.payload.ref.length = length;
    return cell;
}

// Read is the value read from cell, described, or the conversion's message.
std::string Read(const HostValue& cell) {
    const Brix::ConversionStatus status = Brix::FromHostValue(cell, "<result>");
    return status.Ok() ? Brix::Testing::Described(status.Value()) : std::string(status.Message());
}

// ---- generic value to cell ----------------------------------------------------------------------

TEST(HostValueConversion, EveryKindBecomesItsCellWithOwnedCopiesInTheValuesOrder) {
    Brix::BindingProperty value;
    value.MemberForWriting("b empty");
    value.MemberForWriting("a bool").SetBool(true);
    value.MemberForWriting("signed").SetSigned(int64_t{-5000000000});
    value.MemberForWriting("unsigned").SetUnsigned(uint64_t{7});
    value.MemberForWriting("float").SetFloat(2.5);
    value.MemberForWriting("text").SetString(std::string_view("ranked\0solo", 11));
    value.MemberForWriting("blob").SetBlob(std::array<uint8_t, 3>{0x00, 0xFF, 0x7F});
    value.MemberForWriting("empty text").SetString("");
    Brix::BindingProperty& list = value.MemberForWriting("list");
    list.AppendElement().SetString("first");
    list.AppendElement().SetSigned(2);
    list.AppendElement().MakeStructure();
    list.AppendElement().MakeCollection();

    Brix::ScopedHostValue cell(Brix::ToHostValue(value));
    EXPECT_EQ(
        CellText(cell.Get()),
        "{a bool: true, b empty: null, blob: <0 255 127 >, empty text: '', float: f2.500000, list: ['first', "
        "s2, {}, []], signed: s-5000000000, text: '" +
            std::string("ranked\0solo", 11) + "', unsigned: u7}");
    // Texts are copies with a terminating NUL after their byte length.
    const HostValue& text = MembersOf(cell.Get())[7].value;
    EXPECT_EQ(TextOf(text).data()[11], '\0');
}

TEST(HostValueConversion, EnumsBecomeNamesWithARegistryAndNumbersWithout) {
    // Number 1 has two names: the first in name order ("Disabled" before "Off") is the one given.
    Brix::TypeRegistry registry;
    Brix::Register<Availability>(registry, "TestAvailability")
        .Value("Available", Availability::Available)
        .Value("Off", Availability::Disabled)
        .Value("Disabled", Availability::Disabled);
    Brix::BindingProperty value;
    value.MemberForWriting("availability").SetEnum(1, &Brix::StaticType<Availability>());
    value.MemberForWriting("unnamed").SetEnum(7, &Brix::StaticType<Availability>());

    // A number the enum does not name stays a number, and so does every number of an unknown enum.
    const Brix::TypeRegistry otherRegistry;
    EXPECT_EQ(CellText(Brix::ScopedHostValue(Brix::ToHostValue(value, &registry)).Get()),
              "{availability: 'Disabled', unnamed: s7}");
    EXPECT_EQ(CellText(Brix::ScopedHostValue(Brix::ToHostValue(value, &otherRegistry)).Get()),
              "{availability: s1, unnamed: s7}");
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
    // Blocks: the root's members and their three names, the text, the bytes, the list, its one
    // structure's members and their two names, the inner list and its text.
    EXPECT_EQ(Brix::ReadMemoryStats().BlocksInUse(), before.BlocksInUse() + 12);
    Brix::ReleaseHostValue(cell);
    const Brix::MemoryStats after = Brix::ReadMemoryStats();
    EXPECT_EQ(after.BytesInUse(), before.BytesInUse());
    EXPECT_EQ(after.BlocksInUse(), before.BlocksInUse());
    const HostValue zero = Brix::EmptyHostValue();
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison): the packed cell has no padding
    EXPECT_EQ(std::memcmp(&cell, &zero, sizeof(HostValue)), 0);
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

// ---- cell to generic value ----------------------------------------------------------------------

TEST(HostValueConversion, ReadsCellsToTheseValuesOrFailsWithThisMessage) {
    char text[] = "Normal\0Draft";
    std::array<HostValueMember, 3> failing{};
    failing[0] = {"a", Cell(HOST_VALUE_SIGNED), 0};
    failing[1] = {"b", Cell(0xFFFFFFFFu), 0};
    failing[2] = {"c", Cell(HOST_VALUE_ARRAY, nullptr, 1), 0};
    std::array<HostValueMember, 1> nameless{};
    // A member named twice keeps only the later value, whatever the kinds: containers are not merged.
    std::array<HostValue, 4> numbers = {Cell(HOST_VALUE_SIGNED), Cell(HOST_VALUE_SIGNED),
                                        Cell(HOST_VALUE_SIGNED), Cell(HOST_VALUE_SIGNED)};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        numbers[i].payload.i = static_cast<int64_t>(i + 1);
    }
    std::array<HostValueMember, 2> inner{};
    inner[0] = {"x", numbers[0], 0};
    inner[1] = {"y", numbers[1], 0};
    std::array<HostValueMember, 6> twice{};
    twice[0] = {"list", Cell(HOST_VALUE_ARRAY, &numbers[0], 2), 0};
    twice[1] = {"list", Cell(HOST_VALUE_ARRAY, &numbers[2], 2), 0};
    twice[2] = {"object", Cell(HOST_VALUE_OBJECT, &inner[0], 2), 0};
    twice[3] = {"object", Cell(HOST_VALUE_OBJECT, &inner[1], 1), 0};
    twice[4] = {"scalar", Cell(HOST_VALUE_OBJECT, &inner[0], 1), 0};
    twice[5] = {"scalar", numbers[3], 0};
    const std::string failure = "Couldn't assign value to '<result>' of type object because the input ";
    const std::pair<HostValue, std::string> cases[] = {
        // Texts are read to the first NUL whatever their length word says, bytes to their length.
        {Cell(HOST_VALUE_OWNED_TEXT, text, 12), R"(string "Normal")"},
        {Cell(HOST_VALUE_TEXT, text, 2), R"(string "Normal")"},
        {Cell(HOST_VALUE_BYTES, text, 8), R"(blob "Tm9ybWFsAEQ=")"},
        {Cell(HOST_VALUE_NULL), "empty "},
        // With a length of zero a null address is simply nothing.
        {Cell(HOST_VALUE_OBJECT), "structure {}"},
        {Cell(HOST_VALUE_ARRAY), "collection []"},
        {Cell(11), failure + "is of an incompatible type ''."},
        {Cell(HOST_VALUE_OWNED_BYTES, nullptr, 16),
         failure + "of type 'blob' has no data for its length 16."},
        {Cell(HOST_VALUE_OBJECT, nullptr, 3), failure + "of type 'structure' has no data for its length 3."},
        {Cell(HOST_VALUE_OBJECT, nameless.data(), 1),
         failure + "of type 'structure' has a member without a name."},
        // Inside an object the first failing member ends the conversion.
        {Cell(HOST_VALUE_OBJECT, failing.data(), 3), failure + "is of an incompatible type ''."},
        {Cell(HOST_VALUE_OBJECT, twice.data(), 6),
         R"(structure {"list":[3,4],"object":{"y":2},"scalar":4})"}};
    for (const auto& [cell, expected] : cases) {
        EXPECT_EQ(Read(cell), expected) << KindOf(cell);
    }
}

TEST(HostValueConversion, NestingIsBoundedSoHostileBlocksCannotExhaustTheStack) {
    // A chain of arrays, each holding the next: level 1 is the root, the last level holds a bool.
    auto chain = [](std::size_t levels) {
        std::vector<HostValue> cells(levels, Cell(HOST_VALUE_BOOL));
        for (std::size_t i = 0; i + 1 < levels; ++i) {
            cells[i] = Cell(HOST_VALUE_ARRAY, &cells[i + 1], 1);
        }
        cells.back().payload.b = 1;
        return cells;
    };
    const std::string tooDeep =
        "Couldn't assign value to '<result>' of type object because the input is nested deeper than 512 "
        "levels.";
    EXPECT_EQ(Read(chain(Brix::kMaxHostValueDepth)[0]),
              "collection " + std::string(511, '[') + "true" + std::string(511, ']'));
    EXPECT_EQ(Read(chain(Brix::kMaxHostValueDepth + 1)[0]), tooDeep);
    // A block that contains itself is refused the same way instead of recursing forever.
    HostValue loop = Cell(HOST_VALUE_ARRAY);
    loop.payload.ref.data = &loop;
    loop.payload.ref.length = 1;
    EXPECT_EQ(Read(loop), tooDeep);
}

}  // namespace
