// base64.cpp - Base64 encoding with the standard alphabet and padding.
#include "binding/base64.h"

#include <string_view>

namespace Brix {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

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

}  // namespace Brix
