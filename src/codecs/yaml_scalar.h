// yaml_scalar.h - the value of one YAML scalar, by its tag, its quoting and its text.
#pragma once

#include <string>
#include <string_view>

#include "binding/binding_property.h"

namespace Brix::Yaml {

// kStringTag and its siblings are the resolved forms of the tags !!str, !!int, !!float and !!bool.
inline constexpr std::string_view kStringTag = "tag:yaml.org,2002:str";
inline constexpr std::string_view kIntTag = "tag:yaml.org,2002:int";
inline constexpr std::string_view kFloatTag = "tag:yaml.org,2002:float";
inline constexpr std::string_view kBoolTag = "tag:yaml.org,2002:bool";

// StoreScalar stores the value of a scalar in target, replacing what it held. tag is the scalar's
// resolved tag, empty when it has none; quoted tells a single- or double-quoted scalar.
//
// - !!str: the text as a string.
// - !!int: a text starting with "-" as a signed 64-bit number, any other as an unsigned one (C-style
//   automatic base). A text that is not a number fails with "Value <text> for 'yaml' of type int64_t
//   is in an incorrect format" (uint64_t for the unsigned form), one that does not fit with "... is
//   out of range".
// - !!float: a decimal floating-point text, with the same messages for the type double; infinities
//   and NaN are out of range.
// - !!bool: true/True/TRUE or false/False/FALSE as a bool; any other text leaves target empty.
// - any other tag fails with "Unsupported YAML tag '<tag>'.".
// - no tag: a quoted scalar is a string; any other is typed by StorePlainScalar.
// On failure false is returned, error holds the message and target is left as it was.
bool StoreScalar(BindingProperty& target, std::string_view tag, std::string_view text, bool quoted,
                 std::string& error);

// StorePlainScalar types an untagged, unquoted scalar, in this order:
// 1. "", "~", "null", "Null", "NULL": empty.
// 2. A text that the C library's floating-point parser (in the "C" locale, whatever the process's
//    locale) consumes entirely, with a finite result: a float when the result has a fractional part
//    or is NaN; otherwise a signed number when negative and an unsigned number when not, so 1e3 is
//    unsigned 1000 and 1.0 unsigned 1. A text of decimal digits (with an optional sign) that fits 64
//    bits is read exactly, not through a double, so 9007199254740993 keeps its last digit; a whole
//    number that fits neither 64-bit range stays a float rather than being cut.
// 3. true/True/TRUE, false/False/FALSE: bool.
// 4. Anything else (inf and .inf included): string.
void StorePlainScalar(BindingProperty& target, std::string_view text);

}  // namespace Brix::Yaml
