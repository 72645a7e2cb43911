// typed_resource_handler.h - resource handlers that receive the resource as a native record.
#pragma once

#include <string>
#include <type_traits>
#include <utility>

#include "binding/conversion_status.h"
#include "binding/type_registry.h"
#include "binding/value_conversion.h"
#include "logging/logger.h"
#include "runtime/framework_types.h"
#include "runtime/resource_router.h"

namespace Brix {

// TypedResourceHandler is a handler of the resource as a T. It is called with the event type and
// the value, and may ask for the uri first:
//     [](PluginResourceEventType type, const Session& session) { ... }
//     [](const std::string& uri, PluginResourceEventType type, const Session& session) { ... }
template <class T, class Handler>
concept TypedResourceHandler = std::is_invocable_v<Handler&, PluginResourceEventType, const T&> ||
    std::is_invocable_v<Handler&, const std::string&, PluginResourceEventType, const T&>;

// MakeTypedResourceHandler wraps handler for the resource router. A Create or Update converts the
// event's data to T (target name "<value>") and drops the event when that fails, with a warning in
// the log that names the resource and the conversion's message, so that the handler only ever sees
// values of its type; a Delete hands over a default-constructed T whatever the data holds. registry
// must outlive the handler.
template <class T, class Handler>
requires TypedResourceHandler<T, Handler> ResourceHandler
MakeTypedResourceHandler(const TypeRegistry& registry, Handler handler) {
    return [&registry, handler = std::move(handler)](const PluginResourceEvent& event) mutable {
        T value{};
        if (event.eventType != PluginResourceEventType::Delete) {
            ConversionStatus status;
            ValueToNative(status, value, event.data, "<value>", registry);
            if (!status.Ok()) {
                const std::string message(status.Message());
                Log(LogLevel::Warn, kPluginLogGroup, "Ignored an event of %s: its data does not convert: %s",
                    event.uri.c_str(), message.c_str());
                return;
            }
        }
        if constexpr (std::is_invocable_v<Handler&, const std::string&, PluginResourceEventType, const T&>) {
            handler(event.uri, event.eventType, static_cast<const T&>(value));
        } else {
            handler(event.eventType, static_cast<const T&>(value));
        }
    };
}

}  // namespace Brix
