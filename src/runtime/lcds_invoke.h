// lcds_invoke.h - calling a method of a server-side service over the host's LCDS channel.
#pragma once

#include <future>
#include <optional>
#include <span>
#include <string_view>

#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/maybe_type.h"
#include "binding/static_type.h"
#include "binding/value_conversion.h"
#include "binding/wire_class_names.h"
#include "runtime/framework_types.h"
#include "runtime/host_request.h"

namespace Brix::Bridge {

// kLcdsInvokeUrl is the login plugin's endpoint through which LCDS calls travel.
inline constexpr std::string_view kLcdsInvokeUrl = "/hux-login/v1/session/invoke";

// kLcdsWrongType and kLcdsNotConverted are the failures of an answer that is not the T asked for.
inline constexpr std::string_view kLcdsWrongType =
    "Expected '{expected}' as LCDS response for {destination}.{method}, but got '{actual}'";
inline constexpr std::string_view kLcdsNotConverted = "Couldn't convert LCDS DTO {name} to C++ from {json}";

// LcdsRequest POSTs the invoke with three positional parameters, destination, method and the
// arguments as an array, and answers the LCDS response record; request failures come back as they are.
MaybeType<PluginLcdsResponse> LcdsRequest(const HostLink& link, std::string_view destination,
                                          std::string_view method,
                                          std::span<const BindingProperty> arguments);

// LcdsTypeMismatch is kLcdsWrongType when answer has a body and wireClasses names T (by typeId) with
// another class than answer's typeName; nothing otherwise.
std::optional<Failure> LcdsTypeMismatch(const WireClassNames& wireClasses, uint32_t typeId,
                                        const PluginLcdsResponse& answer, std::string_view destination,
                                        std::string_view method);

// LcdsConversionFailure is kLcdsNotConverted for the type named typeName and body written as JSON.
Failure LcdsConversionFailure(std::string_view typeName, const BindingProperty& body,
                              const TypeRegistry& registry);

// LcdsInvoke calls method of the service destination with arguments and converts the answer's body
// to T (target name "<value>"). Everything happens before it returns, so the future is always ready:
// Await on it costs no host call.
template <class T>
std::future<MaybeType<T>> LcdsInvoke(const HostLink& link, std::string_view destination,
                                     std::string_view method,
                                     std::span<const BindingProperty> arguments = {}) {
    std::promise<MaybeType<T>> promise;
    std::future<MaybeType<T>> future = promise.get_future();
    MaybeType<PluginLcdsResponse> answer = LcdsRequest(link, destination, method, arguments);
    if (!answer) {
        promise.set_value(answer.Error());
        return future;
    }
    const StaticTypeDescriptor& type = StaticType<T>();
    if (std::optional<Failure> mismatch =
            LcdsTypeMismatch(link.module.WireClasses(), type.id, answer.Value(), destination, method)) {
        promise.set_value(std::move(*mismatch));
        return future;
    }
    T value{};
    ConversionStatus status;
    ValueToNative(status, value, answer.Value().body, "<value>", link.registry);
    if (!status.Ok()) {
        promise.set_value(LcdsConversionFailure(type.name, answer.Value().body, link.registry));
        return future;
    }
    promise.set_value(std::move(value));
    return future;
}

}  // namespace Brix::Bridge
