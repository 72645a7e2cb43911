// host_event_handlers.h - the handler of each host event the plugin follows, and the delivery of an
// event to it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "abi/host_abi.h"
#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/static_type.h"
#include "binding/type_registry.h"
#include "binding/value_conversion.h"
#include "host_values/host_value_conversion.h"

namespace Brix {

// HostEventHandlers keeps one handler per host event name, each for the payload record its event
// carries (PluginResourceEvent, PluginServiceProxyResponse).
class HostEventHandlers {
public:
    // Set makes handler the one handler of eventName, replacing an earlier one, and answers the name
    // as kept: its text lives as long as the entry, so it may be handed to the host.
    template <class Payload>
    const std::string& Set(std::string_view eventName, std::function<void(const Payload&)> handler);

    // Deliver converts the payload of event to a Payload (target name "<result>", with registry) and
    // calls the handler of the event's name with it. An event without a handler for Payload, or whose
    // payload does not convert, is dropped. The handler stays alive while it runs, even if it removes
    // its own entry.
    template <class Payload>
    void Deliver(const HostEvent& event, const TypeRegistry& registry) const;

    bool Has(std::string_view eventName) const;
    void Erase(std::string_view eventName);
    // Names are the events that have a handler, in the order of their names.
    std::vector<std::string> Names() const;
    void Clear() noexcept { handlers.clear(); }

private:
    struct Entry {
        uint32_t payloadTypeId = 0;
        std::shared_ptr<void> handler;
    };

    std::map<std::string, Entry, std::less<>> handlers;
};

template <class Payload>
const std::string& HostEventHandlers::Set(std::string_view eventName,
                                          std::function<void(const Payload&)> handler) {
    auto entry = Entry{StaticType<Payload>().id,
                       std::make_shared<std::function<void(const Payload&)>>(std::move(handler))};
    return handlers.insert_or_assign(std::string(eventName), std::move(entry)).first->first;
}

template <class Payload>
void HostEventHandlers::Deliver(const HostEvent& event, const TypeRegistry& registry) const {
    const char* name = event.name;
    if (name == nullptr) {
        return;
    }
    auto found = handlers.find(std::string_view(name));
    if (found == handlers.end() || found->second.payloadTypeId != StaticType<Payload>().id) {
        return;
    }
    const auto handler = std::static_pointer_cast<std::function<void(const Payload&)>>(found->second.handler);
    ConversionStatus cell = FromHostValue(event.payload, "<result>");
    if (!cell.Ok()) {
        return;
    }
    Payload payload{};
    ConversionStatus status;
    ValueToNative(status, payload, cell.Value(), "<result>", registry);
    if (!status.Ok()) {
        return;
    }
    (*handler)(payload);
}

}  // namespace Brix
