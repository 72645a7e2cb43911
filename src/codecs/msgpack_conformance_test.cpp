// msgpack_conformance_test.cpp - the MessagePack reader against every vector of msgpack-test-suite.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "binding/base64.h"
#include "codecs/codec_test_support.h"
#include "codecs/json_reader.h"
#include "codecs/msgpack_reader.h"

namespace {

using Brix::BindingProperty;
using Brix::Testing::ByValue;

// HexBytes decodes the suite's "cd-00-01" form.
std::string HexBytes(std::string_view text) {
    std::string bytes;
    for (std::size_t at = 0; at + 1 < text.size(); at += 3) {
        bytes.push_back(static_cast<char>(std::stoul(std::string(text.substr(at, 2)), nullptr, 16)));
    }
    return bytes;
}

// Expected is a case's value (stored under a key that names its type) as ByValue writes it.
std::string Expected(const BindingProperty& testCase) {
    if (const BindingProperty* bignum = testCase.FindMember("bignum")) {
        return std::string(bignum->AsString());
    }
    if (const BindingProperty* binary = testCase.FindMember("binary")) {
        const std::string bytes = HexBytes(binary->AsString());
        return "\"" + Brix::Base64Encode(std::vector<uint8_t>(bytes.begin(), bytes.end())) + "\"";
    }
    for (std::string_view key : {"nil", "bool", "number", "string", "array", "map"}) {
        if (const BindingProperty* value = testCase.FindMember(key)) {
            return ByValue(*value);
        }
    }
    return "no expected value";
}

// Every encoding without an ext type reads to its case's value, compared by numeric value, and uses
// up its bytes; every ext encoding is refused with the invalid-data message.
TEST(MsgPackConformance, ReadsEveryVectorWithoutExtTypesAndRefusesExtTypes) {
    const std::filesystem::path file =
        std::filesystem::path(HUX_CONFORMANCE_DIR) / "msgpack" / "msgpack-test-suite.json";
    const Brix::ConversionStatus suite = Brix::Json::Read(Brix::Testing::ReadFileBytes(file));
    ASSERT_TRUE(suite.Ok() && !suite.Value().IsEmpty()) << file << ": " << suite.Message();
    int cases = 0;
    int encodings = 0;
    int extRefused = 0;
    for (auto [group, groupCases] : suite.Value().Members()) {
        for (const BindingProperty& testCase : groupCases.Elements()) {
            ++cases;
            for (const BindingProperty& encoding : testCase.Member("msgpack").Elements()) {
                ++encodings;
                const std::string bytes = HexBytes(encoding.AsString());
                std::size_t consumed = 0;
                const Brix::ConversionStatus status = Brix::MsgPack::Read(bytes, &consumed);
                const auto type = static_cast<uint8_t>(bytes.at(0));
                if ((type >= 0xC7 && type <= 0xC9) || (type >= 0xD4 && type <= 0xD8)) {  // ext types
                    EXPECT_EQ(status.Message(), "Invalid MessagePack data at position 1.")
                        << encoding.AsString();
                    ++extRefused;
                    continue;
                }
                EXPECT_EQ(status.Ok() ? ByValue(status.Value()) : std::string(status.Message()),
                          Expected(testCase))
                    << group << " " << encoding.AsString();
                EXPECT_EQ(consumed, bytes.size()) << group << " " << encoding.AsString();
            }
        }
    }
    EXPECT_EQ(cases, 85);
    EXPECT_EQ(encodings, 233);
    EXPECT_EQ(extRefused, 30);
}

}  // namespace
