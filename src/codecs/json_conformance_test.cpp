// json_conformance_test.cpp - the JSON reader against every parsing case of JSONTestSuite.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "codecs/json_reader.h"
#include "codecs/msgpack_yaml_conformance_support.h"

namespace {

namespace fs = std::filesystem;

// Every y_ case is accepted and every n_ case rejected, with one deliberate exception: a blank text
// is the empty body, which the reader accepts as the empty value (n_single_space and
// n_structure_no_data). No i_ case may crash.
TEST(JsonConformance, AcceptsEveryValidAndRejectsEveryInvalidCase) {
    const fs::path folder = fs::path(HUX_CONFORMANCE_DIR) / "json" / "test_parsing";
    ASSERT_TRUE(fs::is_directory(folder)) << "The JSON conformance cases are missing: " << folder
                                          << " must hold JSONTestSuite's test_parsing files.";

    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".json") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 318u);

    std::map<char, int> accepted;
    std::map<char, int> rejected;
    std::vector<std::string> blankCases;
    for (const fs::path& path : files) {
        const std::string name = path.filename().string();
        const char expectation = name[0];
        const std::string bytes = Brix::Testing::ReadFileBytes(path);
        const Brix::ConversionStatus status = Brix::Json::Read(bytes);
        if (bytes.find_first_not_of(" \t\n\r") == std::string::npos) {
            EXPECT_TRUE(status.Ok() && status.Value().IsEmpty()) << name << ": " << status.Message();
            blankCases.push_back(name);
            continue;
        }
        ++(status.Ok() ? accepted : rejected)[expectation];
        if (expectation == 'y') {
            EXPECT_TRUE(status.Ok()) << name << ": " << status.Message();
        } else if (expectation == 'n') {
            EXPECT_FALSE(status.Ok()) << name << " was accepted";
        }
    }

    EXPECT_EQ(accepted['y'], 95);
    EXPECT_EQ(rejected['n'], 186);
    EXPECT_EQ(blankCases, (std::vector<std::string>{"n_single_space.json", "n_structure_no_data.json"}));
    EXPECT_EQ(accepted['i'] + rejected['i'], 35);
}

}  // namespace
