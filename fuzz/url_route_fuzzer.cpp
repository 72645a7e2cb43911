// url_route_fuzzer.cpp - splitting, decoding and routing arbitrary request URLs.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "rest/route.h"
#include "rest/url_text.h"

namespace {

using namespace Brix;

// kTemplates are the plugin's seven routes, then one route of each other parameter form.
constexpr std::array<std::string_view, 9> kTemplates = {
    "/hux-game-queues/v1/queues",
    "/hux-game-queues/v1/queues/{id}",
    "/hux-game-queues/v1/queues/type/{queueType}",
    "/hux-game-queues/v1/custom",
    "/hux-game-queues/v1/custom-non-default",
    "/hux-game-queues/v1/game-type-config/{gameTypeConfigId}",
    "/hux-game-queues/v1/game-type-config/{gameTypeConfigId}/map/{mapId}",
    "/hux-game-queues/v1/assets/{+path}",
    "/hux-game-queues/v1/help{#topic}",
};

const std::vector<const Rest::Route*>& Routes() {
    static const std::vector<Rest::Route> routes = [] {
        std::vector<Rest::Route> made;
        made.reserve(std::size(kTemplates) + 1);
        for (std::string_view pathTemplate : kTemplates) {
            made.push_back(Rest::CompileRoute(MethodCode::Get, {}, pathTemplate));
        }
        made.push_back(Rest::CompileRoute(MethodCode::None, {}, "/{+anything}"));
        return made;
    }();
    static const std::vector<const Rest::Route*> order = [] {
        std::vector<const Rest::Route*> made;
        made.reserve(routes.size());
        for (const Rest::Route& route : routes) {
            made.push_back(&route);
        }
        return made;
    }();
    return order;
}

// CheckSelection selects a route for path and checks that the chosen route matches the path with the
// parameters recorded for it.
void CheckSelection(MethodCode method, std::string_view path, bool ignoreMethods) {
    Rest::RequestTarget target;
    target.method = method;
    target.path = std::string(path);
    if (!Rest::SelectRoute(target, Routes(), ignoreMethods)) {
        Fuzz::Check(target.route == nullptr, "no route is recorded when none is taken");
        return;
    }
    Fuzz::Check(target.route != nullptr, "a taken route is recorded");
    Fuzz::Check(target.pathTemplate == target.route->pathTemplate, "the template is the route's");
    Rest::PathParameterMap parameters;
    Fuzz::Check(Rest::MatchRoute(*target.route, target.path, parameters), "the taken route matches");
    Fuzz::Check(parameters == target.parameters, "the parameters are those of the match");
    Fuzz::Check(parameters.size() <= target.route->parameters.size(), "one value per parameter at most");
    if (target.route->parameters.empty()) {
        Fuzz::Check(target.path == target.route->literalPath, "a literal route matches its own path only");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Fuzz::QuietLogger();
    const std::string_view url = Fuzz::Text(data, size);

    // Decoding never lengthens a text: "%" and two characters give one byte, a lone "%" is dropped.
    Fuzz::Check(Rest::PercentDecode(url).size() <= url.size(), "decoding does not lengthen");

    const Rest::UrlParts parts = Rest::SplitUrl(url);
    Fuzz::Check(parts.path.size() + parts.query.size() <= url.size(), "the parts lie within the URL");
    Fuzz::Check(parts.path.find('?') == std::string_view::npos, "the path ends at the first question mark");

    const Rest::QueryMap query = Rest::ParseQuery(parts.query);
    std::size_t pieces = 1;
    for (char c : parts.query) {
        pieces += c == '&' ? 1 : 0;
    }
    Fuzz::Check(parts.query.empty() ? query.empty() : query.size() <= pieces, "one entry per piece at most");

    const std::string_view path = Rest::TrimTrailingSlash(parts.path);
    Fuzz::Check(path.size() + 1 >= parts.path.size(), "trimming removes one slash at most");
    CheckSelection(MethodCode::Get, path, false);
    CheckSelection(MethodCode::Post, path, false);
    CheckSelection(MethodCode::Post, path, true);
    return 0;
}
