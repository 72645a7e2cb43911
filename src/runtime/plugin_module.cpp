// plugin_module.cpp - the handshake, the host forwards and the plugin's C callbacks.
#include "runtime/plugin_module.h"

#include <cstring>
#include <utility>

#include "host_values/allocation_stats.h"
#include "host_values/host_value.h"
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
    StartServiceProxy(context->hostHandle);
    return Start();
}

// ---- resource events ----------------------------------------------------------------------------

void PluginModule::Subscribe(std::string_view uri) {
    const std::string name = EventNameFromUri(uri);
    auto counted = subscriptionCounts.try_emplace(name, 0).first;
    if (++counted->second == 1) {
        RegisterHostHandler<PluginResourceEvent>(
            name, [this](const PluginResourceEvent& event) { resources.Dispatch(event); }, 0);
    }
}

void PluginModule::Unsubscribe(std::string_view uri) {
    const std::string name = EventNameFromUri(uri);
    auto counted = subscriptionCounts.find(name);
    if (counted == subscriptionCounts.end()) {
        return;
    }
    if (--counted->second > 0) {
        return;
    }
    subscriptionCounts.erase(counted);
    UnsubscribeHost(name.c_str(), HostHandle());
    hostHandlers.erase(name);
}

uint32_t PluginModule::SubscriptionCount(std::string_view eventName) const {
    auto counted = subscriptionCounts.find(eventName);
    return counted == subscriptionCounts.end() ? 0 : counted->second;
}

bool PluginModule::HasHostHandler(std::string_view eventName) const {
    return hostHandlers.find(eventName) != hostHandlers.end();
}

void PluginModule::Shutdown() {
    std::vector<std::string> names;
    names.reserve(hostHandlers.size());
    for (const auto& entry : hostHandlers) {
        names.push_back(entry.first);
    }
    for (const std::string& name : names) {
        UnsubscribeHost(name.c_str(), HostHandle());
    }
    hostHandlers.clear();
    subscriptionCounts.clear();
    resources.Clear();
    serviceProxy.Clear();
}

MaybeType<void> PluginModule::SendResourceEvent(std::string_view eventName,
                                                const PluginResourceEvent& event) {
    BindingProperty value;
    ConversionStatus status;
    NativeToValue(status, value, event, Registry());
    if (!status.Ok()) {
        return Failure(std::string(status.Message()));
    }
    const std::string specificName = EventNameFromUri(event.uri);
    ScopedHostValue payload(ToHostValue(value, &Registry()));

    HostEvent block;
    std::memset(&block, 0, sizeof(block));
    block.name = specificName.c_str();
    block.payload = payload.Get();
    SendEvent(&block);
    if (eventName != specificName) {
        const std::string generalName(eventName);
        block.name = generalName.c_str();
        SendEvent(&block);
    }
    return {};
}

// ---- service proxy and telemetry ------------------------------------------------------------------

void PluginModule::StartServiceProxy(uint32_t hostHandle) {
    serviceProxy.Start(hostHandle, ShortName());
    telemetry = std::make_unique<TelemetrySender>(Link());
    constexpr uint32_t kServiceProxyFlag = 1;
    RegisterHostHandler<PluginServiceProxyResponse>(
        "OnServiceProxyUuidEvent",
        [this](const PluginServiceProxyResponse& answer) { serviceProxy.OnUuidAnswer(answer); },
        kServiceProxyFlag);
    RegisterHostHandler<PluginServiceProxyResponse>(
        "OnServiceProxyMethodEvent",
        [this](const PluginServiceProxyResponse& answer) { serviceProxy.OnMethodAnswer(answer); },
        kServiceProxyFlag);
    RegisterHostHandler<PluginServiceProxyResponse>(
        "OnServiceProxyAsyncEvent",
        [this](const PluginServiceProxyResponse& answer) { serviceProxy.OnAsyncMessage(answer); },
        kServiceProxyFlag);
}

std::future<MaybeType<void>> PluginModule::SendTelemetry(std::string_view eventName,
                                                         const RequestParameters& parameters) {
    if (telemetry == nullptr) {
        std::promise<MaybeType<void>> promise;
        promise.set_value(InternalServerError());
        return promise.get_future();
    }
    return telemetry->Send(eventName, parameters);
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
