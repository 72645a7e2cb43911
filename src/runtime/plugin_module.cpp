// plugin_module.cpp - the handshake, the host forwards and the plugin's C callbacks.
#include "runtime/plugin_module.h"

#include <cstring>

#include "abi/allocation_stats.h"
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
    hostContext = context;
    InstallPluginLogTarget(context->api, logTarget);
    return Start();
}

// ---- host forwards ------------------------------------------------------------------------------

void PluginModule::Request(HostResponse* response, HostRequest* request) {
    if (const HostApi* api = Api()) {
        api->request(api, response, request);
    }
}

void PluginModule::HostSlot1(uint32_t a, uint32_t b) {
    if (const HostApi* api = Api()) {
        api->slot1(api, a, b);
    }
}

void PluginModule::SendEvent(HostEvent* event) {
    if (const HostApi* api = Api()) {
        api->sendEvent(api, event);
    }
}

void PluginModule::SubscribeHost(const char* eventName, uint32_t hostHandle, HostEventCallback callback,
                                 void* context, uint32_t flag) {
    if (const HostApi* api = Api()) {
        api->subscribe(api, eventName, hostHandle, callback, context, flag);
    }
}

void PluginModule::UnsubscribeHost(const char* eventName, uint32_t hostHandle) {
    if (const HostApi* api = Api()) {
        api->unsubscribe(api, eventName, hostHandle);
    }
}

void PluginModule::HostSlot5(uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e) {
    if (const HostApi* api = Api()) {
        api->slot5(api, a, b, c, d, e);
    }
}

void PluginModule::Yield() {
    if (const HostApi* api = Api()) {
        api->yield(api);
    }
}

void PluginModule::BeginWait(std::string_view label, uint32_t flag) {
    if (const HostApi* api = Api()) {
        const std::string text(label);
        api->beginWait(api, text.c_str(), flag);
    }
}

void PluginModule::EndWait() {
    if (const HostApi* api = Api()) {
        api->endWait(api);
    }
}

}  // namespace Brix
