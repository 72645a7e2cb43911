// command_support.cpp - what hux-host's commands share: their scenario, plugin path and complaints.
#include <cstdio>

#include "commands.h"
#include "default_scenario.h"
#include "plugin_session.h"
#include "scenario_loader.h"

namespace HuxHost {

Brix::MaybeType<Scenario> CommandScenario(const CommandLine& line) {
    if (line.scenarioPath.empty()) {
        return ParseScenario(DefaultScenarioText(), kDefaultScenarioSource, ScenarioFormat::Json);
    }
    return LoadScenarioFile(line.scenarioPath);
}

std::string CommandPluginPath(const CommandLine& line) {
    return line.pluginPath.empty() ? DefaultPluginPath() : line.pluginPath;
}

void Complain(const std::string& message) {
    std::fprintf(stderr, "hux-host: %s\n", message.c_str());
}

}  // namespace HuxHost
