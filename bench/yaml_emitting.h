// yaml_emitting.h - block-style YAML text of a generic value, to give the benchmarks a document to read.
#pragma once

#include <string>

#include "binding/binding_property.h"

namespace Brix::Bench {

// EmitYaml is value as a block-style YAML document, the way people and common emitters write one:
// mappings and sequences one item per line, indented by two spaces, a mapping inside a sequence
// starting on the line of its "-". Strings are double-quoted (so that "ON" or "123" stay strings),
// member names are plain when they are made of letters, digits and "_", numbers and booleans are plain,
// an empty value is null, an empty collection [] and an empty structure {}. Blobs are written as
// their Base64 text and enums as their number.
std::string EmitYaml(const BindingProperty& value);

}  // namespace Brix::Bench
