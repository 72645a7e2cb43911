// type_code.h - the closed set of type codes of fields, parameters and elements, and type references.
#pragma once

#include <cstdint>
#include <string_view>

namespace Brix {

class TypeRecord;

// TypeCode classifies a field, parameter or element.
enum class TypeCode : uint32_t {
    None = 0,
    Bool = 1,
    Int8 = 2,
    UInt8 = 3,
    Int16 = 4,
    UInt16 = 5,
    Int32 = 6,
    UInt32 = 7,
    Int64 = 8,
    UInt64 = 9,
    Float = 10,
    Double = 11,
    String = 12,
    Object = 13,  // holds a BindingProperty as it is
    Blob = 14,
    Vector = 15,
    Enum = 16,
    Struct = 17,
    Callback = 18,
    Map = 19,  // keyed by text; the code names the value type only
};

// NativeTypeName is the name of a code used in messages: "bool", "int32", "vector"; the empty text
// for a code outside 1 to 19.
std::string_view NativeTypeName(TypeCode code) noexcept;

// TypeReference describes the type of a field, parameter, element or result. For a vector or map,
// elementCode and type describe the element; for an enum or struct, type is its registered record
// (null when unregistered).
struct TypeReference {
    TypeCode code = TypeCode::None;
    TypeCode elementCode = TypeCode::None;
    const TypeRecord* type = nullptr;

    friend bool operator==(const TypeReference&, const TypeReference&) = default;
};

// NativeTypeNames is the pair {name, element name} of a reference: "vector" or "map" and the
// element's name; a registered enum or struct its registered name ("enum" or "struct" when
// unregistered); any other code its native name. The element name is empty unless the reference is
// a vector or a map.
struct NativeTypeNamePair {
    std::string_view name;
    std::string_view elementName;

    friend bool operator==(const NativeTypeNamePair&, const NativeTypeNamePair&) = default;
};
NativeTypeNamePair NativeTypeNames(const TypeReference& reference) noexcept;

}  // namespace Brix
