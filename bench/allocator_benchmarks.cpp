// allocator_benchmarks.cpp - the value model's block pools against the plugin's operator new and delete.
#include <array>
#include <cstddef>
#include <new>

#include "bench/allocation_meter.h"
#include "binding/block_pool.h"

namespace Brix::Bench {

namespace {

// kBlocks is the number of blocks a round holds at once: about what a queue list's tree holds of its
// commonest block size.
constexpr std::size_t kBlocks = 512;

// Both benchmarks take kBlocks blocks of one size and give them back, in the order of taking and then,
// to mix the free lists, every other block first. The pool lives across rounds, as an allocation
// context does while a tree is built and rebuilt; the plain form goes through the global operator new
// and delete, which in the plugin are the counting ones.

void BlockPoolRounds(benchmark::State& state) {
    const auto blockSize = static_cast<std::size_t>(state.range(0));
    BlockPool pool(blockSize);
    std::array<void*, kBlocks> blocks{};
    MeasureEach(state, 0, [&] {
        for (void*& block : blocks) {
            block = pool.Allocate();
        }
        benchmark::DoNotOptimize(blocks);
        for (std::size_t i = 0; i < kBlocks; i += 2) {
            pool.Free(blocks[i]);
        }
        for (std::size_t i = 0; i < kBlocks; i += 2) {
            blocks[i] = pool.Allocate();
        }
        benchmark::DoNotOptimize(blocks);
        for (void* block : blocks) {
            pool.Free(block);
        }
    });
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBlocks * 3 / 2));
}

void OperatorNewRounds(benchmark::State& state) {
    const auto blockSize = static_cast<std::size_t>(state.range(0));
    std::array<void*, kBlocks> blocks{};
    MeasureEach(state, 0, [&] {
        for (void*& block : blocks) {
            block = ::operator new(blockSize);
        }
        benchmark::DoNotOptimize(blocks);
        for (std::size_t i = 0; i < kBlocks; i += 2) {
            ::operator delete(blocks[i]);
        }
        for (std::size_t i = 0; i < kBlocks; i += 2) {
            blocks[i] = ::operator new(blockSize);
        }
        benchmark::DoNotOptimize(blocks);
        for (void* block : blocks) {
            ::operator delete(block);
        }
    });
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kBlocks * 3 / 2));
}

// The block sizes of an allocation context's pools on 64-bit targets: enum cells, blob and element
// vectors, member tables.
void BlockSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgName("bytes")->Arg(16)->Arg(24)->Arg(48);
}

}  // namespace

BENCHMARK(BlockPoolRounds)->Name("SmallBlocks/BlockPool")->Apply(BlockSizes);
BENCHMARK(OperatorNewRounds)->Name("SmallBlocks/OperatorNew")->Apply(BlockSizes);

}  // namespace Brix::Bench
