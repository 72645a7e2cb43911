// compressed_answer_peer.h - reading a compressed queue answer the plain way: Base64, zlib, RapidJSON.
#pragma once

#include <string>
#include <string_view>

#include "bench/counting_rapidjson_allocator.h"

namespace Brix::Bench {

// DecodePlainBase64 is the bytes of a standard Base64 text, decoded four characters at a time through
// a table; like the plugin's decoder it stops at the first "=" or character outside the alphabet.
std::string DecodePlainBase64(std::string_view text);

// InflateSized inflates one gzip stream into out in a single zlib call, sizing out once from the
// stream's trailer (the inflated length modulo 2^32, as gzip stores it); a trailer that undersells
// the stream makes it grow out and go on, up to 64 MiB. False for a stream that does not inflate.
bool InflateSized(std::string_view gzip, std::string& out);

// ReadCompressedAnswer decodes, inflates and parses an answer of "getAllQueuesCompressed" into
// document; false when any step fails.
bool ReadCompressedAnswer(std::string_view answer, PeerDocument& document);

}  // namespace Brix::Bench
