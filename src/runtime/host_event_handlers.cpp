// host_event_handlers.cpp - the table of host event handlers.
#include "runtime/host_event_handlers.h"

namespace Brix {

bool HostEventHandlers::Has(std::string_view eventName) const {
    return handlers.find(eventName) != handlers.end();
}

void HostEventHandlers::Erase(std::string_view eventName) {
    if (auto found = handlers.find(eventName); found != handlers.end()) {
        handlers.erase(found);
    }
}

std::vector<std::string> HostEventHandlers::Names() const {
    std::vector<std::string> names;
    names.reserve(handlers.size());
    for (const auto& entry : handlers) {
        names.push_back(entry.first);
    }
    return names;
}

}  // namespace Brix
