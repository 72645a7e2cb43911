// resource_router.h - the plugin's resource handlers and the dispatch of one resource event to them.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/framework_types.h"

namespace Brix {

// ResourceHandler handles one change of a resource.
using ResourceHandler = std::function<void(const PluginResourceEvent&)>;

// ResourceRouter keeps one handler per exact URI and a list of pattern handlers (URIs holding "*"),
// and hands each resource event to the handlers its uri selects. Handlers are never removed one by
// one; Clear drops them all.
//
// Handlers may observe further resources, and deliveries may arrive while a handler waits for the
// host: the router therefore keeps its handlers shared, holds each one alive while it runs and visits
// pattern handlers by position, so that a table that grows (or is cleared) during a dispatch is never
// walked through a stale iterator.
class ResourceRouter {
public:
    // Add keeps handler for uri: as the pattern handler after the others when uri holds "*",
    // otherwise as the exact handler of uri, replacing the one it had. Answers the handler as kept.
    std::shared_ptr<const ResourceHandler> Add(std::string_view uri, ResourceHandler handler);

    // Dispatch hands event to the exact handler of its uri, after prefixing a "/" when the uri has
    // none, and then to every pattern handler the uri matches, in the order they were added.
    void Dispatch(const PluginResourceEvent& event) const;

    void Clear() noexcept;

private:
    struct PatternHandler {
        std::string pattern;
        std::shared_ptr<const ResourceHandler> handler;
    };

    std::map<std::string, std::shared_ptr<const ResourceHandler>, std::less<>> exact;
    std::vector<PatternHandler> patterns;
};

}  // namespace Brix
