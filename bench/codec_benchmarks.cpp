// codec_benchmarks.cpp - reading the queue list as MessagePack and as YAML.
#include <string>

#include "bench/allocation_meter.h"
#include "bench/queue_scenario.h"
#include "codecs/msgpack_reader.h"
#include "codecs/yaml_reader.h"

namespace Brix::Bench {

namespace {

void MsgPackRead(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        ConversionStatus read = MsgPack::Read(scenario.msgPack);
        benchmark::DoNotOptimize(read);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.msgPack.size()));
}

void YamlRead(benchmark::State& state) {
    const QueueScenario& scenario = Scenario(static_cast<std::size_t>(state.range(0)));
    AllocationMeter meter;
    for (auto _ : state) {
        ConversionStatus read = Yaml::Read(scenario.yaml);
        benchmark::DoNotOptimize(read);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * scenario.yaml.size()));
}

}  // namespace

BENCHMARK(MsgPackRead)->Name("MsgPackRead/Brix")->Apply(QueueCounts);
BENCHMARK(YamlRead)->Name("YamlRead/Brix")->Apply(QueueCounts);

}  // namespace Brix::Bench
