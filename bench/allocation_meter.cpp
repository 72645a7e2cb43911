// allocation_meter.cpp - turning allocation counter differences into benchmark counters.
#include "bench/allocation_meter.h"

#include "bench/heap_block_counter.h"
#include "binding/allocation_context.h"

namespace Brix::Bench {

AllocationMeter::AllocationMeter() noexcept : start(ReadMemoryStats()), startBlocks(HeapBlocksTaken()) {}

void AllocationMeter::Report(benchmark::State& state) const {
    const MemoryStats end = ReadMemoryStats();
    const auto difference = [&](MemoryCounter which) {
        return static_cast<double>(end.Counter(which) - start.Counter(which));
    };
    state.counters["heapB/op"] =
        benchmark::Counter(difference(MemoryCounter::BytesAllocated), benchmark::Counter::kAvgIterations);
    state.counters["allocs/op"] =
        benchmark::Counter(difference(MemoryCounter::Allocations), benchmark::Counter::kAvgIterations);
    if (HeapBlocksCounted()) {
        state.counters["blocks/op"] = benchmark::Counter(static_cast<double>(HeapBlocksTaken() - startBlocks),
                                                         benchmark::Counter::kAvgIterations);
    }
}

double PoolBytes(const BindingProperty& value) {
    AllocationContext* context = value.Context();
    if (context == nullptr) {
        return 0;
    }
    const std::size_t pages = context->Blobs().PageCount() + context->Enums().PageCount() +
                              context->Collections().PageCount() + context->MemberTables().PageCount();
    return static_cast<double>(pages * SmallBlockAllocator::kPageSize);
}

}  // namespace Brix::Bench
