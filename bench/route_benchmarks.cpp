// route_benchmarks.cpp - selecting the route of a request among the plugin's seven GET routes.
#include <array>
#include <string_view>
#include <vector>

#include "bench/allocation_meter.h"
#include "rest/route.h"

namespace Brix::Bench {

namespace {

// kTemplates are the plugin's routes in the order it registers them.
constexpr std::array<std::string_view, 7> kTemplates = {
    "/hux-game-queues/v1/queues",
    "/hux-game-queues/v1/queues/{id}",
    "/hux-game-queues/v1/queues/type/{queueType}",
    "/hux-game-queues/v1/custom",
    "/hux-game-queues/v1/custom-non-default",
    "/hux-game-queues/v1/game-type-config/{gameTypeConfigId}",
    "/hux-game-queues/v1/game-type-config/{gameTypeConfigId}/map/{mapId}",
};

// kPaths are one request for each route, then one that no route serves.
constexpr std::array<std::string_view, 8> kPaths = {
    "/hux-game-queues/v1/queues",
    "/hux-game-queues/v1/queues/420",
    "/hux-game-queues/v1/queues/type/RANKED_SOLO_5x5",
    "/hux-game-queues/v1/custom",
    "/hux-game-queues/v1/custom-non-default",
    "/hux-game-queues/v1/game-type-config/18",
    "/hux-game-queues/v1/game-type-config/18/map/11",
    "/hux-game-queues/v1/queues/420/members",
};

struct RouteTable {
    std::vector<Rest::Route> routes;
    std::vector<const Rest::Route*> order;
};

const RouteTable& PluginRoutes() {
    static const RouteTable table = [] {
        RouteTable made;
        for (std::string_view pathTemplate : kTemplates) {
            made.routes.push_back(Rest::CompileRoute(MethodCode::Get, {}, pathTemplate));
        }
        for (const Rest::Route& route : made.routes) {
            made.order.push_back(&route);
        }
        return made;
    }();
    return table;
}

void SelectRoute(benchmark::State& state) {
    const RouteTable& table = PluginRoutes();
    const std::string_view path = kPaths.at(static_cast<std::size_t>(state.range(0)));
    state.SetLabel(std::string(path));
    MeasureEach(state, 0, [&] {
        Rest::RequestTarget target;
        target.method = MethodCode::Get;
        target.path = path;
        const bool taken = Rest::SelectRoute(target, table.order, false);
        benchmark::DoNotOptimize(taken);
        benchmark::DoNotOptimize(target);
    });
}

void CompileRoutes(benchmark::State& state) {
    MeasureEach(state, 0, [&] {
        for (std::string_view pathTemplate : kTemplates) {
            Rest::Route route = Rest::CompileRoute(MethodCode::Get, {}, pathTemplate);
            benchmark::DoNotOptimize(route);
        }
    });
}

}  // namespace

BENCHMARK(SelectRoute)->Name("SelectRoute")->ArgName("path")->DenseRange(0, kPaths.size() - 1);
BENCHMARK(CompileRoutes)->Name("CompileRoute/PluginRoutes");

}  // namespace Brix::Bench
