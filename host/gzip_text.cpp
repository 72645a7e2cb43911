// gzip_text.cpp - gzip compression over zlib's deflate.
#include "gzip_text.h"

#include <zlib.h>

namespace HuxHost {

namespace {

// kGzipWindowBits asks deflate for a gzip wrapper with a 32 KiB window.
constexpr int kGzipWindowBits = 31;
constexpr int kMemoryLevel = 8;

}  // namespace

std::vector<uint8_t> GzipText(std::string_view text) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, kGzipWindowBits, kMemoryLevel,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        return {};
    }
    std::vector<uint8_t> compressed(deflateBound(&stream, static_cast<uLong>(text.size())));
    // deflate does not write through its input pointer.
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));  // NOLINT
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = compressed.data();
    stream.avail_out = static_cast<uInt>(compressed.size());
    const int status = deflate(&stream, Z_FINISH);
    compressed.resize(status == Z_STREAM_END ? stream.total_out : 0);
    deflateEnd(&stream);
    return compressed;
}

}  // namespace HuxHost
