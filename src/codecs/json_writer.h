// json_writer.h - writing a generic value as JSON text, compact or pretty.
#pragma once

#include <string>
#include <string_view>

#include "binding/binding_property.h"

namespace Brix {
class TypeRegistry;
}

namespace Brix::Json {

// Write is the JSON text of value. An empty root writes the empty text (not null). With an empty
// lineBreak the text is compact, without any white space; otherwise it is pretty, one element or
// member per line, indented by 4 spaces per level, each line ended by lineBreak (a line feed inside a
// string is escaped and stays as it is).
//
// Kinds map as: empty -> null, bool, signed and unsigned -> integers, float -> the shortest text that
// reads back as the same double (NaN and infinities, which JSON cannot hold, -> null), string ->
// escaped string, blob -> Base64 string, enum -> the enumerator's name when registry is given and
// knows one for the number (the first in ascending name order), else its number; collection ->
// array; structure -> object with the members in ascending byte order of their names.
std::string Write(const BindingProperty& value, const TypeRegistry* registry = nullptr,
                  std::string_view lineBreak = {});

}  // namespace Brix::Json
