// plugin_module.h - the framework state every plugin object carries, the handshake with the host
// and the plugin's callbacks.
#pragma once

#include <cstdint>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "abi/host_abi.h"
#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/maybe_type.h"
#include "binding/static_type.h"
#include "binding/type_registry.h"
#include "binding/value_conversion.h"
#include "host_values/host_value_conversion.h"
#include "logging/logger.h"
#include "rest/endpoint_table.h"
#include "rest/method_code.h"
#include "rest/routes.h"
#include "runtime/app_module.h"
#include "runtime/event_names.h"
#include "runtime/framework_types.h"
#include "runtime/host_request.h"
#include "runtime/lcds_invoke.h"
#include "runtime/plugin_identity.h"
#include "runtime/request_parameter.h"
#include "runtime/resource_router.h"
#include "runtime/service_proxy.h"
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

    // ---- resource events ----

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
                             uint32_t flag);

    // ObserveResource follows the resource at uri as a T (see TypedResourceHandler for the handler's
    // forms). A uri holding "*" is a pattern. An exact uri is fetched at once, and when that succeeds
    // the handler sees the current value as a Create before any event:
    //     ObserveResource<LoginSession>("/hux-login/v1/session",
    //                                   [this](PluginResourceEventType type, const LoginSession& session)
    //                                   {...});
    template <class T, class Handler>
    requires TypedResourceHandler<T, Handler>
    void ObserveResource(std::string_view uri, Handler handler);

    // PublishResourceUpdate announces value as the new state of the resource at uri: an Update event
    // (or the type given) under the resource's event name and under "OnJsonApiEvent". A value that does
    // not convert is not announced, and the log says why.
    template <class T>
    void PublishResourceUpdate(std::string_view uri, const T& value) {
        PublishResourceUpdate(uri, PluginResourceEventType::Update, value);
    }
    template <class T>
    void PublishResourceUpdate(std::string_view uri, PluginResourceEventType type, const T& value);

    // SendResourceEvent sends event to the host under the event name of its uri and, when eventName
    // differs from that, once more under eventName. Fails when the event does not convert.
    MaybeType<void> SendResourceEvent(std::string_view eventName, const PluginResourceEvent& event);

    // SubscriptionCount is the number of Subscribe calls of eventName not undone yet.
    uint32_t SubscriptionCount(std::string_view eventName) const;
    bool HasHostHandler(std::string_view eventName) const;

    // ---- requests ----

    // Link is what the request functions need of this module.
    HostLink Link() noexcept { return {*this, Registry(), HostHandle()}; }

    // SendRequest, TypedRequest and LcdsInvoke: see host_request.h and lcds_invoke.h.
    //     auto doc = TypedRequest<BindingProperty>(MethodCode::Get, "/hux-game-data/assets/v1/queues.json");
    //     auto answer = Await(LcdsInvoke<std::string>("matchmakerService", "getAllQueuesCompressed"));
    MaybeType<void> SendRequest(MethodCode method, std::string_view url, const RequestParameters& parameters,
                                HostResponse& response) {
        return Bridge::SendRequest(Link(), method, url, parameters, response);
    }
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
                                               const RequestParameters& parameters = {});

private:
    // The C callbacks handed to the host. Each catches everything: nothing is thrown across the boundary.
    static uint8_t StartCallback(void* instance, const HostContext* context) noexcept;
    static void StopCallback(void* instance) noexcept;
    static void GetMemoryStatsCallback(void* instance, uint32_t* words) noexcept;

    bool StartWithHost(const HostContext* context);

    // StartServiceProxy keeps the host handle, makes the telemetry sender and registers the three
    // service proxy events with the host, flag 1.
    void StartServiceProxy(uint32_t hostHandle);

    // HostHandlerEntry is a handler of one host event, for the payload type named by payloadTypeId.
    struct HostHandlerEntry {
        uint32_t payloadTypeId = 0;
        std::shared_ptr<void> handler;
    };

    // DeliverHostEvent is the C callback given to the host for events of Payload. It finds the handler
    // of the event's name in the module named by the event's context, converts the payload and calls
    // the handler; events without a handler or whose payload does not convert are dropped.
    template <class Payload>
    static void DeliverHostEvent(HostEvent* event) noexcept;
    template <class Payload>
    void HandleHostEvent(const HostEvent& event);

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

    std::map<std::string, HostHandlerEntry, std::less<>> hostHandlers;
    std::map<std::string, uint32_t, std::less<>> subscriptionCounts;
    ResourceRouter resources;
    ServiceProxy serviceProxy{serviceProxyMutex};
    std::unique_ptr<TelemetrySender> telemetry;
};

// ---- templates ----------------------------------------------------------------------------------

template <class Payload>
void PluginModule::RegisterHostHandler(std::string_view eventName,
                                       std::function<void(const Payload&)> handler, uint32_t flag) {
    auto entry = HostHandlerEntry{StaticType<Payload>().id,
                                  std::make_shared<std::function<void(const Payload&)>>(std::move(handler))};
    auto stored = hostHandlers.insert_or_assign(std::string(eventName), std::move(entry)).first;
    SubscribeHost(stored->first.c_str(), HostHandle(), &PluginModule::DeliverHostEvent<Payload>,
                  static_cast<void*>(this), flag);
}

template <class Payload>
void PluginModule::DeliverHostEvent(HostEvent* event) noexcept {
    if (event == nullptr) {
        return;
    }
    void* context = event->context;
    if (context == nullptr) {
        return;
    }
    try {
        static_cast<PluginModule*>(context)->HandleHostEvent<Payload>(*event);
    } catch (...) {
        // Nothing crosses back into the host: an event whose handling failed is dropped.
    }
}

template <class Payload>
void PluginModule::HandleHostEvent(const HostEvent& event) {
    const char* name = event.name;
    if (name == nullptr) {
        return;
    }
    auto found = hostHandlers.find(std::string_view(name));
    if (found == hostHandlers.end() || found->second.payloadTypeId != StaticType<Payload>().id) {
        return;
    }
    // The handler stays alive while it runs, even if it unsubscribes its own event.
    const auto handler = std::static_pointer_cast<std::function<void(const Payload&)>>(found->second.handler);
    ConversionStatus cell = FromHostValue(event.payload, "<result>");
    if (!cell.Ok()) {
        return;
    }
    Payload payload{};
    ConversionStatus status;
    ValueToNative(status, payload, cell.Value(), "<result>", Registry());
    if (!status.Ok()) {
        return;
    }
    (*handler)(payload);
}

template <class T, class Handler>
requires TypedResourceHandler<T, Handler>
void PluginModule::ObserveResource(std::string_view uri, Handler handler) {
    const std::shared_ptr<const ResourceHandler> typed =
        resources.Add(uri, MakeTypedResourceHandler<T>(Registry(), std::move(handler)));
    Subscribe(uri);
    if (IsResourcePattern(uri)) {
        return;
    }
    MaybeType<BindingProperty> current = TypedRequest<BindingProperty>(MethodCode::Get, uri);
    if (!current) {
        return;
    }
    PluginResourceEvent created;
    created.uri = std::string(uri);
    created.eventType = PluginResourceEventType::Create;
    created.data = std::move(current).Value();
    (*typed)(created);
}

template <class T>
void PluginModule::PublishResourceUpdate(std::string_view uri, PluginResourceEventType type, const T& value) {
    PluginResourceEvent event;
    ConversionStatus status;
    NativeToValue(status, event.data, value, Registry());
    if (!status.Ok()) {
        const std::string message(status.Message());
        const std::string resource(uri);
        Log(LogLevel::Error, kPluginLogGroup, "Did not publish an update of %s: it does not convert: %s",
            resource.c_str(), message.c_str());
        return;
    }
    event.uri = std::string(uri);
    event.eventType = type;
    static_cast<void>(SendResourceEvent(kResourceEventName, event));
}

}  // namespace Brix
