// compressed_answer_peer.cpp - the plain reader of a compressed queue answer.
#include "bench/compressed_answer_peer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace Brix::Bench {

namespace {

constexpr uint8_t kNotBase64 = 0xFF;
constexpr std::size_t kMaxTrustedLength = std::size_t{64} << 20;
constexpr std::size_t kGrowthStep = 16384;

constexpr std::array<uint8_t, 256> MakeBase64Table() {
    std::array<uint8_t, 256> table{};
    table.fill(kNotBase64);
    constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<uint8_t>(i);
    }
    return table;
}

constexpr std::array<uint8_t, 256> kBase64Table = MakeBase64Table();

}  // namespace

std::string DecodePlainBase64(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && kBase64Table[static_cast<unsigned char>(text[length])] != kNotBase64) {
        ++length;
    }
    std::string out;
    out.reserve(length / 4 * 3 + 2);
    const auto sextet = [&](std::size_t i) {
        return uint32_t{kBase64Table[static_cast<unsigned char>(text[i])]};
    };
    std::size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        const uint32_t group = sextet(i) << 18 | sextet(i + 1) << 12 | sextet(i + 2) << 6 | sextet(i + 3);
        out += static_cast<char>(group >> 16);
        out += static_cast<char>((group >> 8) & 0xFF);
        out += static_cast<char>(group & 0xFF);
    }
    const std::size_t left = length - i;
    if (left >= 2) {
        uint32_t group = sextet(i) << 18 | sextet(i + 1) << 12;
        if (left == 3) {
            group |= sextet(i + 2) << 6;
        }
        out += static_cast<char>(group >> 16);
        if (left == 3) {
            out += static_cast<char>((group >> 8) & 0xFF);
        }
    }
    return out;
}

bool InflateSized(std::string_view gzip, std::string& out) {
    std::size_t expected = 0;
    if (gzip.size() >= 4) {
        for (std::size_t i = 0; i < 4; ++i) {
            expected |= std::size_t{static_cast<unsigned char>(gzip[gzip.size() - 4 + i])} << (8 * i);
        }
    }
    out.resize(std::min(expected, kMaxTrustedLength));
    z_stream stream{};
    if (inflateInit2(&stream, 31) != Z_OK) {
        return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gzip.data()));
    stream.avail_in = static_cast<uInt>(gzip.size());
    int status = Z_OK;
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + stream.total_out);
        stream.avail_out = static_cast<uInt>(out.size() - stream.total_out);
        status = inflate(&stream, Z_FINISH);
        if (status != Z_BUF_ERROR || stream.avail_out != 0 || out.size() >= kMaxTrustedLength) {
            break;
        }
        out.resize(std::min(std::max(out.size() * 2, kGrowthStep), kMaxTrustedLength));
    }
    out.resize(stream.total_out);
    inflateEnd(&stream);
    return status == Z_STREAM_END;
}

bool ReadCompressedAnswer(std::string_view answer, PeerDocument& document) {
    const std::string gzip = DecodePlainBase64(answer);
    std::string json;
    if (!InflateSized(gzip, json)) {
        return false;
    }
    document.Parse<rapidjson::kParseDefaultFlags>(json.data(), json.size());
    return !document.HasParseError();
}

}  // namespace Brix::Bench
