// yaml_benchmarks.cpp - reading YAML into a tree, against a bare libyaml event loop and yaml-cpp.
#include <yaml-cpp/yaml.h>

#include <exception>

#include "bench/allocation_meter.h"
#include "bench/bench_inputs.h"
#include "bench/libyaml_events.h"
#include "codecs/yaml_reader.h"

namespace Brix::Bench {

namespace {

void SetTextThroughput(benchmark::State& state, const BenchInput& input) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.yaml.size()));
}

void YamlReadBrix(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    AllocationMeter meter;
    for (auto _ : state) {
        ConversionStatus read = Yaml::Read(input.yaml);
        benchmark::DoNotOptimize(read);
    }
    meter.Report(state);
    SetTextThroughput(state, input);
}

// The bare loop builds nothing: the floor under any reader on libyaml's parser.
void YamlReadLibyamlEvents(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    AllocationMeter meter;
    for (auto _ : state) {
        const std::size_t events = ParseYamlEvents(input.yaml);
        if (events == 0) {
            state.SkipWithError("libyaml does not parse the input");
            break;
        }
        benchmark::DoNotOptimize(events);
    }
    meter.Report(state);
    SetTextThroughput(state, input);
}

void YamlReadYamlCpp(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    AllocationMeter meter;
    try {
        for (auto _ : state) {
            YAML::Node document = YAML::Load(input.yaml);
            benchmark::DoNotOptimize(document);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    meter.Report(state);
    SetTextThroughput(state, input);
}

const bool registered = RegisterOnInputs("YamlRead/Brix", YamlReadBrix, kAllInputs) &&
                        RegisterOnInputs("YamlRead/LibyamlEvents", YamlReadLibyamlEvents, kAllInputs) &&
                        RegisterOnInputs("YamlRead/YamlCpp", YamlReadYamlCpp, kAllInputs);

}  // namespace

}  // namespace Brix::Bench
