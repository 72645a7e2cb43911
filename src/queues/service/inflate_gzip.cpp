// inflate_gzip.cpp - gzip inflation over zlib, straight into a buffer sized from the gzip trailer.
#include "queues/service/inflate_gzip.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "host_values/allocation_stats.h"

namespace Brix::Client::GameQueues {

namespace {

// kGzipWindowBits asks for a gzip wrapper around a deflate stream with a 32 KiB window.
constexpr int kGzipWindowBits = 31;
// kRequestedZlibVersion is the library version the inflater is initialised for.
constexpr const char* kRequestedZlibVersion = "1.2.8";
// kTrailerLengthBytes is the size of the trailer's length field, the last field of a gzip member.
constexpr std::size_t kTrailerLengthBytes = 4;
// kMaxDeflateRatio is the most that deflate data can grow by when inflated: a 258-byte match coded in
// two bits.
constexpr std::size_t kMaxDeflateRatio = 1032;
// kMaxInflateInput is the most input handed to the inflater in one call, whose count is 32 bits.
constexpr std::size_t kMaxInflateInput = std::numeric_limits<uInt>::max();

// ClaimedLength is the length that the trailer of input claims, if input ends with one: the last four
// bytes, little-endian.
std::size_t ClaimedLength(std::span<const uint8_t> input) noexcept {
    if (input.size() < kTrailerLengthBytes) {
        return 0;
    }
    const std::span<const uint8_t> field = input.last(kTrailerLengthBytes);
    return std::size_t{field[0]} | std::size_t{field[1]} << 8 | std::size_t{field[2]} << 16 |
           std::size_t{field[3]} << 24;
}

// FirstCapacity is the size to reserve before inflating input: what the trailer claims, but no more
// than kMaxInflatedBytes and than what deflate data of the input's size can inflate to.
std::size_t FirstCapacity(std::span<const uint8_t> input) noexcept {
    const std::size_t possible = input.size() > kMaxInflatedBytes / kMaxDeflateRatio
                                     ? kMaxInflatedBytes
                                     : input.size() * kMaxDeflateRatio;
    return std::min(ClaimedLength(input), possible);
}

// GrownCapacity is the next capacity after size: twice as much, at least kInflateWindow, never past
// kMaxInflatedBytes.
std::size_t GrownCapacity(std::size_t size) noexcept {
    return size > kMaxInflatedBytes / 2 ? kMaxInflatedBytes : std::max(size * 2, kInflateWindow);
}

}  // namespace

InflatedBytes::~InflatedBytes() {
    CountedRelease(data);
}

void InflatedBytes::Release() noexcept {
    CountedRelease(data);
    data = nullptr;
    length = 0;
    capacity = 0;
}

bool InflatedBytes::Resize(std::size_t size) noexcept {
    auto* resized = static_cast<char*>(data == nullptr ? CountedAllocate(size) : CountedResize(data, size));
    if (resized == nullptr) {
        return false;
    }
    data = resized;
    capacity = size;
    return true;
}

int InflateGzip(std::span<const uint8_t> input, InflatedBytes& output) noexcept {
    z_stream stream{};
    const int initialised =
        inflateInit2_(&stream, kGzipWindowBits, kRequestedZlibVersion, static_cast<int>(sizeof(z_stream)));
    if (initialised != Z_OK) {
        return initialised;
    }
    // The stream is ended on every return, so that zlib's state is never left behind; on running out
    // of memory or past the bound the output goes too.
    auto fail = [&stream, &output](int status) {
        inflateEnd(&stream);
        if (status == Z_MEM_ERROR) {
            output.Release();
        }
        return status;
    };

    const std::size_t first =
        std::min(std::max(output.capacity, output.length + FirstCapacity(input)), kMaxInflatedBytes);
    if ((output.data == nullptr && first != 0) || first > output.capacity) {
        if (!output.Resize(first)) {
            inflateEnd(&stream);
            return Z_MEM_ERROR;
        }
    }

    // spare is where the inflater points while the output has no room at all: it may still read a
    // header, an empty block or the trailer.
    Bytef spare = 0;
    std::size_t handedOver = 0;
    int status = Z_OK;
    while (true) {
        if (stream.avail_in == 0 && handedOver < input.size()) {
            const std::size_t chunk = std::min(kMaxInflateInput, input.size() - handedOver);
            // zlib's input pointer is not const, but inflate never writes through it.
            stream.next_in = const_cast<Bytef*>(input.data() +
                                                handedOver);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
            stream.avail_in = static_cast<uInt>(chunk);
            handedOver += chunk;
        }
        stream.next_out =
            output.data != nullptr ? reinterpret_cast<Bytef*>(output.data + output.length) : &spare;
        stream.avail_out = static_cast<uInt>(output.capacity - output.length);
        status = inflate(&stream, Z_NO_FLUSH);
        output.length = output.capacity - stream.avail_out;

        if (status == Z_STREAM_END) {
            break;
        }
        if (status == Z_STREAM_ERROR || status == Z_NEED_DICT) {
            return fail(Z_DATA_ERROR);
        }
        if (status == Z_DATA_ERROR || status == Z_MEM_ERROR) {
            return fail(status);
        }
        // Z_OK or Z_BUF_ERROR: the inflater stopped for want of room or of input (Z_BUF_ERROR when it
        // could do nothing at all).
        const bool inputLeft = stream.avail_in != 0 || handedOver < input.size();
        if (stream.avail_out == 0) {
            if (output.capacity < kMaxInflatedBytes) {
                if (!output.Resize(GrownCapacity(output.capacity))) {
                    return fail(Z_MEM_ERROR);
                }
                continue;
            }
            // At the bound only the end of the stream may still come, which needs no room: input that
            // cannot be taken without room inflates to more than the bound.
            if (status == Z_OK) {
                continue;
            }
            if (inputLeft) {
                return fail(Z_MEM_ERROR);
            }
            break;
        }
        if (status == Z_BUF_ERROR || !inputLeft) {
            break;
        }
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END) {
        return Z_DATA_ERROR;
    }
    // A trailer that claimed too much leaves room behind; a failed shrink keeps the larger block.
    if (output.length == 0) {
        output.Release();
    } else if (output.length < output.capacity) {
        output.Resize(output.length);
    }
    return Z_OK;
}

}  // namespace Brix::Client::GameQueues
