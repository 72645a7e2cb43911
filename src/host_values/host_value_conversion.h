// host_value_conversion.h - conversion between the generic value and the host's packed value cells.
#pragma once

#include <cstddef>
#include <string_view>

#include "abi/host_abi.h"
#include "binding/binding_property.h"
#include "binding/conversion_status.h"

namespace Brix {

class TypeRegistry;

// kMaxHostValueDepth is the deepest nesting FromHostValue accepts: the root cell is level 1, its
// elements and members level 2, and so on. A host block nested deeper is refused rather than walked,
// so that no block, however it was built, can exhaust the stack.
inline constexpr std::size_t kMaxHostValueDepth = 512;

// ToHostValue builds the cell of value, for the host. Empty, bool, signed, unsigned and float map to
// kinds 0 to 4; a string to kind 6 (an owned, NUL-terminated copy and its byte length); a blob to kind
// 8 (an owned copy); an enum to kind 6 holding its enumerator's name when registry is given and the
// enum type registered there has an enumerator with that number (the first in name order), otherwise
// to kind 2 holding the number; a collection to kind 9 with one cell per element, in order; a
// structure to kind 10 with one member per entry in the structure's own (name) order, each name an
// owned copy. Every block is allocated through the counting wrappers; ReleaseHostValue frees the cell.
//
// The conversion does not fail. Lengths and counts are 32-bit in a cell, so a text, blob, collection or
// structure beyond 4 GiB bytes or 2^32 - 1 entries is cut to that size. If memory runs out, the
// whole cell is released and comes back as kind 0.
[[nodiscard]] HostValue ToHostValue(const BindingProperty& value,
                                    const TypeRegistry* registry = nullptr) noexcept;

// FromHostValue reads a cell the host gave. Kinds 0 to 4 map back one to one; kinds 5 and 6 give a
// string read up to the first NUL (their length word is not read; a null text is the empty string);
// kinds 7 and 8 a blob of the stated length; kinds 9 and 10 a collection or a structure, elements and
// members read in order, where the first that fails ends the conversion with its message; a member
// name given twice keeps the later member's value alone (never the two merged). valueName
// names the value in the messages (the event dispatcher passes "<result>"). Failures:
//   - any other kind: "Couldn't assign value to '%1' of type object because the input is of an
//     incompatible type '%2'." with the cell's kind name (HostKindName), empty above 10;
//   - bytes, elements or members announced with a null address: "Couldn't assign value to '%1' of type
//     object because the input of type '%2' has no data for its length %3.";
//   - a member whose name is null: "Couldn't assign value to '%1' of type object because the input of
//     type 'structure' has a member without a name.";
//   - nesting deeper than kMaxHostValueDepth: "Couldn't assign value to '%1' of type object because
//     the input is nested deeper than %2 levels."
// The cell is only read; it stays owned by whoever gave it.
ConversionStatus FromHostValue(const HostValue& cell, std::string_view valueName);

}  // namespace Brix
