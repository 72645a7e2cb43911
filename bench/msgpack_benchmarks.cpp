// msgpack_benchmarks.cpp - reading MessagePack into a tree, against msgpack-cxx's unpack.
#include <msgpack.hpp>

#include "bench/allocation_meter.h"
#include "bench/bench_inputs.h"
#include "codecs/msgpack_reader.h"

namespace Brix::Bench {

namespace {

void MsgPackReadBrix(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.msgPack.size(), [&] {
        ConversionStatus read = MsgPack::Read(input.msgPack);
        benchmark::DoNotOptimize(read);
    });
}

// The peer unpacks into its zone with the default options, which copy strings out of the buffer as
// the plugin's reader does. It throws on input it cannot read, which stops the benchmark with the
// exception's message.
void MsgPackReadUnpack(benchmark::State& state, InputId id) {
    const BenchInput& input = Input(id);
    MeasureEach(state, input.msgPack.size(), [&] {
        msgpack::object_handle handle = msgpack::unpack(input.msgPack.data(), input.msgPack.size());
        benchmark::DoNotOptimize(handle);
    });
}

const bool registered = RegisterOnInputs("MsgPackRead/Brix", MsgPackReadBrix, kAllInputs) &&
                        RegisterOnInputs("MsgPackRead/MsgpackUnpack", MsgPackReadUnpack, kAllInputs);

}  // namespace

}  // namespace Brix::Bench
