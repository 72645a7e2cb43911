// inflate_gzip.cpp - gzip inflation over zlib in fixed windows, into a buffer that doubles.
#include "queues/service/inflate_gzip.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "abi/allocation_stats.h"

namespace Brix::Client::GameQueues {

namespace {

// kGzipWindowBits asks for a gzip wrapper around a deflate stream with a 32 KiB window.
constexpr int kGzipWindowBits = 31;
// kRequestedZlibVersion is the library version the inflater is initialised for.
constexpr const char* kRequestedZlibVersion = "1.2.8";

// GrownCapacity doubles size until needed fits, but never past kMaxInflatedBytes (needed never is).
std::size_t GrownCapacity(std::size_t size, std::size_t needed) noexcept {
    while (size < needed) {
        size = size > kMaxInflatedBytes / 2 ? kMaxInflatedBytes : size * 2;
    }
    return size;
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

bool InflatedBytes::Append(const uint8_t* bytes, std::size_t count) noexcept {
    if (count == 0) {
        return true;
    }
    if (count > kMaxInflatedBytes - length) {
        return false;
    }
    const std::size_t needed = length + count;
    if (data == nullptr) {
        const std::size_t size = GrownCapacity(capacity != 0 ? capacity : count, needed);
        data = static_cast<char*>(CountedAllocate(size));
        if (data == nullptr) {
            return false;
        }
        capacity = size;
    } else if (needed > capacity) {
        const std::size_t size = GrownCapacity(capacity, needed);
        auto* grown = static_cast<char*>(CountedResize(data, size));
        if (grown == nullptr) {
            return false;
        }
        data = grown;
        capacity = size;
    }
    std::memcpy(data + length, bytes, count);
    length = needed;
    return true;
}

int InflateGzip(std::span<const uint8_t> input, InflatedBytes& output) noexcept {
    z_stream stream{};
    const int initialised =
        inflateInit2_(&stream, kGzipWindowBits, kRequestedZlibVersion, static_cast<int>(sizeof(z_stream)));
    if (initialised != Z_OK) {
        return initialised;
    }
    if (output.capacity != 0 && output.data == nullptr) {
        output.capacity = std::min(output.capacity, kMaxInflatedBytes);
        output.data = static_cast<char*>(CountedAllocate(output.capacity));
        if (output.data == nullptr) {
            inflateEnd(&stream);
            return Z_MEM_ERROR;
        }
    }

    std::array<uint8_t, kInflateWindow> window{};
    int status = Z_OK;
    std::size_t offset = 0;
    while (offset < input.size()) {
        const std::size_t chunk = std::min(kInflateWindow, input.size() - offset);
        // zlib's input pointer is not const, but inflate never writes through it.
        stream.next_in =
            const_cast<Bytef*>(input.data() + offset);  // NOLINT(cppcoreguidelines-pro-type-const-cast)
        stream.avail_in = static_cast<uInt>(chunk);
        offset += chunk;
        do {
            stream.next_out = window.data();
            stream.avail_out = static_cast<uInt>(window.size());
            status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_STREAM_ERROR || status == Z_NEED_DICT) {
                // The stream is ended on every early return, so that zlib's state is never left behind.
                inflateEnd(&stream);
                return Z_DATA_ERROR;
            }
            if (status == Z_DATA_ERROR) {
                inflateEnd(&stream);
                return status;
            }
            const std::size_t produced = window.size() - stream.avail_out;
            if (status == Z_MEM_ERROR || !output.Append(window.data(), produced)) {
                inflateEnd(&stream);
                output.Release();
                return Z_MEM_ERROR;
            }
        } while (stream.avail_out == 0);
        if (status == Z_STREAM_END) {
            break;
        }
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? Z_OK : Z_DATA_ERROR;
}

}  // namespace Brix::Client::GameQueues
