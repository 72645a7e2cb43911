// host_value_cells_fuzzer.cpp - host value cell trees read into generic values and written back as cells.
//
// The input drives the shape of a cell tree as a host would hand it over: every address points to a
// block of the stated length (or is null), owned texts carry their NUL, containers hold the cells and
// members they count. Alongside, the decoder works out what reading the tree must give: the value, or
// the message of the first refused cell in reading order. The value read is then written back to
// cells, which must read back to the same value and release every counted byte.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "binding/binding_property.h"
#include "fuzz/fuzz_support.h"
#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"

namespace {

using namespace Brix;

constexpr std::string_view kValueName = "<cell>";
constexpr std::size_t kMaxCells = 256;        // cells the decoder draws for one input, chains aside
constexpr std::size_t kMaxCount = 12;         // elements or members of one container
constexpr std::size_t kMaxTextLength = 40;    // bytes of one text, blob or member name
constexpr std::size_t kMaxDecodeLevels = 10;  // nesting the decoder draws cell by cell
constexpr std::size_t kMaxChains = 2;         // deep chains of one-entry containers per input
constexpr std::size_t kMaxChainLength = 600;  // links of one chain: past the reader's depth limit

// The messages reading may answer, written out here rather than taken from the reader.
std::string Refusal(std::string_view because) {
    return std::string("Couldn't assign value to '")
        .append(kValueName)
        .append("' of type object because ")
        .append(because);
}

std::string NoData(std::string_view kindName, uint32_t length) {
    return Refusal("the input of type '")
        .append(kindName)
        .append("' has no data for its length ")
        .append(std::to_string(length))
        .append(".");
}

// CellTree builds one input's cell tree in blocks it owns, as the host owns what it hands over, and
// the value or first refusal that reading the tree must give.
class CellTree {
public:
    explicit CellTree(Fuzz::Reader& input) : reader(input) {}

    // Decode draws the root cell into root and its expected reading into expected.
    void Decode(HostValue& root, BindingProperty& expected) { DrawCell(root, expected, 1, 0); }

    // FirstRefusal is the message of the first refused cell in reading order, empty when none is refused.
    const std::string& FirstRefusal() const noexcept { return failure; }

private:
    // Refuse records a refusal; only the first one in reading order counts.
    void Refuse(std::string message) {
        if (failure.empty()) {
            failure = std::move(message);
        }
    }

    HostValue* CellBlock(std::size_t count) {
        cellBlocks.push_back(std::make_unique<HostValue[]>(count));
        std::memset(static_cast<void*>(cellBlocks.back().get()), 0, count * sizeof(HostValue));
        return cellBlocks.back().get();
    }

    HostValueMember* MemberBlock(std::size_t count) {
        memberBlocks.push_back(std::make_unique<HostValueMember[]>(count));
        std::memset(static_cast<void*>(memberBlocks.back().get()), 0, count * sizeof(HostValueMember));
        return memberBlocks.back().get();
    }

    // Bytes copies text into a block of exactly its length, plus a NUL when terminated.
    char* Bytes(std::string_view text, bool terminated) {
        byteBlocks.push_back(std::make_unique<char[]>(text.size() + (terminated ? 1 : 0)));
        char* block = byteBlocks.back().get();
        std::memcpy(block, text.data(), text.size());
        if (terminated) {
            block[text.size()] = '\0';
        }
        return block;
    }

    // DrawCell draws one cell at depth (the root is 1); levels counts the cells drawn above it.
    void DrawCell(HostValue& cell, BindingProperty& expected, std::size_t depth, std::size_t levels) {
        if (depth > kMaxHostValueDepth) {
            Refuse(Refusal("the input is nested deeper than " + std::to_string(kMaxHostValueDepth) +
                           " levels."));
        }
        const bool budgetLeft = cells < kMaxCells && levels < kMaxDecodeLevels;
        ++cells;
        const uint8_t choice = budgetLeft ? reader.Byte() : reader.Byte() % 9;
        switch (choice % 14) {
            case 0:
                cell.kind = HOST_VALUE_NULL;
                expected.Clear();
                return;
            case 1: {
                const uint8_t flag = reader.Byte();
                cell.kind = HOST_VALUE_BOOL;
                cell.payload.b = flag;
                expected.SetBool(flag != 0);
                return;
            }
            case 2: {
                const auto number = reader.Number<int64_t>();
                cell.kind = HOST_VALUE_SIGNED;
                cell.payload.i = number;
                expected.SetSigned(number);
                return;
            }
            case 3: {
                const auto number = reader.Number<uint64_t>();
                cell.kind = HOST_VALUE_UNSIGNED;
                cell.payload.u = number;
                expected.SetUnsigned(number);
                return;
            }
            case 4: {
                const auto number = reader.Number<double>();
                cell.kind = HOST_VALUE_FLOAT;
                cell.payload.f = number;
                expected.SetFloat(number);
                return;
            }
            case 5:
            case 6:
                DrawText(cell, expected, choice % 14 == 6);
                return;
            case 7:
            case 8:
                DrawBytes(cell, expected, choice % 14 == 8);
                return;
            case 9:
            case 10:
            case 11:
                if (!budgetLeft) {
                    cell.kind = HOST_VALUE_NULL;
                    expected.Clear();
                    return;
                }
                if (choice % 14 == 11) {
                    DrawObject(cell, expected, depth, levels);
                } else {
                    DrawArray(cell, expected, depth, levels);
                }
                return;
            case 12: {
                // A kind past the last one the boundary knows: its name in the message is empty.
                const uint32_t kind = HOST_VALUE_OBJECT + 1 + reader.Number<uint32_t>() % 0xFFFFFFF5u;
                cell.kind = kind;
                cell.payload.u = reader.Number<uint64_t>();
                Refuse(Refusal("the input is of an incompatible type ''."));
                return;
            }
            default:
                if (!budgetLeft || chains == kMaxChains) {
                    cell.kind = HOST_VALUE_NULL;
                    expected.Clear();
                    return;
                }
                DrawChain(cell, expected, depth, levels);
                return;
        }
    }

    // DrawText: a borrowed text (NUL-terminated, its length word not meaningful) or an owned copy whose
    // length word is its byte count; either may hold NULs inside, or be null.
    void DrawText(HostValue& cell, BindingProperty& expected, bool owned) {
        const uint8_t shape = reader.Byte();
        const std::string_view text = reader.Text(kMaxTextLength);
        cell.kind = owned ? HOST_VALUE_OWNED_TEXT : HOST_VALUE_TEXT;
        if (shape % 8 == 0) {
            cell.payload.ref.data = nullptr;
            cell.payload.ref.length = owned ? 0 : shape;
            expected.SetString("");
            return;
        }
        cell.payload.ref.data = Bytes(text, true);
        cell.payload.ref.length = owned ? static_cast<uint32_t>(text.size()) : shape;
        expected.SetString(text.substr(0, text.find('\0')));
    }

    // DrawBytes: bytes of the stated length, or null with a length that is zero or not.
    void DrawBytes(HostValue& cell, BindingProperty& expected, bool owned) {
        const uint8_t shape = reader.Byte();
        const std::string_view bytes = reader.Text(kMaxTextLength);
        cell.kind = owned ? HOST_VALUE_OWNED_BYTES : HOST_VALUE_BYTES;
        if (shape % 8 == 0) {
            const uint32_t length = shape / 8;
            cell.payload.ref.data = nullptr;
            cell.payload.ref.length = length;
            if (length != 0) {
                Refuse(NoData("blob", length));
            }
            expected.SetBlob({});
            return;
        }
        cell.payload.ref.data = Bytes(bytes, false);
        cell.payload.ref.length = static_cast<uint32_t>(bytes.size());
        expected.SetBlob(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    }

    void DrawArray(HostValue& cell, BindingProperty& expected, std::size_t depth, std::size_t levels) {
        const uint8_t shape = reader.Byte();
        const auto count = static_cast<uint32_t>(shape % (kMaxCount + 1));
        cell.kind = HOST_VALUE_ARRAY;
        cell.payload.ref.length = count;
        expected.MakeCollection();
        if (shape >= 0xF0 && count != 0) {
            Refuse(NoData("collection", count));
            return;
        }
        if (count == 0) {
            return;  // no block at all, or an empty one: both read as an empty collection
        }
        HostValue* elements = CellBlock(count);
        cell.payload.ref.data = elements;
        for (uint32_t i = 0; i < count; ++i) {
            BindingProperty element;
            DrawCell(elements[i], element, depth + 1, levels + 1);
            expected.AppendElement() = std::move(element);
        }
    }

    void DrawObject(HostValue& cell, BindingProperty& expected, std::size_t depth, std::size_t levels) {
        const uint8_t shape = reader.Byte();
        const auto count = static_cast<uint32_t>(shape % (kMaxCount + 1));
        cell.kind = HOST_VALUE_OBJECT;
        cell.payload.ref.length = count;
        expected.MakeStructure();
        if (shape >= 0xF0 && count != 0) {
            Refuse(NoData("structure", count));
            return;
        }
        if (count == 0) {
            return;
        }
        HostValueMember* members = MemberBlock(count);
        cell.payload.ref.data = members;
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t nameShape = reader.Byte();
            // Short names from a small alphabet, so that names repeat within one object.
            const std::string_view name = nameShape % 2 == 0 ? reader.Text(kMaxTextLength) : reader.Text(1);
            members[i].nameOwned = nameShape / 2 % 2;
            if (nameShape % 16 == 15) {
                members[i].name = nullptr;
                Refuse(Refusal("the input of type 'structure' has a member without a name."));
            } else {
                members[i].name = Bytes(name, true);
            }
            BindingProperty member;
            DrawCell(members[i].value, member, depth + 1, levels + 1);
            // A name given twice keeps the later member.
            expected.MemberForWriting(name.substr(0, name.find('\0'))) = std::move(member);
        }
    }

    // DrawChain: one-entry arrays or objects (member "n") nested length deep, around a drawn cell.
    void DrawChain(HostValue& cell, BindingProperty& expected, std::size_t depth, std::size_t levels) {
        ++chains;
        const bool objects = reader.Bool();
        const std::size_t length = 1 + reader.Number<uint16_t>() % kMaxChainLength;
        static constexpr char kLinkName[] = "n";
        HostValue* link = &cell;
        std::vector<BindingProperty*> path;
        BindingProperty* value = &expected;
        for (std::size_t i = 0; i < length; ++i) {
            if (depth + i > kMaxHostValueDepth) {
                Refuse(Refusal("the input is nested deeper than " + std::to_string(kMaxHostValueDepth) +
                               " levels."));
            }
            link->payload.ref.length = 1;
            if (objects) {
                HostValueMember* member = MemberBlock(1);
                member->name = kLinkName;
                link->kind = HOST_VALUE_OBJECT;
                link->payload.ref.data = member;
                link = &member->value;
                value = &value->MemberForWriting(kLinkName);
            } else {
                HostValue* element = CellBlock(1);
                link->kind = HOST_VALUE_ARRAY;
                link->payload.ref.data = element;
                link = element;
                value = &value->AppendElement();
            }
        }
        DrawCell(*link, *value, depth + length, levels + 1);
    }

    Fuzz::Reader& reader;
    std::size_t cells = 0;
    std::size_t chains = 0;
    std::string failure;
    std::vector<std::unique_ptr<HostValue[]>> cellBlocks;
    std::vector<std::unique_ptr<HostValueMember[]>> memberBlocks;
    std::vector<std::unique_ptr<char[]>> byteBlocks;
};

// Same compares two values exactly: floats by their bits (NaN included), everything else as ==.
bool Same(const BindingProperty& a, const BindingProperty& b) {
    if (a.Kind() != b.Kind()) {
        return false;
    }
    switch (a.Kind()) {
        case BindingKind::Float:
            return std::bit_cast<uint64_t>(a.AsFloat()) == std::bit_cast<uint64_t>(b.AsFloat());
        case BindingKind::Collection: {
            if (a.ElementCount() != b.ElementCount()) {
                return false;
            }
            for (std::size_t i = 0; i < a.ElementCount(); ++i) {
                if (!Same(a.Element(i), b.Element(i))) {
                    return false;
                }
            }
            return true;
        }
        case BindingKind::Structure: {
            if (a.MemberCount() != b.MemberCount()) {
                return false;
            }
            auto other = b.Members().begin();
            for (const auto [name, member] : a.Members()) {
                const auto [otherName, otherMember] = *other;
                if (name != otherName || !Same(member, otherMember)) {
                    return false;
                }
                ++other;
            }
            return true;
        }
        default:
            return a == b;
    }
}

std::string_view TextOf(const HostValue& cell) {
    return {static_cast<const char*>(cell.payload.ref.data), cell.payload.ref.length};
}

// CheckWritten checks the cell written for value: each kind's cell, owned copies with their lengths,
// owned texts NUL-terminated, members in the value's order with owned names.
void CheckWritten(const HostValue& cell, const BindingProperty& value) {
    const uint32_t kind = cell.kind;
    switch (value.Kind()) {
        case BindingKind::Empty:
            Fuzz::Check(kind == HOST_VALUE_NULL, "an empty value is written as kind 0");
            return;
        case BindingKind::Bool:
            Fuzz::Check(kind == HOST_VALUE_BOOL && cell.payload.b == (value.AsBool() ? 1 : 0),
                        "a bool is written as 0 or 1");
            return;
        case BindingKind::Signed:
            Fuzz::Check(kind == HOST_VALUE_SIGNED && cell.payload.i == value.AsSigned(), "a signed number");
            return;
        case BindingKind::Unsigned:
            Fuzz::Check(kind == HOST_VALUE_UNSIGNED && cell.payload.u == value.AsUnsigned(),
                        "an unsigned number");
            return;
        case BindingKind::Float:
            Fuzz::Check(
                kind == HOST_VALUE_FLOAT && std::bit_cast<uint64_t>(static_cast<double>(cell.payload.f)) ==
                                                std::bit_cast<uint64_t>(value.AsFloat()),
                "a float keeps its bits");
            return;
        case BindingKind::String:
            Fuzz::Check(kind == HOST_VALUE_OWNED_TEXT && TextOf(cell) == value.AsString(),
                        "a string is an owned copy of its bytes");
            Fuzz::Check(static_cast<const char*>(cell.payload.ref.data)[value.AsString().size()] == '\0',
                        "an owned text ends in a NUL");
            return;
        case BindingKind::Blob: {
            const std::span<const uint8_t> bytes = value.AsBlob();
            Fuzz::Check(kind == HOST_VALUE_OWNED_BYTES && cell.payload.ref.length == bytes.size(),
                        "a blob is an owned copy of its length");
            Fuzz::Check(bytes.empty() || std::memcmp(cell.payload.ref.data, bytes.data(), bytes.size()) == 0,
                        "a blob copies its bytes");
            return;
        }
        case BindingKind::Collection: {
            Fuzz::Check(kind == HOST_VALUE_ARRAY && cell.payload.ref.length == value.ElementCount(),
                        "a collection has one cell per element");
            const auto* elements = static_cast<const HostValue*>(cell.payload.ref.data);
            for (std::size_t i = 0; i < value.ElementCount(); ++i) {
                CheckWritten(elements[i], value.Element(i));
            }
            return;
        }
        case BindingKind::Structure: {
            Fuzz::Check(kind == HOST_VALUE_OBJECT && cell.payload.ref.length == value.MemberCount(),
                        "a structure has one member per entry");
            const auto* members = static_cast<const HostValueMember*>(cell.payload.ref.data);
            std::size_t at = 0;
            for (const auto [name, member] : value.Members()) {
                Fuzz::Check(members[at].nameOwned == 1 && members[at].name != nullptr &&
                                std::string_view(members[at].name) == name,
                            "members are written in order with owned names");
                CheckWritten(members[at].value, member);
                ++at;
            }
            return;
        }
        case BindingKind::Enum:
            Fuzz::Check(false, "no enum is read from a cell");
            return;
    }
}

// CheckWriteBack writes value as cells, reads them back and releases them.
void CheckWriteBack(const BindingProperty& value) {
    const uint64_t inUse = ReadMemoryStats().BytesInUse();
    HostValue cell = ToHostValue(value);
    CheckWritten(cell, value);
    const ConversionStatus back = FromHostValue(cell, kValueName);
    Fuzz::Check(back.Ok(), "written cells read back");
    Fuzz::Check(Same(back.Value(), value), "written cells read back to the same value");
    ReleaseHostValue(cell);
    Fuzz::Check(Fuzz::AllZero(cell), "a released cell is zero");
    Fuzz::Check(ReadMemoryStats().BytesInUse() == inUse, "releasing the cells frees every counted byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Fuzz::QuietLogger();
    Fuzz::Reader reader(data, size);
    CellTree tree(reader);
    HostValue root = EmptyHostValue();
    BindingProperty expected;
    tree.Decode(root, expected);

    const ConversionStatus read = FromHostValue(root, kValueName);
    if (!tree.FirstRefusal().empty()) {
        Fuzz::Check(!read.Ok(), "a tree with a refused cell is refused");
        Fuzz::Check(read.Message() == tree.FirstRefusal(), "the refusal names the first refused cell");
        return 0;
    }
    Fuzz::Check(read.Ok(), "a well-formed tree reads");
    Fuzz::Check(Same(read.Value(), expected), "the tree reads to the value it holds");
    CheckWriteBack(read.Value());
    return 0;
}
