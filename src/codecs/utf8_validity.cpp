// utf8_validity.cpp - the well-formed UTF-8 byte sequences, checked with an ASCII fast path.
#include "codecs/utf8_validity.h"

#include <cstdint>
#include <cstring>

namespace Brix {

namespace {

constexpr uint64_t kHighBits = 0x8080808080808080ULL;

bool IsContinuation(unsigned char byte) noexcept {
    return (byte & 0xC0U) == 0x80U;
}

// SequenceLength is the length of the well-formed sequence that starts at bytes[at], or 0.
std::size_t SequenceLength(std::string_view bytes, std::size_t at) noexcept {
    const auto byte = [&](std::size_t offset) { return static_cast<unsigned char>(bytes[at + offset]); };
    const std::size_t left = bytes.size() - at;
    const unsigned char lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF) {
        return left >= 2 && IsContinuation(byte(1)) ? 2 : 0;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (left < 3 || !IsContinuation(byte(1)) || !IsContinuation(byte(2))) {
            return 0;
        }
        // E0 needs A0..BF after it (no overlong form), ED needs 80..9F (no surrogate).
        const bool allowed = lead == 0xE0 ? byte(1) >= 0xA0 : lead == 0xED ? byte(1) <= 0x9F : true;
        return allowed ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (left < 4 || !IsContinuation(byte(1)) || !IsContinuation(byte(2)) || !IsContinuation(byte(3))) {
            return 0;
        }
        // F0 needs 90..BF after it (no overlong form), F4 needs 80..8F (nothing above U+10FFFF).
        const bool allowed = lead == 0xF0 ? byte(1) >= 0x90 : lead == 0xF4 ? byte(1) <= 0x8F : true;
        return allowed ? 4 : 0;
    }
    return 0;
}

}  // namespace

bool IsWellFormedUtf8(std::string_view bytes) noexcept {
    std::size_t at = 0;
    while (at < bytes.size()) {
        if (bytes.size() - at >= 8) {
            uint64_t word = 0;
            std::memcpy(&word, bytes.data() + at, sizeof(word));
            if ((word & kHighBits) == 0) {
                at += 8;
                continue;
            }
        }
        if (static_cast<unsigned char>(bytes[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t length = SequenceLength(bytes, at);
        if (length == 0) {
            return false;
        }
        at += length;
    }
    return true;
}

}  // namespace Brix
