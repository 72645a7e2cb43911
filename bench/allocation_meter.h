// allocation_meter.h - heap and pool figures of a benchmark, reported as benchmark counters.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "abi/allocation_stats.h"
#include "binding/binding_property.h"

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

// PoolBytes is the size of the pool pages that hold the out-of-line storage of value's allocation
// context: the pool memory a tree built in that context takes (0 for a value without a context).
double PoolBytes(const BindingProperty& value);

}  // namespace Brix::Bench
