// compressed_queues.cpp - Base64 decoding and gzip inflation of the compressed queue list.
#include "queues/service/compressed_queues.h"

#include <cstdint>
#include <vector>

#include "binding/base64.h"
#include "logging/message_formatter.h"
#include "queues/service/inflate_gzip.h"

namespace Brix::Client::GameQueues {

MaybeType<std::string> DecodeCompressedQueues(std::string_view answer) {
    const std::vector<uint8_t> compressed = Base64Decode(answer);
    InflatedBytes inflated;
    const int status = InflateGzip(compressed, inflated);
    if (status != 0) {
        return Failure(FormatMessage("Decompression failed: %1", status), 500);
    }
    return std::string(inflated.Text());
}

}  // namespace Brix::Client::GameQueues
