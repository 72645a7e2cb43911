// run_command.cpp - hux-host run: one whole run of the plugin on a scenario, reported.
#include <cstdio>

#include "commands.h"
#include "run_json.h"
#include "run_report.h"
#include "run_text.h"

namespace HuxHost {

int RunCommand(const CommandLine& line) {
    Brix::MaybeType<Scenario> scenario = CommandScenario(line);
    if (!scenario) {
        Complain(scenario.Error().Message());
        return kExitBadInput;
    }
    Brix::MaybeType<std::unique_ptr<PluginSession>> session =
        PluginSession::Open(CommandPluginPath(line), true);
    if (!session) {
        Complain(session.Error().Message());
        return kExitPluginFailed;
    }
    const RunReport report = RunScenario(*session.Value(), scenario.Value());
    const ReportOptions options{line.logLevel, line.quiet, line.bodies};
    const std::string output = line.json ? RunJsonText(report, options) : RunText(report, options);
    std::fwrite(output.data(), 1, output.size(), stdout);
    std::fflush(stdout);
    if (!report.started) {
        Complain("the plugin refused to start");
        return kExitPluginFailed;
    }
    return kExitDone;
}

}  // namespace HuxHost
