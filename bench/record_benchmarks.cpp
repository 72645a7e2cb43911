// record_benchmarks.cpp - a tree to the matchmaker's records and the published records back to a
// tree, against nlohmann::json's from_json and to_json for the same records.
#include <nlohmann/json.hpp>

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
    MeasureEach(state, 0, [&] {
        std::vector<GameQueueConfig> queues;
        ConversionStatus status;
        ValueToNative(status, queues, scenario.queueList, "<value>", registry);
        benchmark::DoNotOptimize(queues);
    });
}

// The peer's tree is nlohmann's own, read from the same JSON text before the loop. Its from_json
// throws on a tree it cannot take, which stops the benchmark with the exception's message.
void TreeToRecordsNlohmann(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    const nlohmann::json tree = nlohmann::json::parse(scenario.json);
    MeasureEach(state, 0, [&] {
        auto queues = tree.get<std::vector<GameQueueConfig>>();
        benchmark::DoNotOptimize(queues);
    });
}

void RecordsToTreeBrix(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    const TypeRegistry& registry = QueueRegistry();
    MeasureEach(state, 0, [&] {
        BindingProperty value;
        ConversionStatus status;
        NativeToValue(status, value, scenario.queues, registry);
        benchmark::DoNotOptimize(value);
    });
    BindingProperty value;
    ConversionStatus status;
    NativeToValue(status, value, scenario.queues, registry);
    state.counters["poolB"] = PoolBytes(value);
}

void RecordsToTreeNlohmann(benchmark::State& state, InputId id) {
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    MeasureEach(state, 0, [&] {
        nlohmann::json tree = scenario.queues;
        benchmark::DoNotOptimize(tree);
    });
}

const bool registered =
    RegisterOnInputs("TreeToRecords/Brix", TreeToRecordsBrix, kQueueInputs) &&
    RegisterOnInputs("TreeToRecords/NlohmannFromJson", TreeToRecordsNlohmann, kQueueInputs) &&
    RegisterOnInputs("RecordsToTree/Brix", RecordsToTreeBrix, kQueueInputs) &&
    RegisterOnInputs("RecordsToTree/NlohmannToJson", RecordsToTreeNlohmann, kQueueInputs);

}  // namespace

}  // namespace Brix::Bench
