// msgpack_reader.h - reading MessagePack bytes into a generic value.
#pragma once

#include <cstddef>
#include <string_view>

#include "binding/conversion_status.h"

namespace Brix::MsgPack {

// Read decodes one MessagePack value from bytes. consumed (optional) receives the number of bytes used,
// so that a caller can refuse trailing data.
//
// Types: positive fixint -> signed (0x05 reads as signed 5), negative fixint and int 8..64 -> signed,
// uint 8..64 -> unsigned, float 32/64 -> float, nil -> empty, true/false -> bool, str -> string (bytes
// kept as they are), bin -> blob, array -> collection, map -> structure. Map keys must be strings.
// 0xC1 and the ext types (ext 8/16/32, fixext 1..16) are refused.
//
// A key repeated in one map fills the same member again: a scalar replaces what it held, a map merges
// its members into an earlier map and an array overwrites an earlier array's elements from index 0,
// keeping any further ones.
//
// End of input. The read stops once the root value is complete, and bytes after it are not looked
// at: Read itself accepts them and consumed tells where the root value ended, so a caller that wants
// the whole input to be one value compares consumed with the input's size. Input that ends between
// two items ends the read without an error (0x92 0x01 reads as a collection of one element, and
// consumed is 2). On failure consumed receives the offset at which reading stopped.
//
// Failures carry the byte offset (from 0) where they were found: "Invalid MessagePack data at position
// <n>." for a type byte that is not accepted and "Invalid MessagePack data at position <n>. Map keys
// must be strings." for another key type (n just after the type byte); "Invalid MessagePack data. String
// of size <s> at position <n> is truncated." and "... Raw bytes of size <s> at position <n> are
// truncated." for a payload longer than the bytes left (n where the payload starts); "Invalid
// MessagePack data. <8|16|32|64>-bit integer value at position <n> is truncated." for a length, number
// or float cut short (n where it starts). Every declared length is checked against the bytes left
// before anything is allocated for it. A value with more than kMaxNestingDepth open arrays and maps
// fails with "Invalid MessagePack data at position <n>. " followed by NestingTooDeepText(), n just after
// the type byte of the container one level too deep.
ConversionStatus Read(std::string_view bytes, std::size_t* consumed = nullptr);

}  // namespace Brix::MsgPack
