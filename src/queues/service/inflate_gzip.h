// inflate_gzip.h - inflating a gzip stream into a buffer sized from its trailer, with zlib's status codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace Brix::Client::GameQueues {

// InflatedBytes owns the output of InflateGzip: a block from the counting allocator, the number of
// bytes written to it and its capacity.
class InflatedBytes {
public:
    InflatedBytes() = default;
    // InflatedBytes(initialCapacity) asks InflateGzip to reserve at least initialCapacity bytes at first.
    explicit InflatedBytes(std::size_t initialCapacity) : capacity(initialCapacity) {}
    InflatedBytes(const InflatedBytes&) = delete;
    InflatedBytes& operator=(const InflatedBytes&) = delete;
    ~InflatedBytes();

    std::string_view Text() const noexcept { return {data, length}; }
    std::size_t Length() const noexcept { return length; }
    std::size_t Capacity() const noexcept { return capacity; }

private:
    friend int InflateGzip(std::span<const uint8_t> input, InflatedBytes& output) noexcept;

    // Resize makes the block size bytes long (allocating it when there is none), keeping the bytes
    // written; false when out of memory, with the block unchanged.
    bool Resize(std::size_t size) noexcept;

    // Release gives the block back and leaves the output empty.
    void Release() noexcept;

    char* data = nullptr;
    std::size_t length = 0;
    std::size_t capacity = 0;
};

// kMaxInflatedBytes bounds what one compressed answer may inflate to: far above any real queue list (a
// few hundred KiB), low enough that a small hostile answer cannot take the host's memory.
inline constexpr std::size_t kMaxInflatedBytes = std::size_t{64} << 20;

// kInflateWindow is the least room the output grows by when more bytes come than the gzip trailer
// promised.
inline constexpr std::size_t kInflateWindow = 16384;

// InflateGzip inflates one gzip member (window bits 31: a zlib or raw deflate stream is refused) from
// input into output, straight into a buffer sized once from the length the gzip trailer gives (the
// last four bytes of input, the length modulo 2^32). The trailer is not trusted: the first size is at
// most kMaxInflatedBytes and at most what deflate data of the input's size can inflate to, and at
// least the capacity the output had on entry. When more bytes come, the buffer doubles (by at least
// kInflateWindow, up to kMaxInflatedBytes); when fewer come, it is shrunk to them on success.
//
// It returns 0 when the stream ended properly; -3 for a corrupt, truncated or empty input, a stream
// error or a stream that needs a dictionary; -4 when memory runs out or the stream inflates to more
// than kMaxInflatedBytes; or the failing status of the inflater's initialisation. Bytes after the end
// of the gzip member are ignored. On -4 the output is released and empty; on any other status it
// holds the bytes produced so far.
int InflateGzip(std::span<const uint8_t> input, InflatedBytes& output) noexcept;

}  // namespace Brix::Client::GameQueues
