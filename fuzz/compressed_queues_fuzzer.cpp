// compressed_queues_fuzzer.cpp - Base64 decoding and gzip inflation of arbitrary and of well-formed input.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "binding/base64.h"
#include "fuzz/fuzz_support.h"
#include "queues/service/compressed_queues.h"
#include "queues/service/inflate_gzip.h"

namespace {

using namespace Brix;
using Client::GameQueues::InflatedBytes;
using Client::GameQueues::InflateGzip;

std::span<const uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

struct Inflated {
    int status;
    std::string text;
};

Inflated Inflate(std::string_view input, std::size_t initialCapacity) {
    InflatedBytes output(initialCapacity);
    const int status = InflateGzip(Bytes(input), output);
    Fuzz::Check(output.Length() <= output.Capacity(), "the output fits its capacity");
    return {status, std::string(output.Text())};
}

// Gzip is the gzip member of text at the given zlib level (0 stores it uncompressed).
std::string Gzip(std::string_view text, int level) {
    z_stream stream{};
    Fuzz::Check(deflateInit2(&stream, level, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) == Z_OK,
                "deflate starts");
    std::string out(deflateBound(&stream, text.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    Fuzz::Check(deflate(&stream, Z_FINISH) == Z_STREAM_END, "deflate finishes");
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// CheckArbitrary inflates input as it is: whatever the first capacity, the status and the bytes are
// the same; and the Base64 path takes any text.
void CheckArbitrary(std::string_view input) {
    const Inflated sized = Inflate(input, 2 * input.size());
    const Inflated growing = Inflate(input, 0);
    const Inflated tiny = Inflate(input, 1);
    Fuzz::Check(sized.status == growing.status && sized.status == tiny.status,
                "the status does not depend on the first capacity");
    Fuzz::Check(sized.text == growing.text && sized.text == tiny.text,
                "the bytes do not depend on the first capacity");
    const MaybeType<std::string> decoded = Client::GameQueues::DecodeCompressedQueues(input);
    if (!decoded) {
        Fuzz::Check(decoded.Error().StatusCode() == 500, "a failed decoding is an internal error");
    }
}

// CheckRoundTrip gzips a text made of input (its first byte picks the level and how often the rest is
// repeated, so that streams cross the inflation windows) and checks that it inflates to that text,
// with bytes after the member ignored, and that every shorter prefix of the stream is refused.
void CheckRoundTrip(std::string_view input) {
    if (input.empty()) {
        return;
    }
    const auto control = static_cast<unsigned char>(input.front());
    const std::string_view piece = input.substr(1);
    std::string text;
    for (unsigned repeat = 0; repeat <= control / 10 % 16; ++repeat) {
        text += piece;
    }
    const std::string gzip = Gzip(text, static_cast<int>(control % 10));

    const Inflated whole = Inflate(gzip, 2 * gzip.size());
    Fuzz::Check(whole.status == 0, "a gzip member inflates");
    Fuzz::Check(whole.text == text, "a gzip member inflates to its text");
    Fuzz::Check(Inflate(gzip, 0).text == text, "a gzip member inflates from no capacity");
    Fuzz::Check(Inflate(gzip + std::string(piece), 1).text == text, "bytes after the member are ignored");

    const std::string answer = Base64Encode(Bytes(gzip));
    const MaybeType<std::string> decoded = Client::GameQueues::DecodeCompressedQueues(answer);
    Fuzz::Check(decoded.HasValue() && decoded.Value() == text, "the Base64 answer decodes to its text");

    for (std::size_t cut : {gzip.size() - 1, gzip.size() / 2, std::size_t{10}}) {
        if (cut < gzip.size()) {
            Fuzz::Check(Inflate(std::string_view(gzip).substr(0, cut), 0).status == -3,
                        "a stream cut short is refused as corrupt");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Fuzz::QuietLogger();
    const std::string_view input = Fuzz::Text(data, size);
    CheckArbitrary(input);
    CheckRoundTrip(input);
    return 0;
}
