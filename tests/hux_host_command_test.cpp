// hux_host_command_test.cpp - the hux-host program's run and get commands, run as a separate process on
// the built plugin and the shipped scenarios.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "binding/binding_property.h"
#include "child_process.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"

namespace HuxTest {
namespace {

constexpr const char* kHost = HUX_HOST_PATH;
constexpr const char* kPlugin = HUX_PLUGIN_PATH;
constexpr const char* kScenarios = HUX_SCENARIO_DIR;

ProcessOutput HuxHost(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), kHost);
    arguments.insert(arguments.end(), {"--plugin", kPlugin});
    return RunProgram(arguments);
}

std::string DefaultScenario() {
    std::ifstream file(std::string(kScenarios) + "/default.json");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string WriteFile(const std::string& name, const std::string& text) {
    std::string path = testing::TempDir() + std::to_string(getpid()) + "-" + name;
    std::ofstream(path) << text;
    return path;
}

TEST(HuxHostRun, TheDefaultScenarioPublishesAndAnswersInTheReportsOrder) {
    const ProcessOutput run = HuxHost({"run"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<std::size_t> sections;
    for (const char* section : {"\n== Log (", "\n== Events (", "\n== Queues (41 published, 27 available)\n",
                                "\n== Routes (7)\n", "\n== Memory ", "\nbefore Stop ", "\nafter Stop "}) {
        sections.push_back(run.out.find(section));
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        ASSERT_NE(sections[i], std::string::npos) << "section " << i << " missing:\n" << run.out;
        if (i > 0) {
            EXPECT_LT(sections[i - 1], sections[i]);
        }
    }
    // The timeline enabled ranked Tarn and disabled SKELV after Start; the translations arrived by then.
    EXPECT_NE(run.out.find(
                  "1210  TARN_RANKED_SOLO    21  TARN           PvP       Available         Ranked Tarn\n"),
              std::string::npos);
    EXPECT_NE(
        run.out.find("\n 450  NORMAL              12  SKELV          PvP       PlatformDisabled  SKELV\n"),
        std::string::npos);
    EXPECT_NE(
        run.out.find("ALWAYS The queues cache is stale. The following queues have changed: 450, 1210\n"),
        std::string::npos);
    // Each route answered, its parameters filled from the first published queue.
    const std::string routes = run.out.substr(sections[3], sections[4] - sections[3]);
    EXPECT_NE(routes.find(
                  "200  GET /hux-game-queues/v1/queues/type/NORMAL         queue 400 NORMAL \"Normal (Draft "
                  "Pick)\", Available\n"),
              std::string::npos);
    EXPECT_NE(routes.find(
                  "200  GET /hux-game-queues/v1/game-type-config/2/map/11  game type config 2 CFG_PRENDA\n"),
              std::string::npos);
    EXPECT_EQ(routes.find("\n5"), std::string::npos) << routes;
    EXPECT_EQ(routes.find("\n4"), std::string::npos) << routes;
}

TEST(HuxHostRun, TheLogIsFoldedFilteredByLevelAndItsLateTranslationErrorsExplained) {
    const std::string note =
        "\nnote   117 ERROR lines \"Translations not found for queue id N.\" are expected and not listed: "
        "the "
        "first queue list is built before the translations load, and each of these queues has its name in "
        "the last list\n";
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const std::vector<Case> cases = {
        {{"run"},
         {"\n== Log (184 lines; WARN and worse shown, repeats folded)\n",
          "\nWARN   Queues configuration is not available yet: (x3)\n",
          "\nERROR  Queue 1300 had no supported maps. (x5)\n"
          "ERROR  Translations not found for queue id 1300. (x5)\n"
          "WARN   Category not found for queue type HALDU_TRIALS. defaulting to PvP category (x5)\n"
          "ERROR  Translations not found for queue id 1700. (x5)\n"
          "ALWAYS Queues configuration has been updated (x5)\n",
          note},
         {"for queue id 400.", "\nOKAY "}},
        {{"run", "--log-level", "ERROR"},
         {"\n== Log (184 lines; ERROR and worse shown, repeats folded)\n",
          "\nERROR  Failed to get queues: Missing configuration data\n", note},
         {"\nWARN "}},
        {{"run", "--log-level=always"},
         {"\n== Log (184 lines; ALWAYS and worse shown, repeats folded)\n"},
         {"\nWARN ", "\nERROR ", "\nnote "}},
        {{"run", "--log-level", "Okay"},
         {"\n== Log (184 lines; every level shown, repeats folded)\n", note},
         {}},
        {{"run", "--quiet"},
         {"== Queues (41 published, 27 available)\n  id  type ",
          "\n\n== Routes (7)\n200  GET /hux-game-queues/v1/queues                     41 queues, 27 "
          "available\n"},
         {"plugin ", "== Log", "== Events", "== Memory"}},
    };
    for (const Case& test : cases) {
        const ProcessOutput run = HuxHost(test.arguments);
        const std::string called = test.arguments.back();
        ASSERT_EQ(run.exitCode, 0) << called << ": " << run.err;
        for (const std::string& text : test.present) {
            EXPECT_NE(run.out.find(text), std::string::npos) << called << ": missing " << text << "\n"
                                                             << run.out;
        }
        for (const std::string& text : test.absent) {
            EXPECT_EQ(run.out.find(text), std::string::npos) << called << ": has " << text << "\n" << run.out;
        }
    }
    EXPECT_EQ(HuxHost({"run", "--quiet"}).out.rfind("== Queues (41 published", 0), 0u);
}

TEST(HuxHostRun, TheJsonReportStartsWithItsFormatAndCarriesBodiesWhenAsked) {
    for (const bool bodies : {false, true}) {
        const ProcessOutput json = HuxHost(bodies ? std::vector<std::string>{"run", "--json", "--bodies"}
                                                  : std::vector<std::string>{"run", "--json"});
        ASSERT_EQ(json.exitCode, 0) << json.err;
        EXPECT_EQ(json.out.rfind("{\n    \"format\": 1,\n    \"events\": [\n", 0), 0u)
            << json.out.substr(0, 80);
        Brix::ConversionStatus read = Brix::Json::Read(json.out);
        ASSERT_TRUE(read.Ok()) << read.Message();
        const Brix::BindingProperty& report = read.Value();
        EXPECT_EQ(report.Member("format").AsUnsigned(), 1u);
        EXPECT_EQ(report.Member("logLevel").AsString(), "WARN");
        EXPECT_EQ(report.Member("lateTranslationErrors").AsUnsigned(), 117u);
        EXPECT_EQ(report.Member("log").ElementCount(), 29u);
        const Brix::BindingProperty& folded = report.Member("log").Element(1);
        EXPECT_EQ(Brix::Json::Write(folded),
                  "{\"count\":3,\"level\":1,\"levelName\":\"WARN\",\"message\":\"Queues configuration is not "
                  "available yet: (Game Type Configs) (Platform Enabled Queues)\"}");
        const Brix::BindingProperty& routes = report.Member("routes");
        ASSERT_EQ(routes.ElementCount(), 7u);
        EXPECT_EQ(routes.Element(0).Member("body").ElementCount(), bodies ? 41u : 0u);
        EXPECT_EQ(routes.Element(1).Member("body").Member("name").AsString(),
                  bodies ? "Normal (Draft Pick)" : "");
        EXPECT_EQ(routes.Element(5).FindMember("body") != nullptr, bodies);
    }
}

TEST(HuxHostRun, TheFailureScenariosStartButPublishNoQueueList) {
    const ProcessOutput down =
        HuxHost({"run", "--scenario", std::string(kScenarios) + "/matchmaker-down.json"});
    ASSERT_EQ(down.exitCode, 0) << down.err;
    EXPECT_NE(down.out.find("\n== Queues (none published)\n"), std::string::npos);
    EXPECT_NE(
        down.out.find("\n500  GET /hux-game-queues/v1/queues                    Error requesting available "
                      "queues: Error response for POST /hux-login/v1/session/invoke: matchmakerService is "
                      "unavailable\n"),
        std::string::npos)
        << down.out;
    // The custom games do not need the matchmaker.
    EXPECT_NE(down.out.find("\n200  GET /hux-game-queues/v1/custom "), std::string::npos);

    const ProcessOutput incomplete =
        HuxHost({"run", "--scenario", std::string(kScenarios) + "/configuration-incomplete.yaml"});
    ASSERT_EQ(incomplete.exitCode, 0) << incomplete.err;
    EXPECT_NE(incomplete.out.find("\n== Events (0)\n\n== Queues (none published)\n"), std::string::npos);
    EXPECT_NE(
        incomplete.out.find("\nWARN   Queues configuration is not available yet: (Game Type Configs) (x4)\n"),
        std::string::npos);
    EXPECT_NE(
        incomplete.out.find("\n500  GET /hux-game-queues/v1/custom                     Missing configuration "
                            "data\n"),
        std::string::npos)
        << incomplete.out;
}

TEST(HuxHostRun, ALongTimelineIsReportedWithinBoundsInTextAndJson) {
    // The default scenario with a matchmaker that answers only after four turns of the host's loop, then
    // 510 steps that each take ranked Tarn out of the enabled queues or put it back: every step publishes
    // the queue list under two names.
    Brix::ConversionStatus parsed = Brix::Json::Read(DefaultScenario());
    ASSERT_TRUE(parsed.Ok()) << parsed.Message();
    Brix::BindingProperty scenario = std::move(parsed.Value());
    scenario.MemberForWriting("matchmaker").MemberForWriting("delayYields").SetUnsigned(4u);
    Brix::BindingProperty& timeline = scenario.MemberForWriting("timeline");
    const Brix::BindingProperty withTarn = timeline.Element(timeline.ElementCount() - 1);
    Brix::BindingProperty withoutTarn = withTarn;
    withoutTarn.MemberForWriting("value").MakeCollection();
    for (const Brix::BindingProperty& id : withTarn.Member("value").Elements()) {
        if (id.AsUnsigned() != 1210u) {
            withoutTarn.MemberForWriting("value").AppendElement() = id;
        }
    }
    for (int i = 0; i < 510; ++i) {
        timeline.AppendElement() = i % 2 == 0 ? withoutTarn : withTarn;
    }
    const std::string path = WriteFile("long-timeline.json", Brix::Json::Write(scenario));

    const ProcessOutput run = HuxHost({"run", "--scenario", path});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("\n== Log (3244 lines; WARN and worse shown, repeats folded)\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("\n== Events (1058, the first 1000 are listed)\n"), std::string::npos);
    EXPECT_NE(run.out.find("\n== Queues (41 published, 27 available)\n"), std::string::npos);

    const ProcessOutput json = HuxHost({"run", "--json", "--scenario", path});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    Brix::ConversionStatus read = Brix::Json::Read(json.out);
    ASSERT_TRUE(read.Ok()) << read.Message();
    const Brix::BindingProperty& report = read.Value();
    EXPECT_TRUE(report.Member("started").AsBool());
    EXPECT_EQ(report.Member("yields").AsUnsigned(), 4u);
    EXPECT_EQ(report.Member("scenario").Member("timelineSteps").AsUnsigned(), 513u);
    EXPECT_EQ(report.Member("logLines").AsUnsigned(), 3244u);
    EXPECT_EQ(report.Member("log").ElementCount(), 30u);  // folded: WARN and worse, each line once
    EXPECT_EQ(report.Member("eventsSent").AsUnsigned(), 1058u);
    EXPECT_EQ(report.Member("events").ElementCount(), 1000u);
    EXPECT_EQ(report.Member("queues").ElementCount(), 41u);
    EXPECT_EQ(report.Member("routes").ElementCount(), 7u);
    const Brix::BindingProperty& memory = report.Member("memory");
    EXPECT_LT(memory.Member("afterStop").Member("bytesInUse").AsUnsigned(),
              memory.Member("beforeStop").Member("bytesInUse").AsUnsigned());
}

TEST(HuxHostRun, APluginThatCannotBeLoadedEndsTheRunWithAFailure) {
    const ProcessOutput run = RunProgram({kHost, "run", "--plugin", "/nonexistent/libhux-game-queues.so"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("hux-host: cannot load /nonexistent/libhux-game-queues.so: ", 0), 0u) << run.err;
}

TEST(HuxHostGet, PrintsARoutesAnswerOrItsFailure) {
    const ProcessOutput found = HuxHost({"get", "/hux-game-queues/v1/queues/420"});
    ASSERT_EQ(found.exitCode, 0) << found.err;
    Brix::ConversionStatus queue = Brix::Json::Read(found.out);
    ASSERT_TRUE(queue.Ok()) << queue.Message();
    EXPECT_EQ(queue.Value().Member("id").AsUnsigned(), 420u);
    EXPECT_EQ(queue.Value().Member("name").AsString(), "Ranked Solo/Duo");
    EXPECT_NE(found.out.find("\n    \"id\": 420,\n"), std::string::npos) << "not indented";

    const ProcessOutput missing = HuxHost({"get", "/hux-game-queues/v1/queues/999"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "hux-host: GET /hux-game-queues/v1/queues/999: 404 No queue found with id 999\n");
}

TEST(HuxHostCommands, AMalformedScenarioIsRefusedBeforeThePluginRuns) {
    const std::string syntax = WriteFile("broken.json", "{\n  \"resources\": {\n    \"/a\": [1, 2\n  }\n}\n");
    const ProcessOutput broken = HuxHost({"run", "--scenario", syntax});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err, "hux-host: " + syntax + ":4:3: Missing a comma or ']' after an array element.\n");

    const std::string shape = WriteFile(
        "misshapen.yaml", "resources: {}\ntimeline:\n  - update: /a\n    value: 1\n  - delete: b\n");
    const ProcessOutput misshapen = HuxHost({"get", "/hux-game-queues/v1/queues", "--scenario", shape});
    EXPECT_EQ(misshapen.exitCode, 2);
    EXPECT_EQ(misshapen.out, "");
    EXPECT_EQ(misshapen.err,
              "hux-host: " + shape +
                  ": timeline[1].delete: expected a resource URI starting with \"/\", found \"b\"\n");
}

TEST(HuxHostCommands, AWrongCommandLineIsRefused) {
    const ProcessOutput unknown = RunProgram({kHost, "get", "/x", "--port", "1"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "hux-host: unknown option '--port' for get (see hux-host get --help)\n");
    const ProcessOutput streams = RunProgram({kHost, "serve", "--event-streams", "0"});
    EXPECT_EQ(streams.exitCode, 2);
    EXPECT_EQ(streams.err, "hux-host: --event-streams takes a number of streams from 1 to 512, not '0'\n");
    const ProcessOutput version = RunProgram({kHost, "run", "--version"});
    EXPECT_EQ(version.exitCode, 2);
    EXPECT_EQ(version.err, "hux-host: unknown option '--version' for run (see hux-host run --help)\n");
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"run", "--log-level", "LOUD"}, "--log-level takes OKAY, WARN, ERROR or ALWAYS, not 'LOUD'"},
        {{"run", "--quiet=yes"}, "--quiet takes no value"},
        {{"run", "--quiet", "--json"},
         "--quiet shortens the text report; --json prints the whole document (see hux-host run --help)"},
        {{"run", "--bodies"},
         "--bodies adds the answer bodies to the --json document (see hux-host run --help)"},
        {{"get", "/x", "--bodies"}, "unknown option '--bodies' for get (see hux-host get --help)"},
    };
    for (const auto& [arguments, message] : refused) {
        std::vector<std::string> called = arguments;
        called.insert(called.begin(), kHost);
        const ProcessOutput run = RunProgram(called);
        EXPECT_EQ(run.exitCode, 2) << message;
        EXPECT_EQ(run.err, "hux-host: " + message + "\n");
    }
}

TEST(HuxHostCommands, VersionPrintsTheProjectsVersionOfHostPluginAndApi) {
    const ProcessOutput version = RunProgram({kHost, "--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "hux-host 18.0.0\nplugin hux-game-queues 18.0.0\nplugin API 18.0.0\n");
    EXPECT_EQ(version.err, "");
}

}  // namespace
}  // namespace HuxTest
