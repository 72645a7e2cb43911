// compressed_queues_test.cpp - gzip inflation and the decoding of compressed queue lists.
#include "queues/service/compressed_queues.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "binding/base64.h"
#include "queues/service/inflate_gzip.h"

namespace Brix::Client::GameQueues {
namespace {

// Deflate compresses text with the given window bits: 31 for gzip, 15 for a zlib stream.
std::vector<uint8_t> Deflate(std::string_view text, int windowBits = 31) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(text.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));  // NOLINT
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string Base64(const std::vector<uint8_t>& bytes) {
    return Base64Encode(bytes);
}

// LargeText is a few hundred KiB that compress well, so that inflation runs through many windows.
std::string LargeText() {
    std::string text = "[";
    for (int index = 0; index < 20000; ++index) {
        text += "{\"id\":" + std::to_string(index) + ",\"type\":\"NORMAL\"},";
    }
    text.back() = ']';
    return text;
}

TEST(InflateGzip, InflatesThroughManyWindowsAndDoublesItsBuffer) {
    const std::string text = LargeText();
    const std::vector<uint8_t> compressed = Deflate(text);
    InflatedBytes output(compressed.size() * 2);
    ASSERT_EQ(InflateGzip(compressed, output), 0);
    EXPECT_EQ(output.Text(), text);
    // The capacity doubled from twice the compressed size until the text fitted.
    std::size_t expected = compressed.size() * 2;
    while (expected < text.size()) {
        expected *= 2;
    }
    EXPECT_EQ(output.Capacity(), expected);

    InflatedBytes unreserved;
    ASSERT_EQ(InflateGzip(Deflate("abc"), unreserved), 0);
    EXPECT_EQ(unreserved.Text(), "abc");
    EXPECT_EQ(unreserved.Capacity(), 3u);
}

TEST(InflateGzip, RefusesWhatIsNotOneWholeGzipStream) {
    const std::vector<uint8_t> gzip = Deflate(LargeText());
    std::vector<uint8_t> truncated(gzip.begin(), gzip.begin() + static_cast<std::ptrdiff_t>(gzip.size() / 2));
    std::vector<uint8_t> trailing = Deflate("[]");
    trailing.insert(trailing.end(), {'x', 'y', 'z'});
    std::vector<uint8_t> corrupt = gzip;
    corrupt[gzip.size() / 2] ^= 0xFF;
    const std::vector<uint8_t> plainText = {'[', ']'};

    InflatedBytes output;
    EXPECT_EQ(InflateGzip(truncated, output), -3);
    InflatedBytes empty;
    EXPECT_EQ(InflateGzip({}, empty), -3);
    InflatedBytes zlib;
    EXPECT_EQ(InflateGzip(Deflate("[]", 15), zlib), -3);
    InflatedBytes text;
    EXPECT_EQ(InflateGzip(plainText, text), -3);
    InflatedBytes damaged;
    EXPECT_EQ(InflateGzip(corrupt, damaged), -3);
    // Bytes after the end of the gzip member are ignored.
    InflatedBytes withTrailing;
    EXPECT_EQ(InflateGzip(trailing, withTrailing), 0);
    EXPECT_EQ(withTrailing.Text(), "[]");
}

TEST(InflateGzip, StopsAtTheBoundOnInflatedBytesAndReleasesTheBuffer) {
    InflatedBytes atBound(4096);
    ASSERT_EQ(InflateGzip(Deflate(std::string(kMaxInflatedBytes, '\0')), atBound), 0);
    EXPECT_EQ(atBound.Length(), kMaxInflatedBytes);
    EXPECT_EQ(atBound.Capacity(), kMaxInflatedBytes);

    const std::vector<uint8_t> bomb = Deflate(std::string(kMaxInflatedBytes + 1, '\0'));
    EXPECT_LT(bomb.size(), 100'000u);
    InflatedBytes past(bomb.size() * 2);
    EXPECT_EQ(InflateGzip(bomb, past), -4);
    EXPECT_EQ(past.Length(), 0u);
    EXPECT_EQ(past.Capacity(), 0u);
    EXPECT_EQ(DecodeCompressedQueues(Base64(bomb)).Error().Message(), "Decompression failed: -4");
}

TEST(DecodeCompressedQueues, DecodesBase64OfGzipOrFailsWithTheZlibStatus) {
    auto decoded = DecodeCompressedQueues(Base64(Deflate("[]")));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded.Value(), "[]");

    const std::vector<uint8_t> gzip = Deflate(LargeText());
    const std::string text = Base64(std::vector<uint8_t>(gzip.begin(), gzip.end() - 20));
    auto truncated = DecodeCompressedQueues(text);
    ASSERT_FALSE(truncated);
    EXPECT_EQ(truncated.Error().Message(), "Decompression failed: -3");
    EXPECT_EQ(truncated.Error().StatusCode(), 500);

    // A line break ends the Base64 text, so only the first part of the stream is inflated.
    std::string broken = Base64(gzip);
    broken.insert(broken.size() / 2, "\n");
    EXPECT_EQ(DecodeCompressedQueues(broken).Error().Message(), "Decompression failed: -3");
    EXPECT_EQ(DecodeCompressedQueues(Base64(Deflate("[]", 15))).Error().Message(),
              "Decompression failed: -3");
}

}  // namespace
}  // namespace Brix::Client::GameQueues
