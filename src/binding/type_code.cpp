// type_code.cpp - native names of type codes and of type references.
#include "binding/type_code.h"

#include <array>

#include "binding/type_record.h"

namespace Brix {

namespace {

constexpr std::array<std::string_view, 20> kNativeNames = {
    "",      "bool",   "int8",   "uint8",  "int16", "uint16", "int32", "uint32", "int64",    "uint64",
    "float", "double", "string", "object", "blob",  "vector", "enum",  "struct", "callback", "map",
};

// ScalarOrRecordName names a reference that is not a container.
std::string_view ScalarOrRecordName(TypeCode code, const TypeRecord* type) noexcept {
    if ((code == TypeCode::Enum || code == TypeCode::Struct) && type != nullptr) {
        return type->fullName;
    }
    return NativeTypeName(code);
}

}  // namespace

std::string_view NativeTypeName(TypeCode code) noexcept {
    const auto index = static_cast<uint32_t>(code);
    return index < kNativeNames.size() ? kNativeNames[index] : std::string_view{};
}

NativeTypeNamePair NativeTypeNames(const TypeReference& reference) noexcept {
    if (reference.code == TypeCode::Vector || reference.code == TypeCode::Map) {
        return {NativeTypeName(reference.code), ScalarOrRecordName(reference.elementCode, reference.type)};
    }
    return {ScalarOrRecordName(reference.code, reference.type), {}};
}

}  // namespace Brix
