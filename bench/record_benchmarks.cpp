// record_benchmarks.cpp - a tree to the matchmaker's records and the published records back to a
// tree, against nlohmann::json's from_json and to_json for the same records.
#include <nlohmann/json.hpp>

#include <exception>
#include <vector>

#include "bench/allocation_meter.h"
#include "bench/bench_inputs.h"
#include "bench/nlohmann_records.h"
#include "bench/queue_scenario.h"
#include "binding/value_conversion.h"

namespace Brix::Bench {

namespace {

using GameQueues::Lcds::GameQueueConfig;

void TreeToRecordsBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    const TypeRegistry& registry = QueueRegistry();
    AllocationMeter meter;
    for (auto _ : state) {
        std::vector<GameQueueConfig> queues;
        ConversionStatus status;
        ValueToNative(status, queues, scenario.queueList, "<value>", registry);
        benchmark::DoNotOptimize(queues);
    }
    meter.Report(state);
}

// The peer's tree is nlohmann's own, read from the same JSON text before the loop.
void TreeToRecordsNlohmann(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    const nlohmann::json tree = nlohmann::json::parse(scenario.json);
    AllocationMeter meter;
    try {
        for (auto _ : state) {
            auto queues = tree.get<std::vector<GameQueueConfig>>();
            benchmark::DoNotOptimize(queues);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    meter.Report(state);
}

void RecordsToTreeBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    const TypeRegistry& registry = QueueRegistry();
    AllocationMeter meter;
    for (auto _ : state) {
        BindingProperty value;
        ConversionStatus status;
        NativeToValue(status, value, scenario.queues, registry);
        benchmark::DoNotOptimize(value);
    }
    meter.Report(state);
    BindingProperty value;
    ConversionStatus status;
    NativeToValue(status, value, scenario.queues, registry);
    state.counters["poolB"] = PoolBytes(value);
}

void RecordsToTreeNlohmann(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    AllocationMeter meter;
    for (auto _ : state) {
        nlohmann::json tree = scenario.queues;
        benchmark::DoNotOptimize(tree);
    }
    meter.Report(state);
}

const bool registered =
    RegisterOnInputs("TreeToRecords/Brix", TreeToRecordsBrix, kQueueInputs) &&
    RegisterOnInputs("TreeToRecords/NlohmannFromJson", TreeToRecordsNlohmann, kQueueInputs) &&
    RegisterOnInputs("RecordsToTree/Brix", RecordsToTreeBrix, kQueueInputs) &&
    RegisterOnInputs("RecordsToTree/NlohmannToJson", RecordsToTreeNlohmann, kQueueInputs);

}  // namespace

}  // namespace Brix::Bench
