// json_reader_fuzzer.cpp - reading arbitrary bytes as JSON; what reads must write and read back the same,
// and every number must read as the C library's correctly rounded reading of its text.
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "codecs/json_number.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "fuzz/fuzz_support.h"

namespace {

// NumberChecker sees the text of every number that RapidJSON's tokenizer accepts and compares the
// reader's value of it with strtod's (the process runs in the "C" locale).
struct NumberChecker : rapidjson::BaseReaderHandler<rapidjson::UTF8<>, NumberChecker> {
    bool RawNumber(const char* text, rapidjson::SizeType length, bool /*copy*/) {
        using Brix::Fuzz::Check;
        const Brix::Json::Number number = Brix::Json::ReadNumber(std::string_view(text, length));
        if (number.kind == Brix::Json::NumberKind::Unsigned) {
            Check(std::strtoull(text, nullptr, 10) == number.unsignedValue,
                  "an unsigned number reads exactly");
            return true;
        }
        if (number.kind == Brix::Json::NumberKind::Signed) {
            Check(std::strtoll(text, nullptr, 10) == number.signedValue, "a signed number reads exactly");
            return true;
        }
        errno = 0;
        const double reference = std::strtod(text, nullptr);
        const bool overflow = errno == ERANGE && std::isinf(reference);
        if (number.kind == Brix::Json::NumberKind::TooBig) {
            Check(overflow, "only a number beyond the largest double is too big");
        } else {
            Check(
                !overflow && std::bit_cast<uint64_t>(reference) == std::bit_cast<uint64_t>(number.floatValue),
                "a float reads as the nearest double");
        }
        return true;
    }
};

void CheckNumbers(std::string_view text) {
    rapidjson::MemoryStream stream(text.data(), text.size());
    NumberChecker checker;
    rapidjson::Reader reader;
    // Iteratively: the input may nest deeper than any stack.
    reader.Parse<rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseIterativeFlag>(stream, checker);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace Brix;
    Fuzz::QuietLogger();
    CheckNumbers(Fuzz::Text(data, size));
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
