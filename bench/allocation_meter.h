// allocation_meter.h - heap and pool figures of a benchmark, reported as benchmark counters.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <type_traits>
#include <utility>

#include "binding/binding_property.h"
#include "host_values/allocation_stats.h"

namespace Brix::Bench {

// AllocationMeter measures the heap traffic of a benchmark's loop in two ways. The plugin's allocation
// counters see every C++ allocation of the measured code, as they do in the plugin library (the
// benchmarks replace the global operator new and delete with the plugin's counting ones), and every
// block of a peer that allocates through the counting wrappers. The heap block counter
// (heap_block_counter.h) sees every block taken from the C heap by anyone, C libraries such as
// libyaml and zlib included, which the plugin's counters miss. Neither sees the value model's pool
// pages, which come from mapped regions: PoolBytes reports those.
//
//     AllocationMeter meter;
//     for (auto _ : state) { ... }
//     meter.Report(state);
//
// MeasureEach below wraps that loop around one operation.
class AllocationMeter {
public:
    AllocationMeter() noexcept;

    // Report sets the counters "heapB/op" (usable bytes allocated) and "allocs/op" (blocks allocated)
    // of the plugin's counters, and "blocks/op" (every block taken from the C heap; absent where that
    // is not counted), averaged over the iterations since the meter was made.
    void Report(benchmark::State& state) const;

private:
    MemoryStats start;
    uint64_t startBlocks;
};

// MeasureEach runs operation once an iteration of state's loop under an AllocationMeter, then reports
// the meter and, where bytesPerIteration is not 0, the bytes processed. The operation keeps its result
// with benchmark::DoNotOptimize. One that can fail returns false when it does, which stops the benchmark
// with the error text failure; one that throws a std::exception stops it with the exception's message.
//
//     MeasureEach(state, input.json.size(), "RapidJSON does not read the input", [&] {
//         PeerDocument document;
//         document.Parse(input.json.data(), input.json.size());
//         benchmark::DoNotOptimize(document);
//         return !document.HasParseError();
//     });
template <typename Operation>
void MeasureEach(benchmark::State& state, std::size_t bytesPerIteration, const char* failure,
                 Operation&& operation) {
    AllocationMeter meter;
    try {
        for (auto _ : state) {
            if constexpr (std::is_void_v<std::invoke_result_t<Operation&>>) {
                operation();
            } else if (!operation()) {
                state.SkipWithError(failure);
                break;
            }
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    meter.Report(state);
    if (bytesPerIteration != 0) {
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                                static_cast<int64_t>(bytesPerIteration));
    }
}

// MeasureEach with an operation that cannot fail (returns nothing).
template <typename Operation>
void MeasureEach(benchmark::State& state, std::size_t bytesPerIteration, Operation&& operation) {
    static_assert(std::is_void_v<std::invoke_result_t<Operation&>>,
                  "an operation that can fail names its failure");
    MeasureEach(state, bytesPerIteration, nullptr, std::forward<Operation>(operation));
}

// PoolBytes is the size of the pool pages that hold the out-of-line storage of value's allocation
// context: the pool memory a tree built in that context takes (0 for a value without a context).
double PoolBytes(const BindingProperty& value);

}  // namespace Brix::Bench
