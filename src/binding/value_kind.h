// value_kind.h - the ten kinds of a generic value and their names.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace Brix {

// BindingKind is the kind of a BindingProperty; the numbers are shared with the converters and the
// codecs, so they never change.
enum class BindingKind : uint8_t {
    Empty = 0,
    Bool = 1,
    Signed = 2,
    Unsigned = 3,
    Float = 4,
    String = 5,
    Blob = 6,
    Enum = 7,
    Collection = 8,
    Structure = 9,
};

// KindName is the name used for a kind in every message; a number above 9 has the empty name.
constexpr std::string_view KindName(BindingKind kind) noexcept {
    constexpr std::array<std::string_view, 10> kNames = {
        "empty", "bool", "signed", "unsigned", "float", "string", "blob", "enum", "collection", "structure"};
    const auto index = static_cast<uint8_t>(kind);
    return index < kNames.size() ? kNames[index] : std::string_view();
}

}  // namespace Brix
