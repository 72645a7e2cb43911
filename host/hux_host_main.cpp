// hux_host_main.cpp - hux-host: loads the hux-game-queues plugin outside the game client and runs,
// queries or serves it on a scenario.
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "commands.h"
#include "console_streams.h"
#include "help_text.h"
#include "hux_version.h"

namespace {

int Main(int argc, char** argv) {
    HuxHost::WriteStreamsAsBytes();
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    Brix::MaybeType<HuxHost::CommandLine> line = HuxHost::ParseCommandLine(arguments);
    if (!line) {
        HuxHost::Complain(line.Error().Message());
        return HuxHost::kExitBadInput;
    }
    switch (line.Value().command) {
        case HuxHost::Command::Help: {
            const std::string_view text = HuxHost::HelpText(line.Value().helpTopic);
            std::fwrite(text.data(), 1, text.size(), stdout);
            return HuxHost::kExitDone;
        }
        case HuxHost::Command::Version:
            // The plugin and its API share the project's version with hux-host.
            std::fputs("hux-host " HUX_VERSION_TEXT "\nplugin hux-game-queues " HUX_VERSION_TEXT
                       "\nplugin API " HUX_VERSION_TEXT "\n",
                       stdout);
            return HuxHost::kExitDone;
        case HuxHost::Command::Run:
            return HuxHost::RunCommand(line.Value());
        case HuxHost::Command::Get:
            return HuxHost::GetCommand(line.Value());
        case HuxHost::Command::Serve:
            return HuxHost::ServeCommand(line.Value());
    }
    return HuxHost::kExitBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Main(argc, argv);
    } catch (const std::exception& error) {
        HuxHost::Complain(error.what());
    } catch (...) {
        HuxHost::Complain("unexpected failure");
    }
    return HuxHost::kExitPluginFailed;
}
