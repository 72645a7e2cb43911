// msgpack_conformance_test.cpp - the MessagePack reader against every vector of msgpack-test-suite.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "codecs/json_reader.h"
#include "codecs/msgpack_reader.h"
#include "codecs/msgpack_yaml_conformance_support.h"

namespace {

namespace fs = std::filesystem;
using Brix::BindingProperty;

// HexBytes decodes the suite's "cd-00-01" form.
std::vector<uint8_t> HexBytes(std::string_view text) {
    std::vector<uint8_t> bytes;
    for (std::size_t at = 0; at + 1 < text.size(); at += 3) {
        bytes.push_back(static_cast<uint8_t>(std::stoul(std::string(text.substr(at, 2)), nullptr, 16)));
    }
    return bytes;
}

bool IsExtType(uint8_t type) {
    return (type >= 0xC7 && type <= 0xC9) || (type >= 0xD4 && type <= 0xD8);
}

// ExpectedValue turns a case's expected value (stored under a key that names its type) into the value
// the reader should give. false when the case has none of the known keys.
bool ExpectedValue(const BindingProperty& testCase, BindingProperty& expected) {
    if (const BindingProperty* bignum = testCase.FindMember("bignum")) {
        const std::string text(bignum->AsString());
        if (text.starts_with("-")) {
            expected.SetSigned(static_cast<int64_t>(std::stoll(text)));
        } else {
            expected.SetUnsigned(static_cast<uint64_t>(std::stoull(text)));
        }
        return true;
    }
    if (const BindingProperty* binary = testCase.FindMember("binary")) {
        expected.SetBlob(HexBytes(binary->AsString()));
        return true;
    }
    for (std::string_view key : {"nil", "bool", "number", "string", "array", "map"}) {
        if (const BindingProperty* value = testCase.FindMember(key)) {
            expected = *value;
            return true;
        }
    }
    return false;
}

// Every encoding without an ext type reads to its case's value, compared by numeric value, and uses
// up its bytes; every ext encoding is refused with the invalid-data message.
TEST(MsgPackConformance, ReadsEveryVectorWithoutExtTypesAndRefusesExtTypes) {
    const fs::path file = fs::path(HUX_CONFORMANCE_DIR) / "msgpack" / "msgpack-test-suite.json";
    const std::string text = Brix::Testing::ReadFileBytes(file);
    ASSERT_FALSE(text.empty()) << "The MessagePack conformance vectors are missing: " << file;
    const Brix::ConversionStatus suite = Brix::Json::Read(text);
    ASSERT_TRUE(suite.Ok()) << suite.Message();

    int cases = 0;
    int passed = 0;
    int extRefused = 0;
    int failed = 0;
    for (auto [group, groupCases] : suite.Value().Members()) {
        for (const BindingProperty& testCase : groupCases.Elements()) {
            ++cases;
            BindingProperty expected;
            const bool hasValue = ExpectedValue(testCase, expected);
            for (const BindingProperty& encoding : testCase.Member("msgpack").Elements()) {
                const std::vector<uint8_t> bytes = HexBytes(encoding.AsString());
                const std::string_view input(reinterpret_cast<const char*>(bytes.data()), bytes.size());
                std::size_t consumed = 0;
                const Brix::ConversionStatus status = Brix::MsgPack::Read(input, &consumed);
                const std::string label = std::string(group) + " " + std::string(encoding.AsString());
                if (IsExtType(bytes.at(0))) {
                    EXPECT_EQ(status.Message(), "Invalid MessagePack data at position 1.") << label;
                    (status.Message() == "Invalid MessagePack data at position 1." ? extRefused : failed) +=
                        1;
                    continue;
                }
                std::string where;
                const bool same = hasValue && status.Ok() && consumed == bytes.size() &&
                                  Brix::Testing::SameValue(status.Value(), expected, where);
                EXPECT_TRUE(same) << label << ": " << status.Message() << " at " << where << ", " << consumed
                                  << " bytes used";
                (same ? passed : failed) += 1;
            }
        }
    }

    EXPECT_EQ(cases, 85);
    EXPECT_EQ(passed + extRefused, 233);
    EXPECT_EQ(extRefused, 30);
}

}  // namespace
