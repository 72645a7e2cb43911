// hux_host_help_examples_test.cpp - every example in hux-host's help texts runs as written from the
// repository's root and succeeds, with the plugin found where the build puts it beside hux-host.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"

namespace HuxTest {
namespace {

constexpr const char* kHost = HUX_HOST_PATH;
constexpr const char* kScenarios = HUX_SCENARIO_DIR;
constexpr std::string_view kExample = "  hux-host ";

// Examples are the argument lists of the lines of text that start with kExample; a redirection of
// standard output ends the arguments (the test keeps the output itself).
std::vector<std::vector<std::string>> Examples(const std::string& text) {
    std::vector<std::vector<std::string>> examples;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(kExample, 0) != 0) {
            continue;
        }
        std::istringstream words(line.substr(kExample.size()));
        std::vector<std::string>& arguments = examples.emplace_back(std::vector<std::string>{kHost});
        for (std::string word; words >> word && word != ">";) {
            arguments.push_back(word);
        }
    }
    return examples;
}

TEST(HuxHostHelp, EveryExampleRunsAsWrittenFromTheRepositoryRoot) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(kScenarios).parent_path());
    std::vector<std::vector<std::string>> examples;
    for (const char* topic : {"", "run", "get", "serve", "help"}) {
        std::vector<std::string> asked = {kHost, "--help"};
        if (*topic != '\0') {
            asked.insert(asked.begin() + 1, topic);
        }
        const ProcessOutput help = RunProgram(asked);
        ASSERT_EQ(help.exitCode, 0) << topic << ": " << help.err;
        for (std::vector<std::string>& example : Examples(help.out)) {
            examples.push_back(std::move(example));
        }
    }
    // The general help's five, run's five, get's four and serve's one; help's help is the general one.
    EXPECT_EQ(examples.size(), 20u);
    for (std::vector<std::string> example : examples) {
        std::string written;
        for (std::size_t i = 1; i < example.size(); ++i) {
            written += " " + example[i];
        }
        const bool serves = example[1] == "serve" && example.back() != "--help";
        if (serves) {
            // A server ends by itself; another at the same fixed port is not this example's fault.
            example.insert(example.end(), {"--exit-after-seconds", "1"});
        }
        const ProcessOutput ran = RunProgram(example);
        if (serves && ran.err.find(": address in use\n") != std::string::npos) {
            std::cout << "skipped hux-host" << written << ": its port is in use by another program\n";
            continue;
        }
        EXPECT_EQ(ran.exitCode, 0) << "hux-host" << written << "\n" << ran.err;
        EXPECT_EQ(ran.err, "") << "hux-host" << written;
    }
    std::filesystem::current_path(before);
}

}  // namespace
}  // namespace HuxTest
