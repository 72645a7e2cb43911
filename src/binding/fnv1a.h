// fnv1a.h - the 32-bit FNV-1a hash of interned strings, member names and type signatures.
#pragma once

#include <cstdint>
#include <string_view>

namespace Brix {

inline constexpr uint32_t kFnv1aOffsetBasis = 0x811C9DC5u;
inline constexpr uint32_t kFnv1aPrime = 16777619u;

// Fnv1a32 hashes the bytes of text; the empty text hashes to the offset basis.
constexpr uint32_t Fnv1a32(std::string_view text) noexcept {
    uint32_t hash = kFnv1aOffsetBasis;
    for (char c : text) {
        hash ^= static_cast<uint8_t>(c);
        hash *= kFnv1aPrime;
    }
    return hash;
}

}  // namespace Brix
