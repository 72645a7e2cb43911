// json_reader.h - reading JSON text into a generic value.
#pragma once

#include <string_view>

#include "binding/conversion_status.h"

namespace Brix::Json {

// Read parses one JSON document into a value.
//
// Leading white space (space, tab, line feed, carriage return) is skipped; a text that is empty or
// blank reads as ok and empty. Otherwise the text must hold exactly one strict JSON document, which
// maps as: null -> empty, true/false -> bool, an integer without minus sign that fits 64 bits ->
// unsigned (5 reads as unsigned 5), a negative integer that fits 64 bits -> signed, any other number
// -> float, string -> string (NUL bytes kept), array -> collection, object -> structure. A member name
// given twice in one object fills the same member again: a later scalar replaces the earlier value,
// a later array appends to an earlier array and a later object merges into an earlier object.
//
// Numbers are read exactly (see ReadNumber): a float is the nearest double to its text, and a number
// beyond the range of a double fails with "Number too big to be stored in double." at the number's
// offset. Strings and member names must be valid UTF-8 ("Invalid encoding in string.") and their
// escapes must not leave half of a surrogate pair, high or low ("The surrogate pair in string is
// invalid." at the offset of the escape).
//
// A malformed text fails with "Error: <reason> at offset <n>.", where the reason is the parser's
// English message and n the byte offset of the error; no partial value is kept. A document with more than
// kMaxNestingDepth open arrays and objects fails with the reason NestingTooDeepText() at the offset
// of the bracket that opens the level too many.
ConversionStatus Read(std::string_view text);

}  // namespace Brix::Json
