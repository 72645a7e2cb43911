// plugin_module.h - the framework state every plugin object carries, the handshake with the host
// and the plugin's callbacks. Each of its other jobs lives in a unit of its own that the module
// delegates to: host_channel (the host's functions), host_event_handlers and subscription_counts
// (host events), resource_router and resource_events (resources followed and announced),
// host_request and lcds_invoke (requests), service_proxy and telemetry_sender.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "abi/host_abi.h"
#include "binding/binding_property.h"
#include "binding/maybe_type.h"
#include "binding/type_registry.h"
#include "logging/logger.h"
#include "rest/endpoint_table.h"
#include "rest/method_code.h"
#include "rest/routes.h"
#include "runtime/app_module.h"
#include "runtime/framework_types.h"
#include "runtime/host_channel.h"
#include "runtime/host_event_handlers.h"
#include "runtime/host_request.h"
#include "runtime/lcds_invoke.h"
#include "runtime/plugin_identity.h"
#include "runtime/request_parameter.h"
#include "runtime/resource_events.h"
#include "runtime/resource_router.h"
#include "runtime/service_proxy.h"
#include "runtime/subscription_counts.h"
#include "runtime/telemetry_sender.h"
#include "runtime/typed_resource_handler.h"

namespace Brix {

class PluginLogTarget;

// PluginModule is the base of a plugin object. Its constructor creates the type registry and the
// callback table; the handshake gives it its identity, registers the framework's types and the
// plugin's endpoints and answers the host's load block; Start and Stop arrive through the callbacks.
class PluginModule : public AppModule {
public:
    PluginModule();
    ~PluginModule() override;

    // Host forwards: each calls the host function of the same slot (HostChannel), once the host has
    // started the plugin; before that there is no host table and they do nothing.
    void Request(HostResponse* response, HostRequest* request) final {
        hostChannel.Request(response, request);
    }
    // HostSlot1 and HostSlot5 forward host functions that the plugin never calls: the module's table
    // of forwards has a slot for each.
    void HostSlot1(uint32_t a, uint32_t b) final { hostChannel.Slot1(a, b); }
    void SendEvent(HostEvent* event) final { hostChannel.SendEvent(event); }
    void SubscribeHost(const char* eventName, uint32_t hostHandle, HostEventCallback callback, void* context,
                       uint32_t flag) final {
        hostChannel.Subscribe(eventName, hostHandle, callback, context, flag);
    }
    void UnsubscribeHost(const char* eventName, uint32_t hostHandle) final {
        hostChannel.Unsubscribe(eventName, hostHandle);
    }
    void HostSlot5(uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e) final {
        hostChannel.Slot5(a, b, c, d, e);
    }
    void Yield() final { hostChannel.Yield(); }
    void BeginWait(std::string_view label, uint32_t flag) final { hostChannel.BeginWait(label, flag); }
    void EndWait() final { hostChannel.EndWait(); }

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
    uint32_t HostHandle() const noexcept { return hostChannel.HostHandle(); }
    const PluginCallbacks& Callbacks() const noexcept { return callbacks; }
    const HostEndpointTable& EndpointTable() const noexcept { return endpointTable; }

    // Routes registers the plugin's endpoints, each tagged with the module's tags:
    //     auto routes = Routes();
    //     routes.Get("/hux-game-queues/v1/queues/{id}", {"id"}, this, &GameQueuesPlugin::GetQueueById);
    Rest::Routes Routes() { return Rest::Routes(*registry, tags); }

    // ---- host events and resources ----

    // Subscribe follows the host event of uri (EventNameFromUri): the first subscription of a name
    // registers the resource dispatcher with the host, later ones only count. Unsubscribe undoes one
    // Subscribe of the name; the last one unsubscribes from the host. An Unsubscribe without a
    // Subscribe left to undo is ignored.
    void Subscribe(std::string_view uri) override;
    void Unsubscribe(std::string_view uri) override;

    // Shutdown unsubscribes every event that still has a host handler, then forgets every handler,
    // count, resource handler and service proxy entry.
    void Shutdown() override;

    // RegisterHostHandler makes handler the one handler of the host event eventName (replacing an
    // earlier one) and subscribes to it with the host, with this module as context and flag. Delivered
    // payloads that do not convert to Payload are dropped.
    template <class Payload>
    void RegisterHostHandler(std::string_view eventName, std::function<void(const Payload&)> handler,
                             uint32_t flag) {
        const std::string& name = hostHandlers.Set(eventName, std::move(handler));
        SubscribeHost(name.c_str(), HostHandle(), &PluginModule::DeliverHostEvent<Payload>,
                      static_cast<void*>(this), flag);
    }

    // ObserveResource follows the resource at uri as a T (see TypedResourceHandler for the handler's
    // forms and Bridge::ObserveResource for the first fetch). A uri holding "*" is a pattern:
    //     ObserveResource<LoginSession>("/hux-login/v1/session",
    //                                   [this](PluginResourceEventType type, const LoginSession& session)
    //                                   {...});
    template <class T, class Handler>
    requires TypedResourceHandler<T, Handler>
    void ObserveResource(std::string_view uri, Handler handler) {
        Bridge::ObserveResource<T>(resources, Link(), uri, std::move(handler));
    }

    // PublishResourceUpdate announces value as the new state of the resource at uri: an Update event
    // (or the type given) under the resource's event name and under "OnJsonApiEvent". A value that does
    // not convert is not announced, and the log says why.
    template <class T>
    void PublishResourceUpdate(std::string_view uri, const T& value) {
        PublishResourceUpdate(uri, PluginResourceEventType::Update, value);
    }
    template <class T>
    void PublishResourceUpdate(std::string_view uri, PluginResourceEventType type, const T& value) {
        Bridge::PublishResourceUpdate(Link(), uri, type, value);
    }

    // SendResourceEvent sends event to the host under the event name of its uri and, when eventName
    // differs from that, once more under eventName. Fails when the event does not convert.
    MaybeType<void> SendResourceEvent(std::string_view eventName, const PluginResourceEvent& event) {
        return Bridge::SendResourceEvent(Link(), eventName, event);
    }

    // SubscriptionCount is the number of Subscribe calls of eventName not undone yet.
    uint32_t SubscriptionCount(std::string_view eventName) const { return subscriptions.Count(eventName); }
    bool HasHostHandler(std::string_view eventName) const { return hostHandlers.Has(eventName); }

    // ---- requests ----

    // Link is what the request functions need of this module.
    HostLink Link() noexcept { return {*this, Registry(), HostHandle()}; }

    // TypedRequest and LcdsInvoke: see host_request.h and lcds_invoke.h.
    //     auto doc = TypedRequest<BindingProperty>(MethodCode::Get, "/hux-game-data/assets/v1/queues.json");
    //     auto answer = Await(LcdsInvoke<std::string>("matchmakerService", "getAllQueuesCompressed"));
    template <class T>
    MaybeType<T> TypedRequest(MethodCode method, std::string_view url,
                              const RequestParameters& parameters = {}) {
        return Bridge::TypedRequest<T>(Link(), method, url, parameters);
    }
    template <class T>
    std::future<MaybeType<T>> LcdsInvoke(std::string_view destination, std::string_view method,
                                         std::span<const BindingProperty> arguments = {}) {
        return Bridge::LcdsInvoke<T>(Link(), destination, method, arguments);
    }

    // ---- service proxy and telemetry ----

    ServiceProxy& ServiceProxyTables() noexcept { return serviceProxy; }

    // SendTelemetry posts a telemetry event (TelemetrySender); before Start it fails with
    // InternalServerError().
    std::future<MaybeType<void>> SendTelemetry(std::string_view eventName,
                                               const RequestParameters& parameters = {}) {
        return telemetry.Send(eventName, parameters);
    }

private:
    // The C callbacks handed to the host. Each catches everything: nothing is thrown across the boundary.
    static uint8_t StartCallback(void* instance, const HostContext* context) noexcept;
    static void StopCallback(void* instance) noexcept;
    static void GetMemoryStatsCallback(void* instance, uint32_t* words) noexcept;

    bool StartWithHost(const HostContext* context);

    // StartServiceProxy keeps the host handle, starts the telemetry sender and registers the service
    // proxy's events with the host (kServiceProxyEvents).
    void StartServiceProxy(uint32_t hostHandle);

    // DeliverHostEvent is the C callback given to the host for events of Payload: it hands the event to
    // the host event handlers of the module named by the event's context. Nothing thrown while
    // handling crosses back into the host: such an event is dropped.
    template <class Payload>
    static void DeliverHostEvent(HostEvent* event) noexcept {
        if (event == nullptr || event->context == nullptr) {
            return;
        }
        try {
            const auto* module = static_cast<const PluginModule*>(event->context);
            module->hostHandlers.Deliver<Payload>(*event, module->Registry());
        } catch (...) {
            // The event is dropped.
        }
    }

    // The module holds the process-wide logger from construction to destruction; declared first so
    // that it outlives the log target below.
    LoggerReference loggerReference;
    PluginIdentity identity;
    std::string namePrefix;
    std::vector<std::string> tags;
    std::unique_ptr<TypeRegistry> registry;
    HostChannel hostChannel;
    PluginCallbacks callbacks{};
    HostEndpointTable endpointTable{};
    // The arrays and texts endpointTable points to; built by the handshake from the registry, which
    // it refers to and which outlives it.
    std::unique_ptr<Rest::EndpointTable> endpointStorage;
    std::unique_ptr<PluginLogTarget> logTarget;
    std::mutex serviceProxyMutex;

    HostEventHandlers hostHandlers;
    SubscriptionCounts subscriptions;
    ResourceRouter resources;
    ServiceProxy serviceProxy{serviceProxyMutex};
    TelemetrySender telemetry;
};

}  // namespace Brix
