// resource_events.h - following resources (observe) and announcing the plugin's own (publish, send).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/maybe_type.h"
#include "binding/value_conversion.h"
#include "logging/logger.h"
#include "runtime/event_names.h"
#include "runtime/framework_types.h"
#include "runtime/host_request.h"
#include "runtime/resource_router.h"
#include "runtime/typed_resource_handler.h"

namespace Brix::Bridge {

// HandOverCurrentValue fetches the resource at uri and hands it to handler as a Create; a failed
// fetch hands nothing.
void HandOverCurrentValue(const ResourceHandler& handler, const HostLink& link, std::string_view uri);

// ObserveResource keeps handler in router as the handler of uri (a T; see TypedResourceHandler) and
// subscribes the module to uri's event. An exact uri is fetched at once (HandOverCurrentValue), so
// that the handler sees the current value as a Create before any event.
template <class T, class Handler>
requires TypedResourceHandler<T, Handler>
void ObserveResource(ResourceRouter& router, const HostLink& link, std::string_view uri, Handler handler) {
    const std::shared_ptr<const ResourceHandler> typed =
        router.Add(uri, MakeTypedResourceHandler<T>(link.registry, std::move(handler)));
    link.module.Subscribe(uri);
    if (!IsResourcePattern(uri)) {
        HandOverCurrentValue(*typed, link, uri);
    }
}

// PublishResourceValue sends an event of type for uri with data, under the resource's event name and
// under "OnJsonApiEvent". data becomes the event's "data" without being copied again.
void PublishResourceValue(const HostLink& link, std::string_view uri, PluginResourceEventType type,
                          BindingProperty data);

// PublishResourceUpdate announces value as the new state of the resource at uri (PublishResourceValue
// of value converted). A value that does not convert is not announced, and the log says why.
template <class T>
void PublishResourceUpdate(const HostLink& link, std::string_view uri, PluginResourceEventType type,
                           const T& value) {
    BindingProperty data;
    ConversionStatus status;
    NativeToValue(status, data, value, link.registry);
    if (!status.Ok()) {
        const std::string message(status.Message());
        const std::string resource(uri);
        Log(LogLevel::Error, kPluginLogGroup, "Did not publish an update of %s: it does not convert: %s",
            resource.c_str(), message.c_str());
        return;
    }
    PublishResourceValue(link, uri, type, std::move(data));
}

// SendResourceEvent sends event under the event name of its uri and, when eventName differs from
// that, once more under eventName. Fails when the event does not convert.
MaybeType<void> SendResourceEvent(const HostLink& link, std::string_view eventName,
                                  const PluginResourceEvent& event);

}  // namespace Brix::Bridge
