// base64.cpp - Base64 encoding with the standard alphabet and padding.
#include "binding/base64.h"

#include <array>
#include <string_view>

namespace Brix {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// kNotInAlphabet marks the bytes that end a Base64 text in the decoding table.
constexpr uint8_t kNotInAlphabet = 0xFF;

constexpr std::array<uint8_t, 256> MakeDecodingTable() {
    std::array<uint8_t, 256> table{};
    table.fill(kNotInAlphabet);
    for (std::size_t index = 0; index < kAlphabet.size(); ++index) {
        table[static_cast<uint8_t>(kAlphabet[index])] = static_cast<uint8_t>(index);
    }
    return table;
}

constexpr std::array<uint8_t, 256> kDecodingTable = MakeDecodingTable();

}  // namespace

void AppendBase64(std::string& text, std::span<const uint8_t> bytes) {
    text.reserve(text.size() + (bytes.size() + 2) / 3 * 4);
    std::size_t index = 0;
    for (; index + 3 <= bytes.size(); index += 3) {
        const uint32_t group =
            uint32_t{bytes[index]} << 16 | uint32_t{bytes[index + 1]} << 8 | bytes[index + 2];
        text += kAlphabet[group >> 18];
        text += kAlphabet[group >> 12 & 0x3F];
        text += kAlphabet[group >> 6 & 0x3F];
        text += kAlphabet[group & 0x3F];
    }
    const std::size_t rest = bytes.size() - index;
    if (rest == 0) {
        return;
    }
    const uint32_t group = uint32_t{bytes[index]} << 16 | (rest == 2 ? uint32_t{bytes[index + 1]} << 8 : 0);
    text += kAlphabet[group >> 18];
    text += kAlphabet[group >> 12 & 0x3F];
    text += rest == 2 ? kAlphabet[group >> 6 & 0x3F] : '=';
    text += '=';
}

std::string Base64Encode(std::span<const uint8_t> bytes) {
    std::string text;
    AppendBase64(text, bytes);
    return text;
}

std::vector<uint8_t> Base64Decode(std::string_view text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    uint32_t group = 0;
    int count = 0;
    for (char c : text) {
        const uint8_t sextet = kDecodingTable[static_cast<uint8_t>(c)];
        if (sextet == kNotInAlphabet) {
            break;  // "=" and every foreign character end the text
        }
        group = group << 6 | sextet;
        if (++count == 4) {
            bytes.push_back(static_cast<uint8_t>(group >> 16));
            bytes.push_back(static_cast<uint8_t>(group >> 8));
            bytes.push_back(static_cast<uint8_t>(group));
            group = 0;
            count = 0;
        }
    }
    if (count >= 2) {
        group <<= 6 * (4 - count);
        bytes.push_back(static_cast<uint8_t>(group >> 16));
        if (count == 3) {
            bytes.push_back(static_cast<uint8_t>(group >> 8));
        }
    }
    return bytes;
}

}  // namespace Brix
