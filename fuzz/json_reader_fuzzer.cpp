// json_reader_fuzzer.cpp - reading arbitrary bytes as JSON; what reads must write and read back the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace Brix;
    Fuzz::QuietLogger();
    const ConversionStatus read = Json::Read(Fuzz::Text(data, size));
    if (!read.Ok()) {
        Fuzz::Check(!read.Message().empty(), "a refused document has a message");
        return 0;
    }
    // The compact text of a document is a fixed point: it reads back, and writes as itself. (The value
    // itself may change kind: -0 reads as a signed zero, which writes as 0 and reads back unsigned.)
    const std::string compact = Json::Write(read.Value());
    const ConversionStatus again = Json::Read(compact);
    Fuzz::Check(again.Ok(), "the written text of a document reads back");
    Fuzz::Check(Json::Write(again.Value()) == compact, "the written text reads back as the same document");
    const ConversionStatus pretty = Json::Read(Json::Write(read.Value(), nullptr, "\r\n"));
    Fuzz::Check(pretty.Ok(), "the pretty text of a document reads back");
    Fuzz::Check(Json::Write(pretty.Value()) == compact, "the pretty text reads back as the same document");
    return 0;
}
