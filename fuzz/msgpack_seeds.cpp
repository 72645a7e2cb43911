// msgpack_seeds.cpp - writes each encoding of a MessagePack test suite file as one seed input:
//     hux_fuzz_msgpack_seeds <suite.json> <folder>
// The suite is a JSON object of groups, each an array of cases whose "msgpack" member lists the
// encodings of one value as hex bytes separated by "-" ("cd-00-01").
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

#include "codecs/json_reader.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Bytes turns "cd-00-01" into its bytes; false for a text that is not hex pairs.
bool Bytes(std::string_view hex, std::string& bytes) {
    bytes.clear();
    std::size_t i = 0;
    while (i < hex.size()) {
        if (i + 1 >= hex.size() || HexDigit(hex[i]) < 0 || HexDigit(hex[i + 1]) < 0) {
            return false;
        }
        bytes += static_cast<char>(HexDigit(hex[i]) * 16 + HexDigit(hex[i + 1]));
        i += 2;
        if (i < hex.size() && hex[i] == '-') {
            ++i;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <suite.json> <folder>\n", argv[0]);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    const Brix::ConversionStatus suite = Brix::Json::Read(text.str());
    if (!file || !suite.Ok()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    int written = 0;
    for (const auto& [group, cases] : suite.Value().Members()) {
        for (const Brix::BindingProperty& testCase : cases.Elements()) {
            for (const Brix::BindingProperty& encoding : testCase.Member("msgpack").Elements()) {
                std::string bytes;
                if (!Bytes(encoding.AsString(), bytes)) {
                    continue;
                }
                const std::string path = std::string(argv[2]) + "/seed-" + std::to_string(written++);
                std::ofstream(path, std::ios::binary) << bytes;
            }
        }
    }
    std::printf("%d seeds written to %s\n", written, argv[2]);
    return 0;
}
