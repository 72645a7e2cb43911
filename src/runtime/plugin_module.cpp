// plugin_module.cpp - the handshake, the plugin's C callbacks, and the module's delegation to its units.
#include "runtime/plugin_module.h"

#include <utility>

#include "host_values/allocation_stats.h"
#include "logging/assertion.h"
#include "logging/logger.h"
#include "logging/message_formatter.h"
#include "logging/plugin_log_target.h"
#include "rest/operation_name.h"
#include "runtime/framework_types.h"
#include "runtime/plugin_api_version.h"

namespace Brix {

PluginModule::PluginModule() : registry(std::make_unique<TypeRegistry>()) {
    callbacks.start = &PluginModule::StartCallback;
    callbacks.stop = &PluginModule::StopCallback;
    callbacks.getMemoryStats = &PluginModule::GetMemoryStatsCallback;
}

PluginModule::~PluginModule() = default;

// ---- handshake ----------------------------------------------------------------------------------

void PluginModule::Handshake(HostLoadBlock* block, std::string_view shortName) {
    const PluginApiVersion& plugin = PluginApi();
    const PluginApiVersion host{block->major, block->minor, block->patch, {}, {}};
    if (!IsCompatible(plugin, host)) {
        const std::string message =
            FormatMessage("%1 which supports plugin API %2 is not compatible with core's plugin API %3",
                          shortName, plugin.ToText(), host.ToText());
        Log(LogLevel::Error, kPluginLogGroup, "%s", message.c_str());
        FatalStop(kFatalIncompatibleHost);
    }

    const PluginType type{"backend", ""};
    identity.fullName = GetFullNameFromShortNameAndType(shortName, type);
    identity.shortName = std::string(shortName);
    identity.typeKind = type.kind;
    identity.typeQualifier = type.qualifier;

    tags = {"Plugins", "Plugin " + identity.shortName};
    namePrefix = OperationName(MethodCode::None, identity.shortName);

    RegisterFrameworkTypes(*registry);
    RegisterEndpoints();
    endpointStorage = std::make_unique<Rest::EndpointTable>(*registry);
    endpointTable = endpointStorage->HostTable();

    block->major = plugin.major;
    block->minor = plugin.minor;
    block->patch = plugin.patch;
    block->callbacks = &callbacks;
    block->instance = this;
    block->shortName = identity.shortName.c_str();
    block->endpoints = &endpointTable;
}

void PluginModule::RegisterEndpoints() {}

bool PluginModule::Start() {
    return true;
}

// ---- callbacks ----------------------------------------------------------------------------------

uint8_t PluginModule::StartCallback(void* instance, const HostContext* context) noexcept {
    if (instance == nullptr || context == nullptr || context->api == nullptr) {
        return 0;
    }
    try {
        return static_cast<PluginModule*>(instance)->StartWithHost(context) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void PluginModule::StopCallback(void* instance) noexcept {
    auto* module = static_cast<PluginModule*>(instance);
    if (module == nullptr) {
        return;
    }
    try {
        module->Shutdown();
    } catch (...) {
        // The module is destroyed whatever Shutdown ran into: the host will not call it again.
    }
    delete module;
}

void PluginModule::GetMemoryStatsCallback(void* /*instance*/, uint32_t* words) noexcept {
    WriteMemoryStatsWords(words);
}

bool PluginModule::StartWithHost(const HostContext* context) {
    hostChannel.Attach(context);
    InstallPluginLogTarget(context->api, logTarget);
    StartServiceProxy(context->hostHandle);
    return Start();
}

// ---- host events --------------------------------------------------------------------------------

void PluginModule::Subscribe(std::string_view uri) {
    const std::string name = EventNameFromUri(uri);
    if (subscriptions.Add(name)) {
        RegisterHostHandler<PluginResourceEvent>(
            name, [this](const PluginResourceEvent& event) { resources.Dispatch(event); }, 0);
    }
}

void PluginModule::Unsubscribe(std::string_view uri) {
    const std::string name = EventNameFromUri(uri);
    if (subscriptions.Remove(name)) {
        UnsubscribeHost(name.c_str(), HostHandle());
        hostHandlers.Erase(name);
    }
}

void PluginModule::Shutdown() {
    for (const std::string& name : hostHandlers.Names()) {
        UnsubscribeHost(name.c_str(), HostHandle());
    }
    hostHandlers.Clear();
    subscriptions.Clear();
    resources.Clear();
    serviceProxy.Clear();
}

// ---- service proxy and telemetry ------------------------------------------------------------------

void PluginModule::StartServiceProxy(uint32_t hostHandle) {
    serviceProxy.Start(hostHandle, ShortName());
    telemetry.Start(Link());
    for (const ServiceProxyEvent& event : kServiceProxyEvents) {
        RegisterHostHandler<PluginServiceProxyResponse>(
            event.name,
            [this, take = event.take](const PluginServiceProxyResponse& answer) {
                (serviceProxy.*take)(answer);
            },
            kServiceProxyEventFlag);
    }
}

}  // namespace Brix
