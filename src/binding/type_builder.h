// type_builder.h - the fluent registration of structs and enums, read like the record tables it enters:
//
//     Register<QueueReward>(registry, prefix + "QueueReward")
//         .Field("isIpEnabled", &QueueReward::isIpEnabled)
//         .Field("partySizeIpRewards", &QueueReward::partySizeIpRewards)
//         .Tags(tags);
//
//     Register<QueueAvailability>(registry, prefix + "QueueAvailability")
//         .Value("Available", QueueAvailability::Available)
//         .Value("PlatformDisabled", QueueAvailability::PlatformDisabled);
//
// Offsets, type references and static types come from the member pointers; a name registered
// before keeps its first registration, and every call on its builder does nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "binding/field_traits.h"
#include "binding/type_record.h"
#include "binding/type_registry.h"
#include "binding/value_conversion.h"

namespace Brix {

// TypeBuilder enters one type record: {registry, record, last offset, already-registered}.
class TypeBuilder {
public:
    TypeBuilder(TypeRegistry& target, std::string_view fullName, uint32_t nativeSize,
                const StaticTypeDescriptor& staticType, bool isEnum);

    bool AlreadyRegistered() const noexcept { return alreadyRegistered; }
    const TypeRecord& Record() const noexcept { return *record; }
    // LastOffset stays as the reader of the builder record's last offset, which nothing here reads yet.
    uint32_t LastOffset() const noexcept { return lastOffset; }
    const TypeRegistry& Registry() const noexcept { return *registry; }

    // AddEnumerator adds the enumerator, or overwrites number and description of the one of that name.
    void AddEnumerator(std::string_view name, int32_t number, std::string_view description);

    // AddField appends a field record; its name hash and owner are filled here.
    void AddField(FieldRecord field);

    // AddTag appends a tag; the empty text is ignored.
    void AddTag(std::string_view tag);
    void SetDescription(std::string_view description);
    void SetNamespace(std::string_view nameSpace);

private:
    TypeRegistry* registry;
    TypeRecord* record;
    uint32_t lastOffset = 0;
    bool alreadyRegistered;
};

namespace Detail {

// MemberOffset is the byte offset of member inside T, measured on a value-initialised T.
template <class T, class M>
uint32_t MemberOffset(M T::*member) {
    const T probe{};
    const auto* base = reinterpret_cast<const unsigned char*>(std::addressof(probe));
    const auto* field = reinterpret_cast<const unsigned char*>(std::addressof(probe.*member));
    return static_cast<uint32_t>(field - base);
}

// RecordBuilder holds what struct and enum builders share, returning the derived builder so that
// the calls chain.
template <class Derived>
class RecordBuilder {
public:
    Derived& Description(std::string_view description) {
        core.SetDescription(description);
        return Self();
    }
    Derived& Namespace(std::string_view nameSpace) {
        core.SetNamespace(nameSpace);
        return Self();
    }
    Derived& Tag(std::string_view tag) {
        core.AddTag(tag);
        return Self();
    }
    Derived& Tags(std::span<const std::string> tags) {
        for (const std::string& tag : tags) {
            core.AddTag(tag);
        }
        return Self();
    }
    Derived& Tags(std::initializer_list<std::string_view> tags) {
        for (std::string_view tag : tags) {
            core.AddTag(tag);
        }
        return Self();
    }

    const TypeBuilder& Core() const noexcept { return core; }

protected:
    explicit RecordBuilder(TypeBuilder builder) : core(builder) {}
    TypeBuilder core;

private:
    Derived& Self() { return static_cast<Derived&>(*this); }
};

}  // namespace Detail

// StructBuilder registers the fields of the native record T, in the order of the calls.
template <class T>
class StructBuilder : public Detail::RecordBuilder<StructBuilder<T>> {
public:
    StructBuilder(TypeRegistry& registry, std::string_view fullName, const StaticTypeDescriptor& staticType)
        : Detail::RecordBuilder<StructBuilder<T>>(
              TypeBuilder(registry, fullName, static_cast<uint32_t>(sizeof(T)), staticType, false)) {}

    // Field adds the member under name; flags are FieldFlags bits.
    template <class M>
    StructBuilder& Field(std::string_view name, M T::*member, std::string_view description = {},
                         uint32_t flags = kFieldNone) {
        if (this->core.AlreadyRegistered()) {
            return *this;
        }
        FieldRecord field;
        field.name = std::string(name);
        field.description = std::string(description);
        field.staticType = &StaticType<M>();
        field.offset = Detail::MemberOffset(member);
        field.type = FieldTraits<M>::Reference(this->core.Registry());
        field.flags = flags;
        field.optional = FieldTraits<M>::kOptional;
        field.converter = std::make_unique<TypedFieldConverter<M>>();
        this->core.AddField(std::move(field));
        return *this;
    }
};

// EnumBuilder registers the enumerators of the native enum E, in the order of the calls.
template <class E>
class EnumBuilder : public Detail::RecordBuilder<EnumBuilder<E>> {
public:
    static_assert(sizeof(E) <= sizeof(int32_t), "registered enums are 32-bit");

    EnumBuilder(TypeRegistry& registry, std::string_view fullName, const StaticTypeDescriptor& staticType)
        : Detail::RecordBuilder<EnumBuilder<E>>(
              TypeBuilder(registry, fullName, static_cast<uint32_t>(sizeof(E)), staticType, true)) {}

    EnumBuilder& Value(std::string_view name, E value, std::string_view description = {}) {
        this->core.AddEnumerator(name, static_cast<int32_t>(value), description);
        return *this;
    }
};

// Register starts the registration of T under fullName with T's own static type.
template <class T>
auto Register(TypeRegistry& registry, std::string_view fullName) {
    if constexpr (std::is_enum_v<T>) {
        return EnumBuilder<T>(registry, fullName, StaticType<T>());
    } else {
        return StructBuilder<T>(registry, fullName, StaticType<T>());
    }
}

// RegisterWithoutStaticType registers T under the reserved descriptor: reachable by name only.
template <class T>
auto RegisterWithoutStaticType(TypeRegistry& registry, std::string_view fullName) {
    if constexpr (std::is_enum_v<T>) {
        return EnumBuilder<T>(registry, fullName, ReservedStaticType());
    } else {
        return StructBuilder<T>(registry, fullName, ReservedStaticType());
    }
}

}  // namespace Brix
