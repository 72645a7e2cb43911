// field_traits.h - the type code and type reference of a native member type, derived at compile time.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "binding/static_type.h"
#include "binding/type_code.h"
#include "binding/type_registry.h"

namespace Brix {

class BindingProperty;
struct Blob;

namespace Detail {

template <class M>
constexpr TypeCode ScalarCode() noexcept {
    if constexpr (std::is_same_v<M, bool>) {
        return TypeCode::Bool;
    } else if constexpr (std::is_same_v<M, int8_t>) {
        return TypeCode::Int8;
    } else if constexpr (std::is_same_v<M, uint8_t>) {
        return TypeCode::UInt8;
    } else if constexpr (std::is_same_v<M, int16_t>) {
        return TypeCode::Int16;
    } else if constexpr (std::is_same_v<M, uint16_t>) {
        return TypeCode::UInt16;
    } else if constexpr (std::is_same_v<M, int32_t>) {
        return TypeCode::Int32;
    } else if constexpr (std::is_same_v<M, uint32_t>) {
        return TypeCode::UInt32;
    } else if constexpr (std::is_same_v<M, int64_t>) {
        return TypeCode::Int64;
    } else if constexpr (std::is_same_v<M, uint64_t>) {
        return TypeCode::UInt64;
    } else if constexpr (std::is_same_v<M, float>) {
        return TypeCode::Float;
    } else if constexpr (std::is_same_v<M, double>) {
        return TypeCode::Double;
    } else if constexpr (std::is_same_v<M, std::string>) {
        return TypeCode::String;
    } else if constexpr (std::is_same_v<M, BindingProperty>) {
        return TypeCode::Object;
    } else if constexpr (std::is_same_v<M, Blob>) {
        return TypeCode::Blob;
    } else {
        return TypeCode::None;
    }
}

template <class M>
struct IsVector : std::false_type {};
template <class U, class A>
struct IsVector<std::vector<U, A>> : std::true_type {};

template <class M>
struct IsTextMap : std::false_type {};
template <class U, class C, class A>
struct IsTextMap<std::map<std::string, U, C, A>> : std::true_type {};
template <class U, class H, class E, class A>
struct IsTextMap<std::unordered_map<std::string, U, H, E, A>> : std::true_type {};

template <class M>
struct IsOptional : std::false_type {};
template <class U>
struct IsOptional<std::optional<U>> : std::true_type {};

}  // namespace Detail

// BindableScalar: a member type with a code of its own (bool, fixed-width integers, float, double,
// string, object, blob).
template <class M>
concept BindableScalar = Detail::ScalarCode<M>()
!= TypeCode::None;

// BindableEnum and BindableRecord: registered enums and structs, referred to by their static type.
template <class M>
concept BindableEnum = std::is_enum_v<M>;

template <class M>
concept BindableRecord = std::is_class_v<M> && !BindableScalar<M> && !Detail::IsVector<M>::value &&
                         !Detail::IsTextMap<M>::value && !Detail::IsOptional<M>::value;

// FieldTraits<M> describes a member type: its type reference in a registry, whether it is an
// optional wrapper, and the static descriptor recorded with the field.
template <class M>
struct FieldTraits;

template <BindableScalar M>
struct FieldTraits<M> {
    static constexpr bool kOptional = false;
    static TypeReference Reference(const TypeRegistry& /*registry*/) { return {Detail::ScalarCode<M>()}; }
};

template <BindableEnum M>
struct FieldTraits<M> {
    static constexpr bool kOptional = false;
    static TypeReference Reference(const TypeRegistry& registry) {
        return {TypeCode::Enum, TypeCode::None, registry.Find<M>()};
    }
};

template <BindableRecord M>
struct FieldTraits<M> {
    static constexpr bool kOptional = false;
    static TypeReference Reference(const TypeRegistry& registry) {
        return {TypeCode::Struct, TypeCode::None, registry.Find<M>()};
    }
};

template <class U, class A>
struct FieldTraits<std::vector<U, A>> {
    static_assert(!Detail::IsVector<U>::value && !Detail::IsTextMap<U>::value,
                  "a container of containers has no type reference");
    static constexpr bool kOptional = false;
    static TypeReference Reference(const TypeRegistry& registry) {
        const TypeReference element = FieldTraits<U>::Reference(registry);
        return {TypeCode::Vector, element.code, element.type};
    }
};

template <class M>
requires Detail::IsTextMap<M>::value struct FieldTraits<M> {
    using Element = typename M::mapped_type;
    static_assert(!Detail::IsVector<Element>::value && !Detail::IsTextMap<Element>::value,
                  "a container of containers has no type reference");
    static constexpr bool kOptional = false;
    static TypeReference Reference(const TypeRegistry& registry) {
        const TypeReference element = FieldTraits<Element>::Reference(registry);
        return {TypeCode::Map, element.code, element.type};
    }
};

template <class U>
struct FieldTraits<std::optional<U>> {
    static_assert(!Detail::IsOptional<U>::value, "an optional of an optional has no type reference");
    static constexpr bool kOptional = true;
    static TypeReference Reference(const TypeRegistry& registry) {
        return FieldTraits<U>::Reference(registry);
    }
};

}  // namespace Brix
