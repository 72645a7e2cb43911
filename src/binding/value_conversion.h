// value_conversion.h - conversion between generic values and native values of every bindable type:
//
//     Queue queue;
//     ConversionStatus status;
//     ValueToNative(status, queue, body, "<value>", registry);   // status.Message() on failure
//     BindingProperty value;
//     NativeToValue(status, value, queue, registry);
//
// Converter<M> holds the rules for the C++ type M; record is the registered type of the enum or
// struct at the bottom of M (the element type of a vector or map, the wrapped type of an optional),
// found through the registry when the caller has none at hand. Every operation does nothing once the
// status has failed, so the first message wins and nested messages reach the caller unchanged.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "binding/binding_property.h"
#include "binding/conversion_messages.h"
#include "binding/conversion_status.h"
#include "binding/field_converter.h"
#include "binding/field_traits.h"
#include "binding/record_conversion.h"
#include "binding/scalar_conversion.h"
#include "binding/type_registry.h"
#include "binding/value_kind.h"
#include "logging/message_formatter.h"

namespace Brix {

namespace Detail {

// RecordOf is the registered type of M: the caller's when it has one, else the registry's.
template <class M>
const TypeRecord* RecordOf(const TypeRecord* known, const TypeRegistry* registry) {
    if (known != nullptr) {
        return known;
    }
    return registry != nullptr ? registry->Find<M>() : nullptr;
}

}  // namespace Detail

template <class M>
struct Converter;

template <>
struct Converter<bool> {
    static void ToNative(ConversionStatus& status, bool& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* /*record*/,
                         const TypeRegistry* /*registry*/) {
        ScalarConversion::ToBool(status, output, input, target);
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, bool input,
                        const TypeRecord* /*record*/, const TypeRegistry* /*registry*/) {
        if (status.Ok()) {
            output.SetBool(input);
        }
    }
};

template <class M>
requires(std::is_integral_v<M> && !std::is_same_v<M, bool> && BindableScalar<M>) struct Converter<M> {
    static void ToNative(ConversionStatus& status, M& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* /*record*/,
                         const TypeRegistry* /*registry*/) {
        if constexpr (std::is_signed_v<M>) {
            int64_t value = 0;
            ScalarConversion::ToSigned(status, value, input, target, Detail::ScalarCode<M>());
            if (status.Ok()) {
                output = static_cast<M>(value);
            }
        } else {
            uint64_t value = 0;
            ScalarConversion::ToUnsigned(status, value, input, target, Detail::ScalarCode<M>());
            if (status.Ok()) {
                output = static_cast<M>(value);
            }
        }
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, M input,
                        const TypeRecord* /*record*/, const TypeRegistry* /*registry*/) {
        if (!status.Ok()) {
            return;
        }
        if constexpr (std::is_signed_v<M>) {
            output.SetSigned(int64_t{input});
        } else {
            output.SetUnsigned(uint64_t{input});
        }
    }
};

template <class M>
requires std::is_floating_point_v<M>
struct Converter<M> {
    static void ToNative(ConversionStatus& status, M& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* /*record*/,
                         const TypeRegistry* /*registry*/) {
        double value = 0.0;
        ScalarConversion::ToFloating(status, value, input, target, Detail::ScalarCode<M>());
        if (status.Ok()) {
            output = static_cast<M>(value);
        }
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, M input,
                        const TypeRecord* /*record*/, const TypeRegistry* /*registry*/) {
        if (status.Ok()) {
            output.SetFloat(static_cast<double>(input));
        }
    }
};

template <>
struct Converter<std::string> {
    static void ToNative(ConversionStatus& status, std::string& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* /*record*/,
                         const TypeRegistry* registry) {
        ScalarConversion::ToString(status, output, input, target, registry);
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, const std::string& input,
                        const TypeRecord* /*record*/, const TypeRegistry* /*registry*/) {
        if (status.Ok()) {
            output.SetString(input);
        }
    }
};

template <>
struct Converter<Blob> {
    static void ToNative(ConversionStatus& status, Blob& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* /*record*/,
                         const TypeRegistry* /*registry*/) {
        ScalarConversion::ToBlob(status, output, input, target);
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, const Blob& input,
                        const TypeRecord* /*record*/, const TypeRegistry* /*registry*/) {
        if (status.Ok()) {
            output.SetBlob(input.bytes);
        }
    }
};

// An object field holds a generic value as it is.
template <>
struct Converter<BindingProperty> {
    static void ToNative(ConversionStatus& status, BindingProperty& output, const BindingProperty& input,
                         std::string_view /*target*/, const TypeRecord* /*record*/,
                         const TypeRegistry* /*registry*/) {
        if (status.Ok()) {
            output.Clear();
            output = input;
        }
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, const BindingProperty& input,
                        const TypeRecord* /*record*/, const TypeRegistry* /*registry*/) {
        if (status.Ok()) {
            output = input;
        }
    }
};

template <BindableEnum M>
struct Converter<M> {
    static void ToNative(ConversionStatus& status, M& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* record, const TypeRegistry* registry) {
        int32_t number = 0;
        ScalarConversion::ToEnum(status, number, input, target, Detail::RecordOf<M>(record, registry));
        if (status.Ok()) {
            output = static_cast<M>(number);
        }
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, M input,
                        const TypeRecord* /*record*/, const TypeRegistry* /*registry*/) {
        if (status.Ok()) {
            output.SetEnum(static_cast<int32_t>(input), &StaticType<M>());
        }
    }
};

template <BindableRecord M>
struct Converter<M> {
    static void ToNative(ConversionStatus& status, M& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* record, const TypeRegistry* registry) {
        RecordConversion::ToNative(status, &output, input, target, Detail::RecordOf<M>(record, registry),
                                   registry);
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, const M& input,
                        const TypeRecord* record, const TypeRegistry* registry) {
        RecordConversion::ToValue(status, output, &input, Detail::RecordOf<M>(record, registry), registry);
    }
};

template <class U, class A>
struct Converter<std::vector<U, A>> {
    static void ToNative(ConversionStatus& status, std::vector<U, A>& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* record, const TypeRegistry* registry) {
        if (!status.Ok()) {
            return;
        }
        output.clear();
        if (input.Kind() != BindingKind::Collection) {
            status.Fail(FormatMessage(ConversionMessages::kVectorType, target));
            return;
        }
        output.resize(input.ElementCount());
        for (std::size_t i = 0; i < output.size() && status.Ok(); ++i) {
            const BindingProperty& element = input.Element(i);
            if (element.IsEmpty()) {
                continue;
            }
            if constexpr (std::is_same_v<U, bool>) {
                bool value = false;
                Converter<bool>::ToNative(status, value, element, target, record, registry);
                output[i] = value;
            } else {
                Converter<U>::ToNative(status, output[i], element, target, record, registry);
            }
        }
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, const std::vector<U, A>& input,
                        const TypeRecord* record, const TypeRegistry* registry) {
        if (!status.Ok()) {
            return;
        }
        output.MakeCollection();
        output.ReserveElements(input.size());
        for (const auto& element : input) {
            Converter<U>::ToValue(status, output.AppendElement(), static_cast<const U&>(element), record,
                                  registry);
            if (!status.Ok()) {
                return;
            }
        }
    }
};

template <class M>
requires Detail::IsTextMap<M>::value struct Converter<M> {
    using Element = typename M::mapped_type;

    static void ToNative(ConversionStatus& status, M& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* record, const TypeRegistry* registry) {
        if (!status.Ok()) {
            return;
        }
        output.clear();
        if (input.Kind() != BindingKind::Structure) {
            status.Fail(FormatMessage(ConversionMessages::kMapType, target));
            return;
        }
        for (const auto& [name, value] : input.Members()) {
            if (value.IsEmpty()) {
                continue;
            }
            Element element{};
            Converter<Element>::ToNative(status, element, value, target, record, registry);
            if (!status.Ok()) {
                return;
            }
            output.insert_or_assign(std::string(name), std::move(element));
        }
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, const M& input,
                        const TypeRecord* record, const TypeRegistry* registry) {
        if (!status.Ok()) {
            return;
        }
        output.MakeStructure();
        for (const auto& [name, element] : input) {
            Converter<Element>::ToValue(status, output.MemberForWriting(name), element, record, registry);
            if (!status.Ok()) {
                return;
            }
        }
    }
};

template <class U>
struct Converter<std::optional<U>> {
    static void ToNative(ConversionStatus& status, std::optional<U>& output, const BindingProperty& input,
                         std::string_view target, const TypeRecord* record, const TypeRegistry* registry) {
        if (!status.Ok() || input.IsEmpty()) {
            return;
        }
        U value = output.value_or(U{});
        Converter<U>::ToNative(status, value, input, target, record, registry);
        if (status.Ok()) {
            output = std::move(value);
        }
    }
    static void ToValue(ConversionStatus& status, BindingProperty& output, const std::optional<U>& input,
                        const TypeRecord* record, const TypeRegistry* registry) {
        if (input.has_value()) {
            Converter<U>::ToValue(status, output, *input, record, registry);
        }
    }
};

// ValueToNative converts input into output, naming it target in messages ("<value>" for a whole body).
template <class T>
void ValueToNative(ConversionStatus& status, T& output, const BindingProperty& input, std::string_view target,
                   const TypeRegistry& registry) {
    Converter<T>::ToNative(status, output, input, target, nullptr, &registry);
}

// NativeToValue converts input into output.
template <class T>
void NativeToValue(ConversionStatus& status, BindingProperty& output, const T& input,
                   const TypeRegistry& registry) {
    Converter<T>::ToValue(status, output, input, nullptr, &registry);
}

// TypedFieldConverter is the converter a field adder makes for a member of type M.
template <class M>
class TypedFieldConverter final : public FieldConverter {
public:
    void ToNative(ConversionStatus& status, void* destination, const BindingProperty& input,
                  std::string_view targetName, const TypeReference& type,
                  const TypeRegistry* registry) const override {
        Converter<M>::ToNative(status, *static_cast<M*>(destination), input, targetName, type.type, registry);
    }
    void ToValue(ConversionStatus& status, BindingProperty& output, const void* source,
                 const TypeReference& type, const TypeRegistry* registry) const override {
        Converter<M>::ToValue(status, output, *static_cast<const M*>(source), type.type, registry);
    }
};

}  // namespace Brix
