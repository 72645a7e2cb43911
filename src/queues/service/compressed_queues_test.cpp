// compressed_queues_test.cpp - gzip inflation and the decoding of compressed queue lists.
#include "queues/service/compressed_queues.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "binding/base64.h"
#include "host_values/allocation_stats.h"
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

// LittleEndian is the four bytes of a gzip trailer's length field for length.
std::vector<uint8_t> LittleEndian(uint32_t length) {
    return {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8),
            static_cast<uint8_t>(length >> 16), static_cast<uint8_t>(length >> 24)};
}

std::vector<uint8_t> Joined(std::vector<uint8_t> first, const std::vector<uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

uint64_t Allocations() {
    return ReadMemoryStats().Counter(MemoryCounter::Allocations);
}

TEST(InflateGzip, InflatesIntoOneBlockSizedByTheTrailer) {
    const std::string text = LargeText();
    const std::vector<uint8_t> compressed = Deflate(text);
    InflatedBytes output;
    const uint64_t before = Allocations();
    ASSERT_EQ(InflateGzip(compressed, output), 0);
    EXPECT_EQ(Allocations() - before, 1u);
    EXPECT_EQ(output.Text(), text);
    EXPECT_EQ(output.Capacity(), text.size());

    // A larger first capacity asked for is given back once the text is in.
    InflatedBytes reserved(text.size() * 2);
    ASSERT_EQ(InflateGzip(compressed, reserved), 0);
    EXPECT_EQ(reserved.Text(), text);
    EXPECT_EQ(reserved.Capacity(), text.size());

    InflatedBytes nothing;
    const uint64_t beforeNothing = Allocations();
    ASSERT_EQ(InflateGzip(Deflate(""), nothing), 0);
    EXPECT_EQ(Allocations() - beforeNothing, 0u);
    EXPECT_EQ(nothing.Text(), "");
    EXPECT_EQ(nothing.Capacity(), 0u);
}

TEST(InflateGzip, ALengthAtTheEndThatIsWrongOnlyChangesTheFirstSize) {
    // Bytes after the member are ignored, so the last four bytes of the input need not be its trailer.
    const std::string text = LargeText();
    const std::vector<uint8_t> gzip = Deflate(text);
    const auto size = static_cast<uint32_t>(text.size());
    struct Case {
        const char* claim;
        std::vector<uint8_t> after;
    };
    const std::vector<Case> cases = {
        {"smaller", LittleEndian(10)},
        {"larger", LittleEndian(size + 70000)},
        {"zero", LittleEndian(0)},
        {"above the bound", LittleEndian(0xFFFFFFFF)},
        {"a second member's", Deflate("[]")},
    };
    for (const Case& test : cases) {
        InflatedBytes output;
        EXPECT_EQ(InflateGzip(Joined(gzip, test.after), output), 0) << test.claim;
        EXPECT_EQ(output.Text(), text) << test.claim;
        EXPECT_EQ(output.Capacity(), text.size()) << test.claim;
    }
    // A trailer that lies about the member it ends fails the inflater's own length check.
    std::vector<uint8_t> lying = gzip;
    lying[lying.size() - 4] ^= 0x01;
    InflatedBytes output;
    EXPECT_EQ(InflateGzip(lying, output), -3);
}

TEST(InflateGzip, NeverReservesMoreThanTheInputCouldInflateTo) {
    // A stream cut short keeps what it reserved, which shows the first size: a claim of 4 GiB is held
    // to 1032 bytes per input byte (deflate's largest ratio), and to the bound for a large input.
    const std::vector<uint8_t> gzip = Deflate(LargeText());
    const std::vector<uint8_t> small =
        Joined(std::vector<uint8_t>(gzip.begin(), gzip.begin() + 1000), LittleEndian(0xFFFFFFFF));
    InflatedBytes smallOutput;
    EXPECT_EQ(InflateGzip(small, smallOutput), -3);
    EXPECT_EQ(smallOutput.Capacity(), 1004u * 1032u);

    // Bytes that do not compress, so that the stream stays as large as the text.
    std::string noise;
    uint32_t state = 12345;
    for (int index = 0; index < 100000; ++index) {
        state = state * 1103515245u + 12345u;
        noise.push_back(static_cast<char>(state >> 24));
    }
    const std::vector<uint8_t> noisy = Deflate(noise);
    ASSERT_GT(noisy.size(), 70000u);
    const std::vector<uint8_t> large =
        Joined(std::vector<uint8_t>(noisy.begin(), noisy.begin() + 70000), LittleEndian(0xFFFFFFFF));
    InflatedBytes largeOutput;
    EXPECT_EQ(InflateGzip(large, largeOutput), -3);
    EXPECT_EQ(largeOutput.Capacity(), kMaxInflatedBytes);
}

TEST(InflateGzip, RefusesWhatIsNotOneWholeGzipStream) {
    const std::vector<uint8_t> gzip = Deflate(LargeText());
    std::vector<uint8_t> corrupt = gzip;
    corrupt[gzip.size() / 2] ^= 0xFF;
    const std::vector<std::vector<uint8_t>> refused = {
        std::vector<uint8_t>(gzip.begin(), gzip.begin() + static_cast<std::ptrdiff_t>(gzip.size() / 2)),
        {},
        Deflate("[]", 15),
        {'[', ']'},
        corrupt};
    for (const std::vector<uint8_t>& input : refused) {
        InflatedBytes output;
        EXPECT_EQ(InflateGzip(input, output), -3) << input.size() << " bytes";
    }
}

TEST(InflateGzip, StopsAtTheBoundOnInflatedBytesAndReleasesTheBuffer) {
    const std::vector<uint8_t> full = Deflate(std::string(kMaxInflatedBytes, '\0'));
    InflatedBytes atBound(4096);
    ASSERT_EQ(InflateGzip(full, atBound), 0);
    EXPECT_EQ(atBound.Length(), kMaxInflatedBytes);
    EXPECT_EQ(atBound.Capacity(), kMaxInflatedBytes);
    // Cut inside its trailer, the same stream is corrupt rather than too large.
    InflatedBytes cut;
    EXPECT_EQ(InflateGzip(std::span<const uint8_t>(full).first(full.size() - 3), cut), -3);
    EXPECT_EQ(cut.Length(), kMaxInflatedBytes);

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
}

}  // namespace
}  // namespace Brix::Client::GameQueues
