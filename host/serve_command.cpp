// serve_command.cpp - hux-host serve: the plugin behind an HTTP server until Ctrl-C.
#include <atomic>
#include <chrono>
#include <thread>

#include "codecs/json_writer.h"
#include "commands.h"
#include "http_server.h"
#include "openapi_document.h"
#include "scenario_script.h"
#include "stop_signals.h"

namespace HuxHost {

namespace {

constexpr std::chrono::milliseconds kSignalPoll{200};

// WaitForStop returns when a stop signal arrives, the time is up (exitAfterSeconds, 0 for never) or
// serving turns false.
void WaitForStop(uint32_t exitAfterSeconds, const std::atomic<bool>& serving) {
    const auto start = std::chrono::steady_clock::now();
    while (serving.load()) {
        const std::string signal = WaitForStopSignal(kSignalPoll);
        if (!signal.empty()) {
            Say("hux-host: " + signal + ", stopping the plugin");
            return;
        }
        if (exitAfterSeconds != 0 &&
            std::chrono::steady_clock::now() - start >= std::chrono::seconds(exitAfterSeconds)) {
            Say("hux-host: " + std::to_string(exitAfterSeconds) + " seconds are over, stopping the plugin");
            return;
        }
    }
}

// ApiDocument is the OpenAPI text of the plugin that filled block, served at port (0: a port chosen
// later, which the document leaves to the client as "/").
std::string ApiDocument(const HostLoadBlock& block, uint16_t port) {
    const char* shortName = block.shortName;
    const uint32_t major = block.major;
    const uint32_t minor = block.minor;
    const uint32_t patch = block.patch;
    const HostEndpointTable* table = block.endpoints;
    const ApiInfo info{shortName != nullptr ? shortName : "",
                       std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch),
                       port != 0 ? "http://127.0.0.1:" + std::to_string(port) : "/"};
    return Brix::Json::Write(RenderOpenApi(table != nullptr ? *table : HostEndpointTable{}, info), nullptr,
                             "\n");
}

}  // namespace

int ServeCommand(const CommandLine& line) {
    Brix::MaybeType<Scenario> scenario = CommandScenario(line);
    if (!scenario) {
        Complain(scenario.Error().Message());
        return kExitBadInput;
    }
    // The stop signals are blocked before any thread starts, so every thread inherits the mask and
    // only the watcher below takes them; a client that goes away must not end the process either.
    CatchStopSignals();

    PluginThread pluginThread;
    std::unique_ptr<PluginSession> session;
    std::string openApi;
    const std::string openError = pluginThread.Run([&]() -> std::string {
        Brix::MaybeType<std::unique_ptr<PluginSession>> opened =
            PluginSession::Open(CommandPluginPath(line), false);
        if (!opened) {
            return opened.Error().Message();
        }
        session = std::move(opened).Value();
        openApi = ApiDocument(session->Host().Block(), line.port);
        return {};
    });
    if (!openError.empty()) {
        Complain(openError);
        return kExitPluginFailed;
    }

    EventStream events(EventStream::kDefaultKept, line.eventStreams);
    HostHttpServer server(pluginThread, *session, events, openApi);
    const Brix::MaybeType<int> port = server.Bind(line.port);
    const auto stopPlugin = [&] {
        pluginThread.Run([&] {
            if (session->Started()) {
                session->Stop();
                server.Drain();
            }
            session.reset();
        });
    };
    if (!port) {
        Complain(port.Error().Message());
        stopPlugin();
        return kExitPluginFailed;
    }
    const bool started = pluginThread.Run([&] {
        const bool answer = session->Start(scenario.Value());
        if (answer) {
            for (const TimelineStep& step : scenario.Value().timeline) {
                PlayStep(step, session->Host());
            }
        }
        server.Drain();
        return answer;
    });
    if (!started) {
        Complain("the plugin refused to start");
        stopPlugin();
        return kExitPluginFailed;
    }

    Say("hux-host: serving " + session->PluginPath() +
        " at http://127.0.0.1:" + std::to_string(port.Value()) + "/ (Ctrl-C stops)");
    std::atomic<bool> serving{true};
    std::thread watcher([&] {
        WaitForStop(line.exitAfterSeconds, serving);
        server.Stop();
    });
    server.Serve();
    serving = false;
    watcher.join();
    stopPlugin();
    Say("hux-host: stopped");
    return kExitDone;
}

}  // namespace HuxHost
