// scenario_loader_test.cpp - reading scenarios: what a valid one holds, and where a broken one is
// broken.
#include "scenario_loader.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "system_files.h"

namespace HuxHost {
namespace {

using Brix::PluginResourceEventType;

constexpr std::string_view kScenario = R"({
  "resources": {"/hux-login/v1/session": {"state": "SUCCEEDED"}, "/b": [1, 2]},
  "matchmaker": {"answer": "plain", "queues": [{"id": 420}]},
  "timeline": [{"update": "/b", "value": null}, {"delete": "/hux-login/v1/session"}]
})";

std::string Failure(std::string_view text, ScenarioFormat format = ScenarioFormat::Json) {
    Brix::MaybeType<Scenario> scenario = ParseScenario(text, "s", format);
    return scenario ? "no failure" : scenario.Error().Message();
}

// The shipped scenarios, which the hux-host tests run, use neither a plain matchmaker answer nor a
// deleting step.
TEST(ScenarioLoader, ReadsThePartsTheShippedScenariosDoNotUse) {
    Brix::MaybeType<Scenario> json = ParseScenario(kScenario, "two.json", ScenarioFormat::Json);
    ASSERT_TRUE(json) << json.Error().Message();
    const Scenario& scenario = json.Value();
    EXPECT_EQ(scenario.source, "two.json");
    ASSERT_EQ(scenario.resources.size(), 2u);
    EXPECT_EQ(scenario.resources[1].first, "/hux-login/v1/session");
    ASSERT_TRUE(scenario.matchmaker);
    EXPECT_EQ(scenario.matchmaker->answer, MatchmakerAnswer::Plain);
    ASSERT_EQ(scenario.timeline.size(), 2u);
    EXPECT_EQ(scenario.timeline[0].type, PluginResourceEventType::Update);
    EXPECT_TRUE(scenario.timeline[0].value.IsEmpty());
    EXPECT_EQ(scenario.timeline[1].type, PluginResourceEventType::Delete);
    EXPECT_EQ(scenario.timeline[1].uri, "/hux-login/v1/session");
    EXPECT_EQ(FormatOfPath("a.yml"), ScenarioFormat::Yaml);
    EXPECT_EQ(FormatOfPath("a.yaml.json"), ScenarioFormat::Json);
}

TEST(ScenarioLoader, SyntaxErrorsNameTheSourceLineAndColumn) {
    EXPECT_EQ(Failure("{\n  \"resources\": {\n    \"/a\": tru\n  }\n}"), "s:3:14: Invalid value.");
    EXPECT_EQ(Failure("{\"resources\": {}}\n{}"),
              "s:2:1: The document root must not be followed by other values.");
    // libyaml counts from 0; the message counts from 1 like the JSON one.
    EXPECT_EQ(Failure("resources:\n  /a: [1, 2\n", ScenarioFormat::Yaml),
              "s:3:1: YAML parser error: did not find expected ',' or ']'.");
    EXPECT_EQ(Failure("a: *nowhere\n", ScenarioFormat::Yaml),
              "s:1:4: Undefined alias encountered: \"nowhere\".");
    EXPECT_EQ(Failure(" \n"), "s: the scenario is empty");
    // The name's extension picks the reader: YAML in a JSON file is told so.
    EXPECT_EQ(
        Failure("resources:\n  /a: 1\n"),
        "s:1:1: Invalid value. The text reads as YAML, and a scenario is read as YAML only when its name "
        "ends in \".yaml\" or \".yml\".");
}

TEST(ScenarioLoader, MisshapenScenariosNameThePlaceAndTheProblem) {
    const std::vector<std::pair<std::string_view, std::string_view>> cases = {
        {R"([1])",
         R"(s: expected an object with "resources", "matchmaker", "translations" and "timeline", found a list)"},
        {R"({"resource": {}})",
         R"(s: resource: unknown key (expected one of "description", "resources", "matchmaker", "translations", "timeline"))"},
        {R"({"resources": {"a/b": 1}})", R"(s: resources["a/b"]: a resource URI starts with "/")"},
        {R"({"matchmaker": {"queues": []}})",
         R"(s: matchmaker: "answer" is missing ("compressed", "plain" or "failing"))"},
        {R"({"matchmaker": {"answer": "zip"}})",
         R"(s: matchmaker.answer: expected "compressed", "plain" or "failing", found "zip")"},
        {R"({"matchmaker": {"answer": "plain"}})",
         R"(s: matchmaker: "queues" is missing: the matchmaker answers with a list of queues)"},
        {R"({"matchmaker": {"answer": "plain", "queues": [{"id": 1}, {"id": "2"}]}})",
         R"(s: matchmaker.queues[1].id: expected an integer, found "2")"},
        {R"({"matchmaker": {"answer": "compressed", "queues": [], "delayYields": -1}})",
         R"(s: matchmaker.delayYields: expected a number of yields from 0 to 10000, found -1)"},
        {R"({"matchmaker": {"answer": "failing", "queues": []}})",
         R"(s: matchmaker.queues: a failing matchmaker answers no queues, so it takes neither "queues" nor "delayYields")"},
        {R"({"matchmaker": {"answer": "failing", "error": {"status": 99}}})",
         R"(s: matchmaker.error.status: expected an HTTP status from 100 to 599, found 99)"},
        {R"({"matchmaker": {"answer": "plain", "queues": [], "error": {}}})",
         R"(s: matchmaker.error: only a failing matchmaker takes an "error")"},
        {R"({"translations": []})",
         R"(s: translations: expected an object of queue id to texts, found a list)"},
        {R"({"timeline": [{"update": "/a"}]})", R"(s: timeline[0]: an update needs a "value")"},
        {R"({"timeline": [{"update": "/a", "delete": "/a"}]})",
         R"(s: timeline[0]: a step has either "update" (with "value") or "delete")"},
        {R"({"timeline": [{"delete": "/a", "value": 1}]})",
         R"(s: timeline[0].value: unknown key (expected one of "delete"))"},
        {R"({"translations": {"4x": {}}})", R"(s: translations["4x"]: a queue id is an integer)"},
        {R"({"translations": {"420": "Solo"}})",
         R"(s: translations["420"]: expected an object of texts, found "Solo")"},
        {R"({"translations": {"420": {"nam": ""}}})",
         R"(s: translations["420"].nam: unknown key (expected one of "name", "shortName", "description", "detailedDescription"))"},
        {R"({"translations": {"420": {"name": 5}}})",
         R"(s: translations["420"].name: expected a text, found 5)"},
        // The readers would merge a repeated key; it is refused in either notation.
        {R"({"timeline": [], "timeline": []})", R"(s: key "timeline" appears twice)"},
        {R"({"resources": {"/a": [1], "/a": {"b": [2]}}})", R"(s: resources: key "/a" appears twice)"},
        {R"({"matchmaker": {"answer": "plain", "queues": [{"id": 1}, [], {"id": 2, "i\u0064": 3}]}})",
         R"(s: matchmaker.queues[2]: key "id" appears twice)"},
        {R"({"translations": {"420": {"name": "", "name": ""}}})",
         R"(s: translations["420"]: key "name" appears twice)"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(Failure(text), message) << text;
    }
    EXPECT_EQ(Failure("matchmaker:\n  answer: plain\n  queues:\n    - id: 1\n    - {id: 2, 'id': 3}\n",
                      ScenarioFormat::Yaml),
              R"(s: matchmaker.queues[1]: key "id" appears twice)");
    EXPECT_EQ(Failure("resources: {}\ntimeline: []\nresources: {}\n", ScenarioFormat::Yaml),
              R"(s: key "resources" appears twice)");
}

TEST(ScenarioLoader, OnlyAnExistingRegularFileOfAtMost64MebibytesIsRead) {
    // A sparse file one byte past the limit takes no room on the disk.
    const std::string large = testing::TempDir() + std::to_string(getpid()) + "-large.json";
    std::ofstream(large).put('[');
    std::filesystem::resize_file(large, (std::uintmax_t{64} << 20u) + 1);
    const std::string folder = testing::TempDir() + std::to_string(getpid()) + "-folder.json";
    std::filesystem::create_directory(folder);

    std::vector<std::pair<std::string, std::string>> cases = {
        {folder, folder + ": the scenario must be a regular file, not a folder"},
        {large, large + ": the scenario is larger than 64 MiB (67108864 bytes)"},
        {"/nonexistent.json", "/nonexistent.json: cannot open the scenario: No such file or directory"},
    };
    if (const std::string device = HuxTest::DeviceFilePath(); !device.empty()) {
        cases.emplace_back(device, device + ": the scenario must be a regular file, not a device");
    }
    for (const auto& [path, message] : cases) {
        Brix::MaybeType<Scenario> loaded = LoadScenarioFile(path);
        EXPECT_EQ(loaded ? "no failure" : loaded.Error().Message(), message);
    }
    std::filesystem::remove(large);
    std::filesystem::remove(folder);
}

}  // namespace
}  // namespace HuxHost
