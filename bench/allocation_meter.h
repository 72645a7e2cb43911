// allocation_meter.h - heap and pool figures of a benchmark, reported as benchmark counters.
#pragma once

#include <benchmark/benchmark.h>

#include "abi/allocation_stats.h"
#include "binding/binding_property.h"

namespace Brix::Bench {

// AllocationMeter measures the heap traffic of a benchmark's loop through the plugin's allocation
// counters. The benchmarks replace the global operator new and delete with the plugin's counting
// ones, so every C++ allocation of the measured code is counted, as it is in the plugin library, and
// so is every block of a peer library that allocates through the counting wrappers. Blocks taken
// straight from malloc are not, nor are the value model's pool pages, which come from mapped regions:
// PoolBytes reports those.
//
//     AllocationMeter meter;
//     for (auto _ : state) { ... }
//     meter.Report(state);
class AllocationMeter {
public:
    AllocationMeter() noexcept : start(ReadMemoryStats()) {}

    // Report sets the counters "heapB/op" (usable bytes allocated) and "allocs/op" (blocks allocated),
    // averaged over the iterations since the meter was made.
    void Report(benchmark::State& state) const;

private:
    MemoryStats start;
};

// PoolBytes is the size of the pool pages that hold the out-of-line storage of value's allocation
// context: the pool memory a tree built in that context takes (0 for a value without a context).
double PoolBytes(const BindingProperty& value);

}  // namespace Brix::Bench
