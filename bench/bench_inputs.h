// bench_inputs.h - the documents that every reader and writer is measured on, in each text form.
#pragma once

#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "binding/binding_property.h"

namespace Brix::Bench {

// InputId names the three documents: the recorded platform's 41-queue matchmaker answer, the same
// scenario at 1,000 queues (queue_scenario.h), and the generated mixed document (mixed_document.h).
enum class InputId { Queues41, Queues1000, Mixed };

inline constexpr std::array<InputId, 3> kAllInputs = {InputId::Queues41, InputId::Queues1000, InputId::Mixed};
inline constexpr std::array<InputId, 2> kQueueInputs = {InputId::Queues41, InputId::Queues1000};

// BenchInput is one document in every form a reader takes it in. json is the compact JSON text of
// tree as the plugin's writer writes it, and the canonical form against which every reader's result
// is compared; msgPack and yaml are made from the tree by msgpack_encoding.h and yaml_emitting.h.
struct BenchInput {
    BindingProperty tree;
    std::string json;
    std::string msgPack;
    std::string yaml;
};

// InputName is the name an input gives the benchmarks run on it: "queues:41", "queues:1000",
// "mixed:1MB".
std::string_view InputName(InputId id);

// QueueCountOf is the number of queues of a queue input (0 for the mixed document).
std::size_t QueueCountOf(InputId id);

// Input is the input, made on first use and kept. That every reader, ours and the peers', reads each
// form as the same document is checked once before anything is timed (peer_agreement.h).
const BenchInput& Input(InputId id);

// InputBenchmark is a benchmark function measured on one input.
using InputBenchmark = void (*)(benchmark::State& state, InputId input);

// RegisterOnInputs registers function once per input, as "<name>/<input name>", and returns true (to
// initialise a namespace-scope flag, so that registration runs before main as BENCHMARK's does). Out
// of memory there ends the process.
bool RegisterOnInputs(std::string_view name, InputBenchmark function,
                      std::span<const InputId> inputs) noexcept;

}  // namespace Brix::Bench
