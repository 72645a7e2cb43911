// msgpack_reader_fuzzer.cpp - reading arbitrary bytes as MessagePack, and writing what reads as JSON.
#include <cstddef>
#include <cstdint>
#include <string>

#include "codecs/json_writer.h"
#include "codecs/msgpack_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace Brix;
    Fuzz::QuietLogger();
    std::size_t consumed = size + 1;
    const ConversionStatus read = MsgPack::Read(Fuzz::Text(data, size), &consumed);
    Fuzz::Check(consumed <= size, "the read stops within the input");
    if (!read.Ok()) {
        Fuzz::Check(!read.Message().empty(), "refused bytes have a message");
        return 0;
    }
    // A value that reads is a tree any writer can walk: blobs, NaN and 64-bit numbers included.
    const std::string text = Json::Write(read.Value());
    Fuzz::Check(read.Value().IsEmpty() || !text.empty(), "a value that is not empty writes some text");
    return 0;
}
