// bench_inputs.cpp - making the three documents and registering benchmarks on them.
#include "bench/bench_inputs.h"

#include <map>
#include <memory>

#include "bench/mixed_document.h"
#include "bench/msgpack_encoding.h"
#include "bench/queue_scenario.h"
#include "bench/yaml_emitting.h"
#include "codecs/json_writer.h"

namespace Brix::Bench {

namespace {

std::unique_ptr<BenchInput> MakeInput(InputId id) {
    auto input = std::make_unique<BenchInput>();
    if (id == InputId::Mixed) {
        input->tree = MixedDocument();
        input->json = Json::Write(input->tree);
        input->msgPack = EncodeMsgPack(input->tree);
        input->yaml = EmitYaml(input->tree);
        return input;
    }
    const QueueScenario& scenario = Scenario(QueueCountOf(id));
    input->tree = scenario.queueList;
    input->json = scenario.json;
    input->msgPack = scenario.msgPack;
    input->yaml = scenario.yaml;
    return input;
}

}  // namespace

std::string_view InputName(InputId id) {
    switch (id) {
        case InputId::Queues41:
            return "queues:41";
        case InputId::Queues1000:
            return "queues:1000";
        case InputId::Mixed:
            break;
    }
    return "mixed:1MB";
}

std::size_t QueueCountOf(InputId id) {
    switch (id) {
        case InputId::Queues41:
            return kRecordedQueueCount;
        case InputId::Queues1000:
            return kLargeQueueCount;
        case InputId::Mixed:
            break;
    }
    return 0;
}

const BenchInput& Input(InputId id) {
    static std::map<InputId, std::unique_ptr<BenchInput>> inputs;
    std::unique_ptr<BenchInput>& input = inputs[id];
    if (input == nullptr) {
        input = MakeInput(id);
    }
    return *input;
}

bool RegisterOnInputs(std::string_view name, InputBenchmark function,
                      std::span<const InputId> inputs) noexcept {
    for (InputId input : inputs) {
        const std::string fullName = std::string(name) + "/" + std::string(InputName(input));
        benchmark::RegisterBenchmark(fullName.c_str(), function, input);
    }
    return true;
}

}  // namespace Brix::Bench
