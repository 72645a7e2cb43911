// resource_router.cpp - exact and pattern resource handlers.
#include "runtime/resource_router.h"

#include "runtime/event_names.h"

namespace Brix {

std::shared_ptr<const ResourceHandler> ResourceRouter::Add(std::string_view uri, ResourceHandler handler) {
    auto shared = std::make_shared<const ResourceHandler>(std::move(handler));
    if (IsResourcePattern(uri)) {
        patterns.push_back({std::string(uri), shared});
    } else {
        exact.insert_or_assign(std::string(uri), shared);
    }
    return shared;
}

void ResourceRouter::Dispatch(const PluginResourceEvent& event) const {
    const std::string uri = NormaliseResourceUri(event.uri);
    const PluginResourceEvent* delivered = &event;
    PluginResourceEvent normalised;
    if (uri != event.uri) {
        normalised = event;
        normalised.uri = uri;
        delivered = &normalised;
    }

    if (auto found = exact.find(uri); found != exact.end()) {
        const std::shared_ptr<const ResourceHandler> handler = found->second;
        (*handler)(*delivered);
    }
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        if (!ResourcePatternMatches(patterns[i].pattern, uri)) {
            continue;
        }
        const std::shared_ptr<const ResourceHandler> handler = patterns[i].handler;
        (*handler)(*delivered);
    }
}

void ResourceRouter::Clear() noexcept {
    exact.clear();
    patterns.clear();
}

}  // namespace Brix
