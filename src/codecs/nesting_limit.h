// nesting_limit.h - the deepest nesting of arrays and objects that the document readers accept.
#pragma once

#include <cstddef>
#include <string>

namespace Brix {

// kMaxNestingDepth is the number of containers (arrays, objects, maps, sequences) that may be open
// at once while a reader builds a value. No real document comes near it; it exists so that a hostile
// body of a few hundred thousand "[" is refused with a message instead of exhausting the stack or the
// memory of the host process. Every reader counts the same way: the root container is level 1.
inline constexpr std::size_t kMaxNestingDepth = 512;

// NestingTooDeepText is the shared description of a document that opens more than kMaxNestingDepth
// containers: "The document is nested deeper than 512 levels." Each reader frames it in its own error
// shape, the JSON reader for example as "Error: <text> at offset <n>.".
std::string NestingTooDeepText();

}  // namespace Brix
