// plugin_session.cpp - opening, starting and stopping the plugin for hux-host's commands.
#include "plugin_session.h"

#include <array>

#include "platform/process_identity.h"
#include "scenario_script.h"

namespace HuxHost {

namespace {

Brix::MaybeType<std::unique_ptr<DevHost>> LoadedHost(const std::string& pluginPath) {
    std::string error;
    std::unique_ptr<PluginLibrary> library =
        PluginLibrary::Open(pluginPath, std::string(kPluginEntrySymbol), error);
    if (library == nullptr) {
        return Brix::Failure(error);
    }
    auto host = std::make_unique<DevHost>(std::move(library));
    host->Load();
    if (!host->Loaded()) {
        return Brix::Failure(pluginPath + ": the plugin did not answer the load block");
    }
    return host;
}

constexpr uint32_t kOk = 200;
constexpr uint32_t kFirstFailureStatus = 400;
constexpr uint32_t kInternalError = 500;

}  // namespace

uint32_t HttpStatus(const RouteAnswer& answer) {
    if (Failed(answer)) {
        return answer.status >= kFirstFailureStatus ? answer.status : kInternalError;
    }
    return answer.status != 0 ? answer.status : kOk;
}

std::string FailureMessage(const RouteAnswer& answer) {
    return answer.error ? *answer.error : "unreadable answer: " + answer.bodyError;
}

std::vector<RoutePath> RoutePaths(const HostLoadBlock& block) {
    std::vector<RoutePath> paths;
    const HostEndpointTable* table = block.endpoints;
    for (const HostEndpointRecord* record = table != nullptr ? table->endpoints : nullptr; record != nullptr;
         record = record->next) {
        const char* path = record->path;
        const uint32_t method = record->method;
        paths.push_back({path != nullptr ? path : "", method});
    }
    return paths;
}

std::string DefaultPluginPath() {
    std::array<char, 4096> buffer{};
    const std::size_t length = Brix::Platform::ReadExecutablePath(buffer.data(), buffer.size());
    const std::string self = length > 0 ? std::string(buffer.data(), length) : std::string("./hux-host");
    const std::size_t slash = self.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? std::string(".") : self.substr(0, slash);
    return folder + "/" + HUX_PLUGIN_BESIDE_HOST;
}

Brix::MaybeType<std::unique_ptr<PluginSession>> PluginSession::Open(const std::string& pluginPath,
                                                                    bool watchMemory) {
    std::unique_ptr<PluginSession> session(new PluginSession());
    session->pluginPath = pluginPath;
    if (watchMemory) {
        Brix::MaybeType<std::unique_ptr<DevHost>> watcher = LoadedHost(pluginPath);
        if (!watcher) {
            return watcher.Error();
        }
        session->watcher = std::move(watcher).Value();
    }
    Brix::MaybeType<std::unique_ptr<DevHost>> host = LoadedHost(pluginPath);
    if (!host) {
        return host.Error();
    }
    session->host = std::move(host).Value();
    return session;
}

PluginSession::~PluginSession() {
    // The plugin goes first: the watcher's instance holds the library's shared objects longest.
    host.reset();
    watcher.reset();
}

bool PluginSession::Start(const Scenario& scenario) {
    ScriptScenario(scenario, *host);
    started = host->Start();
    return started;
}

RouteAnswer PluginSession::Get(std::string_view url) {
    return host->CallRoute(Brix::MethodCode::Get, url);
}

MemoryStats PluginSession::Stats() const {
    if (host->Loaded()) {
        return host->GetMemoryStats();
    }
    return watcher != nullptr ? watcher->GetMemoryStats() : MemoryStats{};
}

void PluginSession::Stop() {
    host->Stop();
    started = false;
}

}  // namespace HuxHost
