// queue_list_benchmarks.cpp - building the published queue list from the matchmaker's queues, at sizes
// that show how its cost grows with the list.
#include <vector>

#include "bench/allocation_meter.h"
#include "bench/queue_scenario.h"
#include "queues/model/queue_builder.h"

namespace Brix::Bench {

namespace {

void BuildQueueList(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    const GameQueues::QueueBuildInputs inputs = scenario.Inputs();
    MeasureEach(state, 0, [&] {
        MaybeType<std::vector<GameQueues::Api::Queue>> queues =
            GameQueues::BuildQueueList(scenario.matchmakerQueues, inputs);
        benchmark::DoNotOptimize(queues);
    });
    state.counters["queues"] = static_cast<double>(scenario.matchmakerQueues.size());
}

}  // namespace

BENCHMARK(BuildQueueList)->Name("BuildQueueList")->ArgName("queues")->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace Brix::Bench
