// fuzz_support.h - what every fuzz target shares: a quiet logger and a check that stops the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

}  // namespace Brix::Fuzz
