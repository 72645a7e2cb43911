// json_conformance_test.cpp - the JSON reader against every parsing case of JSONTestSuite.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "codecs/codec_test_support.h"
#include "codecs/json_reader.h"

namespace {

namespace fs = std::filesystem;

// Every y_ case is accepted and every n_ case rejected, with one deliberate exception: a blank text
// is the empty body, which the reader accepts as the empty value. No i_ case may crash.
TEST(JsonConformance, AcceptsEveryValidAndRejectsEveryInvalidCase) {
    const std::vector<fs::path> files =
        Brix::Testing::CaseFiles(fs::path(HUX_CONFORMANCE_DIR) / "json" / "test_parsing");
    ASSERT_EQ(files.size(), 318u);
    std::map<std::string, int> counts;
    std::vector<std::string> blankCases;
    for (const fs::path& path : files) {
        const std::string name = path.filename().string();
        const std::string bytes = Brix::Testing::ReadFileBytes(path);
        const Brix::ConversionStatus status = Brix::Json::Read(bytes);
        if (bytes.find_first_not_of(" \t\n\r") == std::string::npos) {
            EXPECT_TRUE(status.Ok() && status.Value().IsEmpty()) << name << ": " << status.Message();
            blankCases.push_back(name);
            continue;
        }
        ++counts[name.substr(0, 1) + (status.Ok() ? " accepted" : " rejected")];
        EXPECT_TRUE(name[0] == 'i' || status.Ok() == (name[0] == 'y')) << name << ": " << status.Message();
    }
    EXPECT_EQ(counts["y accepted"], 95);
    EXPECT_EQ(counts["n rejected"], 186);
    EXPECT_EQ(counts["i accepted"] + counts["i rejected"], 35);
    EXPECT_EQ(blankCases, (std::vector<std::string>{"n_single_space.json", "n_structure_no_data.json"}));
}

}  // namespace
