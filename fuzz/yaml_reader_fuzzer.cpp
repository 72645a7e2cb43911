// yaml_reader_fuzzer.cpp - reading arbitrary text as YAML, and writing what reads as JSON.
#include <cstddef>
#include <cstdint>
#include <string>

#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "codecs/yaml_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace Brix;
    Fuzz::QuietLogger();
    const ConversionStatus read = Yaml::Read(Fuzz::Text(data, size));
    if (!read.Ok()) {
        Fuzz::Check(!read.Message().empty(), "a refused document has a message");
        return 0;
    }
    // Whatever anchors and aliases made of it, the value is a finite tree whose JSON text reads back.
    const std::string text = Json::Write(read.Value());
    const ConversionStatus again = Json::Read(text);
    Fuzz::Check(again.Ok(), "the JSON text of a YAML document reads back");
    return 0;
}
