// fuzz_support.h - what every fuzz target shares: a quiet logger, a check that stops the run, and a
// reader that draws structured inputs from the fuzz bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <span>
#include <string_view>

#include "logging/logger.h"

namespace Brix::Fuzz {

// QuietLogger mutes the process's logger once: a target logs what it refuses (a path too long to
// match, for one) on every input, which would drown the fuzzer's own report.
inline void QuietLogger() {
    static const bool muted = [] {
        LoggerControl::Mute();
        return true;
    }();
    static_cast<void>(muted);
}

// Check stops the process with the broken property when condition is false, so that the fuzzer keeps
// the input as a crash.
inline void Check(bool condition, const char* property) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

// Text is the input of a target as text.
inline std::string_view Text(const uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// AllZero tells whether every byte of a block is zero, as a released cell or response block must be.
template <class Block>
bool AllZero(const Block& block) noexcept {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&block);
    for (std::size_t i = 0; i < sizeof(Block); ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

// Reader draws numbers, choices and texts from the front of a target's input, so that the fuzzer
// drives the shape of a structured input. Once the bytes run out every draw gives zero (and texts the
// empty text), so any input, however short, decodes to something.
class Reader {
public:
    Reader(const uint8_t* data, std::size_t size) : rest(data, size) {}

    bool Empty() const noexcept { return rest.empty(); }

    uint8_t Byte() noexcept {
        if (rest.empty()) {
            return 0;
        }
        const uint8_t value = rest.front();
        rest = rest.subspan(1);
        return value;
    }

    bool Bool() noexcept { return (Byte() & 1) != 0; }

    // Number reads sizeof(T) bytes, little-endian; missing bytes count as zero.
    template <class T>
    T Number() noexcept {
        uint8_t bytes[sizeof(T)] = {};
        for (uint8_t& byte : bytes) {
            byte = Byte();
        }
        T value;
        std::memcpy(&value, bytes, sizeof(T));
        return value;
    }

    // Below is a number from 0 to bound - 1 (0 when bound is 0).
    std::size_t Below(std::size_t bound) noexcept { return bound == 0 ? 0 : Byte() % bound; }

    // Pick is one of choices (not empty), chosen by the next byte.
    template <class Choices>
    const auto& Pick(const Choices& choices) noexcept {
        return choices[Below(std::size(choices))];
    }

    // Text is a text of up to maxLength bytes: one byte gives its length, then its bytes (fewer when
    // the input ends first). The text points into the input.
    std::string_view Text(std::size_t maxLength) noexcept {
        const std::size_t length = Below(maxLength + 1);
        const std::size_t taken = length < rest.size() ? length : rest.size();
        const std::string_view text(reinterpret_cast<const char*>(rest.data()), taken);
        rest = rest.subspan(taken);
        return text;
    }

    // Line is the text up to the next line feed (which is consumed), or the rest of the input.
    std::string_view Line() noexcept {
        const std::string_view all = Remaining();
        const std::size_t end = all.find('\n');
        const std::size_t taken = end == std::string_view::npos ? all.size() : end + 1;
        rest = rest.subspan(taken);
        return all.substr(0, end == std::string_view::npos ? all.size() : end);
    }

    // Remaining is the input not read yet, as text.
    std::string_view Remaining() const noexcept {
        return {reinterpret_cast<const char*>(rest.data()), rest.size()};
    }

private:
    std::span<const uint8_t> rest;
};

}  // namespace Brix::Fuzz
