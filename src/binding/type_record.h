// type_record.h - the records the registry keeps for registered structs, enums and their members.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "binding/field_converter.h"
#include "binding/static_type.h"
#include "binding/type_code.h"

namespace Brix {

class TypeRecord;
class TypeRegistry;

// FieldFlags are the bits of a field record's flags word.
enum FieldFlags : uint32_t {
    kFieldNone = 0,
    kFieldOmitWhenDefault = 1u << 0,  // left out of the value when it holds its default
    kFieldRequired = 1u << 1,         // a value without the member is rejected
};

// FieldAttributes is an opaque 12-byte block copied from a registration and kept as it is.
using FieldAttributes = std::array<uint32_t, 3>;

// FieldRecord describes one member of a registered struct.
struct FieldRecord {
    std::string name;
    uint32_t nameHash = 0;  // FNV-1a of name, compared before the text in member lookups
    std::string description;
    const StaticTypeDescriptor* staticType = nullptr;  // of the member's native type
    uint32_t offset = 0;                               // of the member inside the native record
    TypeReference type;
    std::optional<FieldAttributes> attributes;  // kept only when its first word is non-zero
    uint32_t flags = kFieldNone;
    std::unique_ptr<const FieldConverter> converter;
    const TypeRecord* owner = nullptr;
    bool optional = false;  // the member is an optional wrapper around its type

    bool IsRequired() const noexcept { return (flags & kFieldRequired) != 0; }
    bool OmitsDefault() const noexcept { return (flags & kFieldOmitWhenDefault) != 0; }
};

// EnumeratorRecord describes one named value of a registered enum.
struct EnumeratorRecord {
    int32_t number = 0;
    std::string name;
    std::string description;
    const TypeRecord* owner = nullptr;
};

// TypeRecord describes one registered struct or enum. The registry owns it and never removes it;
// after registration it is not changed, so converters read it without a lock.
class TypeRecord {
public:
    uint32_t nativeSize = 0;
    bool isEnum = false;
    std::string fullName;
    uint32_t id = 0;
    const StaticTypeDescriptor* staticType = nullptr;
    std::string nameSpace;
    std::string description;
    std::vector<std::string> tags;
    std::vector<FieldRecord> fields;                                   // in registration order
    std::map<std::string, EnumeratorRecord, std::less<>> enumerators;  // by name
    const TypeRegistry* registry = nullptr;

    // FindEnumerator is the enumerator of that exact name, or null.
    const EnumeratorRecord* FindEnumerator(std::string_view name) const noexcept;

    // FindEnumeratorByNumber is the first enumerator, in ascending name order, with that number, or null.
    const EnumeratorRecord* FindEnumeratorByNumber(int64_t number) const noexcept;

    // FindField is the field of that exact name, or null.
    const FieldRecord* FindField(std::string_view name) const noexcept;
};

}  // namespace Brix
