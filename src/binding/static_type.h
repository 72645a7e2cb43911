// static_type.h - process-wide identity of native types: a 32-bit id and a name per type.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "binding/fnv1a.h"

namespace Brix {

// StaticTypeDescriptor is the identity of one native type. It is built at compile time, lives for
// the whole process and is compared by address or by id.
struct StaticTypeDescriptor {
    uint32_t id;
    std::string_view name;
};

// kReservedTypeId is the id of the descriptor shared by types that have no static type of their
// own; a type registered with it is reachable by name only.
inline constexpr uint32_t kReservedTypeId = 0x1BE7EF8Eu;

// ReservedStaticType is that shared descriptor.
const StaticTypeDescriptor& ReservedStaticType() noexcept;

namespace Detail {

// A deleted overload so that the hashed-name probe below only ever finds the overloads that a
// namespace declares for its own types (through argument-dependent lookup).
void UsesHashedTypeName() = delete;

// HashedTypeName: a namespace opts its types (and containers of them) into "#%08X" names by
// declaring, next to them:
//     template <class T> constexpr bool UsesHashedTypeName(T*) { return true; }
template <class T>
concept HashedTypeName = requires(T* probe) {
    UsesHashedTypeName(probe);
};

// SignatureTypeName is the compiler's spelling of T, cut out of the signature of this function.
template <class T>
constexpr std::string_view SignatureTypeName() noexcept {
    constexpr std::string_view kSignature = __PRETTY_FUNCTION__;
    constexpr std::string_view kMarker = "T = ";
    constexpr std::size_t kBegin = kSignature.find(kMarker) + kMarker.size();
    constexpr std::size_t kSemicolon = kSignature.find(';', kBegin);
    constexpr std::size_t kEnd = kSemicolon == std::string_view::npos ? kSignature.rfind(']') : kSemicolon;
    return kSignature.substr(kBegin, kEnd - kBegin);
}

inline constexpr std::string_view kSignaturePrefix = "const char *StaticType::Name<";
inline constexpr std::string_view kSignatureSuffix = ">(void)";
inline constexpr std::size_t kHashedNameLength = 9;  // "#" and eight hexadecimal digits

template <class T>
constexpr std::size_t StaticTypeNameLength() noexcept {
    if constexpr (HashedTypeName<T>) {
        return kHashedNameLength;
    } else {
        return kSignaturePrefix.size() + SignatureTypeName<T>().size() + kSignatureSuffix.size();
    }
}

// StaticTypeNameText builds the descriptor's name: "#%08X" of the id for opted-in types, the full
// signature text for every other type.
template <class T>
constexpr auto StaticTypeNameText() noexcept {
    std::array<char, StaticTypeNameLength<T>() + 1> text{};
    std::size_t at = 0;
    auto append = [&](std::string_view part) {
        for (char c : part) {
            text[at++] = c;
        }
    };
    if constexpr (HashedTypeName<T>) {
        constexpr std::string_view kHex = "0123456789ABCDEF";
        const uint32_t id = Fnv1a32(SignatureTypeName<T>());
        text[at++] = '#';
        for (int shift = 28; shift >= 0; shift -= 4) {
            text[at++] = kHex[(id >> shift) & 0xFu];
        }
    } else {
        append(kSignaturePrefix);
        append(SignatureTypeName<T>());
        append(kSignatureSuffix);
    }
    return text;
}

template <class T>
struct StaticTypeHolder {
    static constexpr auto kNameText = StaticTypeNameText<T>();
    static constexpr StaticTypeDescriptor kDescriptor{
        Fnv1a32(SignatureTypeName<T>()), std::string_view(kNameText.data(), kNameText.size() - 1)};
};

}  // namespace Detail

// StaticType is the descriptor of T. The id is the FNV-1a hash of the compiler's spelling of T, so
// it is fixed at build time and the same in every run of the same build.
template <class T>
constexpr const StaticTypeDescriptor& StaticType() noexcept {
    return Detail::StaticTypeHolder<T>::kDescriptor;
}

}  // namespace Brix
