// compressed_queues.h - decoding the matchmaker's compressed queue list: Base64, then gzip.
#pragma once

#include <string>
#include <string_view>

#include "binding/maybe_type.h"

namespace Brix::Client::GameQueues {

// DecodeCompressedQueues turns the answer of "getAllQueuesCompressed" into the JSON text it carries:
// the answer is decoded as Base64 (which never fails) and the bytes are inflated as gzip into a
// buffer sized from the gzip trailer (see InflateGzip). A stream that does not inflate fails with
// status 500 and "Decompression failed: <zlib status>".
MaybeType<std::string> DecodeCompressedQueues(std::string_view answer);

}  // namespace Brix::Client::GameQueues
