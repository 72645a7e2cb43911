// host_value_conversion.cpp - building host value cells from generic values and reading them back.
#include "host_values/host_value_conversion.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <span>
#include <string>

#include "binding/static_type.h"
#include "binding/type_record.h"
#include "binding/type_registry.h"
#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"
#include "logging/message_formatter.h"

namespace Brix {

namespace {

constexpr std::size_t kMaxCellLength = std::numeric_limits<uint32_t>::max();

uint32_t CellLength(std::size_t length) noexcept {
    return static_cast<uint32_t>(length < kMaxCellLength ? length : kMaxCellLength);
}

// ---- generic value to cell ----------------------------------------------------------------------

// AllocateBlock gives count zeroed entries of Entry, or null when out of memory. A zeroed block can be
// released at any point while it is being filled.
template <class Entry>
Entry* AllocateBlock(uint32_t count) noexcept {
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(Entry)) {
        return nullptr;
    }
    void* block = CountedAllocate(count * sizeof(Entry));
    if (block != nullptr) {
        std::memset(block, 0, count * sizeof(Entry));
    }
    return static_cast<Entry*>(block);
}

bool SetOwnedCopy(HostValue& cell, uint32_t kind, const void* bytes, std::size_t size) noexcept {
    const uint32_t length = CellLength(size);
    char* copy = CountedDuplicate(static_cast<const char*>(bytes), length);
    if (copy == nullptr) {
        return false;
    }
    cell.kind = kind;
    cell.payload.ref.data = copy;
    cell.payload.ref.length = length;
    return true;
}

// EnumeratorName is the name of an enum value's enumerator in registry, if the registry knows it.
std::optional<std::string_view> EnumeratorName(const BindingProperty& value, const TypeRegistry* registry) {
    const StaticTypeDescriptor* type = value.EnumType();
    if (registry == nullptr || type == nullptr) {
        return std::nullopt;
    }
    const TypeRecord* record = registry->FindById(type->id);
    if (record == nullptr || !record->isEnum) {
        return std::nullopt;
    }
    const EnumeratorRecord* enumerator = record->FindEnumeratorByNumber(value.EnumNumber());
    if (enumerator == nullptr) {
        return std::nullopt;
    }
    return std::string_view(enumerator->name);
}

// FillCell writes the cell of value into the zeroed cell; false when memory ran out, in which case
// what was built may be left in the cell for the caller to release.
bool FillCell(HostValue& cell, const BindingProperty& value, const TypeRegistry* registry) {
    switch (value.Kind()) {
        case BindingKind::Empty:
            return true;
        case BindingKind::Bool:
            cell.kind = HOST_VALUE_BOOL;
            cell.payload.b = value.AsBool() ? 1 : 0;
            return true;
        case BindingKind::Signed:
            cell.kind = HOST_VALUE_SIGNED;
            cell.payload.i = value.AsSigned();
            return true;
        case BindingKind::Unsigned:
            cell.kind = HOST_VALUE_UNSIGNED;
            cell.payload.u = value.AsUnsigned();
            return true;
        case BindingKind::Float:
            cell.kind = HOST_VALUE_FLOAT;
            cell.payload.f = value.AsFloat();
            return true;
        case BindingKind::String: {
            const std::string_view text = value.AsString();
            return SetOwnedCopy(cell, HOST_VALUE_OWNED_TEXT, text.data(), text.size());
        }
        case BindingKind::Blob: {
            const std::span<const uint8_t> bytes = value.AsBlob();
            return SetOwnedCopy(cell, HOST_VALUE_OWNED_BYTES, bytes.data(), bytes.size());
        }
        case BindingKind::Enum: {
            if (const std::optional<std::string_view> name = EnumeratorName(value, registry)) {
                return SetOwnedCopy(cell, HOST_VALUE_OWNED_TEXT, name->data(), name->size());
            }
            cell.kind = HOST_VALUE_SIGNED;
            cell.payload.i = value.EnumNumber();
            return true;
        }
        case BindingKind::Collection: {
            const std::span<const BindingProperty> elements = value.Elements();
            const uint32_t count = CellLength(elements.size());
            cell.kind = HOST_VALUE_ARRAY;
            if (count == 0) {
                return true;
            }
            auto* block = AllocateBlock<HostValue>(count);
            if (block == nullptr) {
                return false;
            }
            cell.payload.ref.data = block;
            cell.payload.ref.length = count;
            for (uint32_t i = 0; i < count; ++i) {
                if (!FillCell(block[i], elements[i], registry)) {
                    return false;
                }
            }
            return true;
        }
        case BindingKind::Structure: {
            const uint32_t count = CellLength(value.MemberCount());
            cell.kind = HOST_VALUE_OBJECT;
            if (count == 0) {
                return true;
            }
            auto* block = AllocateBlock<HostValueMember>(count);
            if (block == nullptr) {
                return false;
            }
            cell.payload.ref.data = block;
            cell.payload.ref.length = count;
            uint32_t at = 0;
            for (const auto [name, member] : value.Members()) {
                if (at == count) {
                    break;
                }
                HostValueMember& entry = block[at++];
                char* nameCopy = CountedDuplicate(name.data(), name.size());
                if (nameCopy == nullptr) {
                    return false;
                }
                entry.name = nameCopy;
                entry.nameOwned = 1;
                if (!FillCell(entry.value, member, registry)) {
                    return false;
                }
            }
            return true;
        }
    }
    return true;  // a kind outside the ten has nothing to carry: kind 0
}

// ---- cell to generic value ----------------------------------------------------------------------

// CellReader converts one cell tree into a generic value and keeps the first failure's message.
class CellReader {
public:
    explicit CellReader(std::string_view name) : valueName(name) {}

    bool Read(const HostValue& cell, BindingProperty& target, std::size_t depth) {
        if (depth > kMaxHostValueDepth) {
            return Fail(
                FormatMessage("Couldn't assign value to '%1' of type object because the input is nested "
                              "deeper than %2 levels.",
                              valueName, kMaxHostValueDepth));
        }
        const uint32_t kind = cell.kind;
        switch (kind) {
            case HOST_VALUE_NULL:
                target.Clear();
                return true;
            case HOST_VALUE_BOOL:
                target.SetBool(cell.payload.b != 0);
                return true;
            case HOST_VALUE_SIGNED:
                target.SetSigned(static_cast<int64_t>(cell.payload.i));
                return true;
            case HOST_VALUE_UNSIGNED:
                target.SetUnsigned(static_cast<uint64_t>(cell.payload.u));
                return true;
            case HOST_VALUE_FLOAT:
                target.SetFloat(static_cast<double>(cell.payload.f));
                return true;
            case HOST_VALUE_TEXT:
            case HOST_VALUE_OWNED_TEXT: {
                const auto* text = static_cast<const char*>(cell.payload.ref.data);
                target.SetString(text != nullptr ? std::string_view(text) : std::string_view());
                return true;
            }
            case HOST_VALUE_BYTES:
            case HOST_VALUE_OWNED_BYTES: {
                const auto* bytes = static_cast<const uint8_t*>(cell.payload.ref.data);
                const uint32_t length = cell.payload.ref.length;
                if (bytes == nullptr && length != 0) {
                    return FailNoData(kind, length);
                }
                target.SetBlob(std::span<const uint8_t>(bytes, bytes != nullptr ? length : 0));
                return true;
            }
            case HOST_VALUE_ARRAY:
                return ReadArray(cell, target, depth);
            case HOST_VALUE_OBJECT:
                return ReadObject(cell, target, depth);
            default:
                return Fail(
                    FormatMessage("Couldn't assign value to '%1' of type object because the input is of an "
                                  "incompatible type '%2'.",
                                  valueName, HostKindName(kind)));
        }
    }

    std::string_view Message() const noexcept { return message; }

private:
    bool ReadArray(const HostValue& cell, BindingProperty& target, std::size_t depth) {
        const auto* elements = static_cast<const HostValue*>(cell.payload.ref.data);
        const uint32_t count = cell.payload.ref.length;
        if (elements == nullptr && count != 0) {
            return FailNoData(HOST_VALUE_ARRAY, count);
        }
        target.MakeCollection();
        target.ReserveElements(count);
        for (uint32_t i = 0; i < count; ++i) {
            if (!Read(elements[i], target.AppendElement(), depth + 1)) {
                return false;
            }
        }
        return true;
    }

    bool ReadObject(const HostValue& cell, BindingProperty& target, std::size_t depth) {
        const auto* members = static_cast<const HostValueMember*>(cell.payload.ref.data);
        const uint32_t count = cell.payload.ref.length;
        if (members == nullptr && count != 0) {
            return FailNoData(HOST_VALUE_OBJECT, count);
        }
        target.MakeStructure();
        for (uint32_t i = 0; i < count; ++i) {
            const char* name = members[i].name;
            if (name == nullptr) {
                return Fail(
                    FormatMessage("Couldn't assign value to '%1' of type object because the input of type "
                                  "'structure' has a member without a name.",
                                  valueName));
            }
            // A name given twice keeps the later member whole, as a member written twice would: the
            // earlier value is cleared first, so that a later collection or structure is not read into it.
            BindingProperty& member = target.MemberForWriting(name);
            member.Clear();
            if (!Read(members[i].value, member, depth + 1)) {
                return false;
            }
        }
        return true;
    }

    bool FailNoData(uint32_t kind, uint32_t length) {
        return Fail(FormatMessage(
            "Couldn't assign value to '%1' of type object because the input of type '%2' has no data for its "
            "length %3.",
            valueName, HostKindName(kind), length));
    }

    bool Fail(std::string text) {
        message = std::move(text);
        return false;
    }

    std::string_view valueName;
    std::string message;
};

}  // namespace

HostValue ToHostValue(const BindingProperty& value, const TypeRegistry* registry) noexcept {
    HostValue cell = EmptyHostValue();
    bool complete = false;
    try {
        complete = FillCell(cell, value, registry);
    } catch (...) {
        complete = false;  // the registry's lookups allocate; running out of memory there is the same
    }
    if (!complete) {
        ReleaseHostValue(cell);
    }
    return cell;
}

ConversionStatus FromHostValue(const HostValue& cell, std::string_view valueName) {
    ConversionStatus status;
    CellReader reader(valueName);
    if (!reader.Read(cell, status.Value(), 1)) {
        status.Fail(reader.Message());
    }
    return status;
}

}  // namespace Brix
