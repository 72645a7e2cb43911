// printable_text.cpp - escaping control characters and malformed UTF-8 for the console.
#include "printable_text.h"

#include <array>

namespace HuxHost {

namespace {

constexpr unsigned kFirstPrintable = 0x20;
constexpr unsigned kDelete = 0x7f;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xc0u) == 0x80u;
}

// SequenceLength is the length of the well-formed UTF-8 sequence of two or more bytes that starts at
// `at`, or 0 when none does (a lone or overlong lead, a surrogate, a code point past U+10FFFF).
std::size_t SequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    unsigned char lowest = 0x80;  // the bounds of the second byte
    unsigned char highest = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        lowest = lead == 0xe0 ? 0xa0 : lowest;
        highest = lead == 0xed ? 0x9f : highest;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        lowest = lead == 0xf0 ? 0x90 : lowest;
        highest = lead == 0xf4 ? 0x8f : highest;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (second < lowest || second > highest) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (!IsContinuation(static_cast<unsigned char>(text[at + i]))) {
            return 0;
        }
    }
    // U+0080 to U+009F are the C1 controls: 0xc2 0x80 to 0xc2 0x9f.
    if (lead == 0xc2 && second <= 0x9f) {
        return 0;
    }
    return length;
}

void AppendEscaped(std::string& out, unsigned char byte) {
    constexpr std::array<char, 16> kDigits = {'0', '1', '2', '3', '4', '5', '6', '7',
                                              '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    constexpr unsigned kNibble = 4;
    constexpr unsigned kLowNibble = 0x0f;
    out += "\\x";
    out += kDigits[byte >> kNibble];
    out += kDigits[byte & kLowNibble];
}

}  // namespace

std::string Printable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= kFirstPrintable && byte < kDelete) {
            out += static_cast<char>(byte);
            ++at;
        } else if (const std::size_t length = byte > kDelete ? SequenceLength(text, at) : 0; length > 0) {
            out.append(text.substr(at, length));
            at += length;
        } else {
            AppendEscaped(out, byte);
            ++at;
        }
    }
    return out;
}

}  // namespace HuxHost
