// hux_host_main.cpp - hux-host: loads the hux-game-queues plugin outside the game client, starts it,
// shows what it answered and stops it.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "dev_host.h"
#include "plugin_library.h"

namespace {

constexpr const char* kEntrySymbol = "load_hux_game_queues";

// DefaultPluginPath is the plugin library next to this program's own folder: ../lib/.
std::string DefaultPluginPath() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string self =
        length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string("./hux-host");
    const size_t slash = self.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : self.substr(0, slash);
    return folder + "/../lib/libhux-game-queues.so";
}

void PrintUsage() {
    std::puts(
        "usage: hux-host [--plugin PATH]\n"
        "\n"
        "Loads the hux-game-queues plugin as the game client would, starts it, prints what the\n"
        "handshake answered and the events the plugin subscribed to, and stops it. Requests the\n"
        "plugin sends while starting are answered 404 \"Not found\".\n"
        "\n"
        "  --plugin PATH   the plugin library (default: ../lib/libhux-game-queues.so next to hux-host)\n"
        "\n"
        "example:\n"
        "  hux-host --plugin build/lib/libhux-game-queues.so");
}

}  // namespace

int main(int argc, char** argv) {
    std::string pluginPath = DefaultPluginPath();
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            PrintUsage();
            return 0;
        }
        if (argument == "--plugin" && i + 1 < argc) {
            pluginPath = argv[++i];
            continue;
        }
        std::fprintf(stderr, "hux-host: unknown argument '%s' (see --help)\n", argv[i]);
        return 2;
    }

    std::string error;
    auto library = HuxHost::PluginLibrary::Open(pluginPath, kEntrySymbol, error);
    if (library == nullptr) {
        std::fprintf(stderr, "hux-host: %s\n", error.c_str());
        return 1;
    }
    HuxHost::DevHost host(std::move(library));
    host.Load();
    if (!host.Loaded()) {
        std::fprintf(stderr, "hux-host: the plugin did not answer the load block\n");
        return 1;
    }
    const HostLoadBlock& block = host.Block();
    const std::string shortName = block.shortName != nullptr ? block.shortName : "";
    std::printf("plugin:     %s\n", pluginPath.c_str());
    std::printf("version:    %u.%u.%u\n", block.major, block.minor, block.patch);
    std::printf("short name: %s\n", shortName.c_str());
    // A host names backend plugins "tnk-be-" followed by their short name.
    std::printf("full name:  tnk-be-%s\n", shortName.c_str());
    std::printf("endpoints:  %u\n", block.endpoints != nullptr ? block.endpoints->endpointCount : 0u);

    const bool started = host.Start();
    std::printf("started:    %s\n", started ? "yes" : "no");
    for (const HuxHost::Subscription& subscription : host.Subscriptions()) {
        std::printf("subscribed: %s (flag %u)\n", subscription.name.c_str(), subscription.flag);
    }
    for (const HuxHost::RecordedRequest& request : host.Requests()) {
        std::printf("requested:  %s %s\n", std::string(Brix::MethodName(request.method)).c_str(),
                    request.url.c_str());
    }
    host.Stop();
    std::printf("stopped\n");
    return started ? 0 : 1;
}
