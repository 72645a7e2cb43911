// msgpack_benchmarks.cpp - reading MessagePack into a tree, against msgpack-cxx's unpack.
#include <msgpack.hpp>

#include <exception>

#include "bench/allocation_meter.h"
#include "bench/bench_inputs.h"
#include "codecs/msgpack_reader.h"

namespace Brix::Bench {

namespace {

void MsgPackReadBrix(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    AllocationMeter meter;
    for (auto _ : state) {
        ConversionStatus read = MsgPack::Read(input.msgPack);
        benchmark::DoNotOptimize(read);
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.msgPack.size()));
}

// The peer unpacks into its zone with the default options, which copy strings out of the buffer as
// the plugin's reader does.
void MsgPackReadUnpack(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    AllocationMeter meter;
    try {
        for (auto _ : state) {
            msgpack::object_handle handle = msgpack::unpack(input.msgPack.data(), input.msgPack.size());
            benchmark::DoNotOptimize(handle);
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
    meter.Report(state);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * input.msgPack.size()));
}

const bool registered = RegisterOnInputs("MsgPackRead/Brix", MsgPackReadBrix, kAllInputs) &&
                        RegisterOnInputs("MsgPackRead/MsgpackUnpack", MsgPackReadUnpack, kAllInputs);

}  // namespace

}  // namespace Brix::Bench
