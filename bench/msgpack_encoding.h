// msgpack_encoding.h - MessagePack bytes of a generic value, to give the benchmarks a document to read.
#pragma once

#include <string>

#include "binding/binding_property.h"

namespace Brix::Bench {

// EncodeMsgPack is the MessagePack encoding of value in the smallest form of each item, as common
// encoders write it: a non-negative number below 128 as a positive fixint, other integers in the
// narrowest int or uint form, floats as float 64, strings as str, blobs as bin, enums by their number,
// collections as arrays and structures as maps with string keys.
std::string EncodeMsgPack(const BindingProperty& value);

}  // namespace Brix::Bench
