// resource_events.cpp - the first fetch of an observed resource and the events the plugin sends.
#include "runtime/resource_events.h"

#include <cstring>

#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"

namespace Brix::Bridge {

namespace {

// SendEventValue sends value, the value form of an event of uri, under the event name of uri and,
// when eventName differs from that, once more under eventName: one payload cell for both.
void SendEventValue(const HostLink& link, std::string_view eventName, std::string_view uri,
                    const BindingProperty& value) {
    const std::string specificName = EventNameFromUri(uri);
    ScopedHostValue payload(ToHostValue(value, &link.registry));

    HostEvent block;
    std::memset(&block, 0, sizeof(block));
    block.name = specificName.c_str();
    block.payload = payload.Get();
    link.module.SendEvent(&block);
    if (eventName != specificName) {
        const std::string generalName(eventName);
        block.name = generalName.c_str();
        link.module.SendEvent(&block);
    }
}

}  // namespace

void HandOverCurrentValue(const ResourceHandler& handler, const HostLink& link, std::string_view uri) {
    MaybeType<BindingProperty> current = TypedRequest<BindingProperty>(link, MethodCode::Get, uri);
    if (!current) {
        return;
    }
    PluginResourceEvent created;
    created.uri = std::string(uri);
    created.eventType = PluginResourceEventType::Create;
    created.data = std::move(current).Value();
    handler(created);
}

void PublishResourceValue(const HostLink& link, std::string_view uri, PluginResourceEventType type,
                          BindingProperty data) {
    // The event is converted without its data, which is then moved in: a published list is
    // converted once and never copied.
    PluginResourceEvent event;
    event.uri = std::string(uri);
    event.eventType = type;
    BindingProperty value;
    ConversionStatus status;
    NativeToValue(status, value, event, link.registry);
    if (!status.Ok()) {
        return;
    }
    value.MemberForWriting("data") = std::move(data);
    SendEventValue(link, kResourceEventName, uri, value);
}

MaybeType<void> SendResourceEvent(const HostLink& link, std::string_view eventName,
                                  const PluginResourceEvent& event) {
    BindingProperty value;
    ConversionStatus status;
    NativeToValue(status, value, event, link.registry);
    if (!status.Ok()) {
        return Failure(std::string(status.Message()));
    }
    SendEventValue(link, eventName, event.uri, value);
    return {};
}

}  // namespace Brix::Bridge
