// get_command.cpp - hux-host get: one route's answer as JSON.
#include <cstdio>

#include "codecs/json_writer.h"
#include "commands.h"
#include "plugin_session.h"
#include "scenario_script.h"

namespace HuxHost {

namespace {

constexpr uint32_t kFirstFailureStatus = 400;

}  // namespace

int GetCommand(const CommandLine& line) {
    Brix::MaybeType<Scenario> scenario = CommandScenario(line);
    if (!scenario) {
        Complain(scenario.Error().Message());
        return kExitBadInput;
    }
    Brix::MaybeType<std::unique_ptr<PluginSession>> opened =
        PluginSession::Open(CommandPluginPath(line), false);
    if (!opened) {
        Complain(opened.Error().Message());
        return kExitPluginFailed;
    }
    PluginSession& session = *opened.Value();
    if (!session.Start(scenario.Value())) {
        Complain("the plugin refused to start");
        return kExitPluginFailed;
    }
    for (const TimelineStep& step : scenario.Value().timeline) {
        PlayStep(step, session.Host());
    }
    const RouteAnswer answer = session.Get(line.routePath);
    session.Stop();
    const uint32_t status = HttpStatus(answer);
    if (Failed(answer) || status >= kFirstFailureStatus) {
        const std::string message = answer.error ? *answer.error
                                    : answer.bodyError.empty()
                                        ? std::string("(no message)")
                                        : "the answer could not be read: " + answer.bodyError;
        Complain("GET " + line.routePath + ": " + std::to_string(status) + " " + message);
        return kExitPluginFailed;
    }
    const std::string text =
        answer.streamed.empty() ? Brix::Json::Write(answer.body, nullptr, "\n") : answer.streamed;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    return kExitDone;
}

}  // namespace HuxHost
