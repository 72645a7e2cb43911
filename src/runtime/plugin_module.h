// plugin_module.h - the framework state every plugin object carries, the handshake with the host
// and the plugin's callbacks.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "abi/host_abi.h"
#include "binding/type_registry.h"
#include "logging/logger.h"
#include "rest/endpoint_table.h"
#include "rest/routes.h"
#include "runtime/app_module.h"
#include "runtime/plugin_identity.h"

namespace Brix {

class PluginLogTarget;

// PluginModule is the base of a plugin object. Its constructor creates the type registry and the
// callback table; the handshake gives it its identity, registers the framework's types and the
// plugin's endpoints and answers the host's load block; Start and Stop arrive through the callbacks.
class PluginModule : public AppModule {
public:
    PluginModule();
    ~PluginModule() override;

    // Host forwards: each calls the host function of the same slot, once the host has started the
    // plugin; before that there is no host table and they do nothing.
    void Request(HostResponse* response, HostRequest* request) final;
    void HostSlot1(uint32_t a, uint32_t b) final;
    void SendEvent(HostEvent* event) final;
    void SubscribeHost(const char* eventName, uint32_t hostHandle, HostEventCallback callback, void* context,
                       uint32_t flag) final;
    void UnsubscribeHost(const char* eventName, uint32_t hostHandle) final;
    void HostSlot5(uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e) final;
    void Yield() final;
    void BeginWait(std::string_view label, uint32_t flag) final;
    void EndWait() final;

    // RegisterEndpoints registers the plugin's types and endpoints; called once by the handshake.
    virtual void RegisterEndpoints();

    // Start starts the plugin's work; its answer is the Start callback's answer.
    virtual bool Start();

    // Handshake checks the host's plugin API version in block and, when it is compatible, sets the
    // module up and writes the plugin's answer into block. An incompatible host ends the process.
    void Handshake(HostLoadBlock* block, std::string_view shortName);

    const PluginIdentity& Identity() const noexcept { return identity; }
    const std::string& ShortName() const noexcept { return identity.shortName; }
    const std::string& NamePrefix() const noexcept { return namePrefix; }
    const std::vector<std::string>& Tags() const noexcept { return tags; }
    TypeRegistry& Registry() noexcept { return *registry; }
    const TypeRegistry& Registry() const noexcept { return *registry; }
    const HostContext* Context() const noexcept { return hostContext; }
    const HostApi* Api() const noexcept { return hostContext != nullptr ? hostContext->api : nullptr; }
    uint32_t HostHandle() const noexcept { return hostContext != nullptr ? hostContext->hostHandle : 0; }
    const PluginCallbacks& Callbacks() const noexcept { return callbacks; }
    const HostEndpointTable& EndpointTable() const noexcept { return endpointTable; }

    // Routes registers the plugin's endpoints, each tagged with the module's tags:
    //     auto routes = Routes();
    //     routes.Get("/hux-game-queues/v1/queues/{id}", {"id"}, this, &GameQueuesPlugin::GetQueueById);
    Rest::Routes Routes() { return Rest::Routes(*registry, tags); }

private:
    // The C callbacks handed to the host. Each catches everything: nothing is thrown across the boundary.
    static uint8_t StartCallback(void* instance, const HostContext* context) noexcept;
    static void StopCallback(void* instance) noexcept;
    static void GetMemoryStatsCallback(void* instance, uint32_t* words) noexcept;

    bool StartWithHost(const HostContext* context);

    // The module holds the process-wide logger from construction to destruction; declared first so
    // that it outlives the log target below.
    LoggerReference loggerReference;
    PluginIdentity identity;
    std::string namePrefix;
    std::vector<std::string> tags;
    std::unique_ptr<TypeRegistry> registry;
    const HostContext* hostContext = nullptr;
    PluginCallbacks callbacks{};
    HostEndpointTable endpointTable{};
    // The arrays and texts endpointTable points to; built by the handshake from the registry, which
    // it refers to and which outlives it.
    std::unique_ptr<Rest::EndpointTable> endpointStorage;
    std::unique_ptr<PluginLogTarget> logTarget;
    std::mutex serviceProxyMutex;
};

}  // namespace Brix
