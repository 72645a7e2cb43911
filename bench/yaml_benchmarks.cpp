// yaml_benchmarks.cpp - reading YAML into a tree, against a bare libyaml event loop and yaml-cpp.
#include <yaml-cpp/yaml.h>

#include <cstddef>

#include "bench/allocation_meter.h"
#include "bench/bench_inputs.h"
#include "bench/libyaml_events.h"
#include "codecs/yaml_reader.h"

namespace Brix::Bench {

namespace {

void YamlReadBrix(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.yaml.size(), [&] {
        ConversionStatus read = Yaml::Read(input.yaml);
        benchmark::DoNotOptimize(read);
    });
}

// The bare loop builds nothing: the floor under any reader on libyaml's parser.
void YamlReadLibyamlEvents(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.yaml.size(), "libyaml does not parse the input", [&] {
        const std::size_t events = ParseYamlEvents(input.yaml);
        benchmark::DoNotOptimize(events);
        return events != 0;
    });
}

// yaml-cpp throws on input it cannot read, which stops the benchmark with the exception's message.
void YamlReadYamlCpp(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.yaml.size(), [&] {
        YAML::Node document = YAML::Load(input.yaml);
        benchmark::DoNotOptimize(document);
    });
}

const bool registered = RegisterOnInputs("YamlRead/Brix", YamlReadBrix, kAllInputs) &&
                        RegisterOnInputs("YamlRead/LibyamlEvents", YamlReadLibyamlEvents, kAllInputs) &&
                        RegisterOnInputs("YamlRead/YamlCpp", YamlReadYamlCpp, kAllInputs);

}  // namespace

}  // namespace Brix::Bench
