// framework_types.cpp - registration of the runtime's own records and enums.
#include "runtime/framework_types.h"

#include "binding/type_builder.h"

namespace Brix {

namespace {

constexpr std::string_view kFrameworkTag = "bclient";

template <class Payload>
void RegisterFrameworkEvent(TypeRegistry& registry, std::string_view name, std::string_view description) {
    EventRecord event;
    event.name = std::string(name);
    event.description = std::string(description);
    event.payload = {TypeCode::Struct, TypeCode::None, registry.Find<Payload>()};
    event.tags = {std::string(kFrameworkTag)};
    registry.RegisterEvent(std::move(event));
}

}  // namespace

void RegisterFrameworkTypes(TypeRegistry& registry) {
    Register<PluginManagerState>(registry, "PluginManagerState")
        .Value("NotReady", PluginManagerState::NotReady)
        .Value("PluginsInitialized", PluginManagerState::PluginsInitialized)
        .Tag(kFrameworkTag);

    Register<PluginManagerResource>(registry, "PluginManagerResource")
        .Field("state", &PluginManagerResource::state)
        .Tag(kFrameworkTag);

    Register<PluginResourceEventType>(registry, "PluginResourceEventType")
        .Value("Create", PluginResourceEventType::Create)
        .Value("Update", PluginResourceEventType::Update)
        .Value("Delete", PluginResourceEventType::Delete)
        .Tag(kFrameworkTag);

    Register<PluginResourceEvent>(registry, "PluginResourceEvent")
        .Field("uri", &PluginResourceEvent::uri)
        .Field("eventType", &PluginResourceEvent::eventType)
        .Field("data", &PluginResourceEvent::data)
        .Tag(kFrameworkTag);

    Register<PluginLcdsEvent>(registry, "PluginLcdsEvent")
        .Field("clientId", &PluginLcdsEvent::clientId)
        .Field("subtopic", &PluginLcdsEvent::subtopic)
        .Field("typeName", &PluginLcdsEvent::typeName)
        .Field("body", &PluginLcdsEvent::body)
        .Tag(kFrameworkTag);

    Register<PluginLcdsResponse>(registry, "PluginLcdsResponse")
        .Field("typeName", &PluginLcdsResponse::typeName)
        .Field("body", &PluginLcdsResponse::body)
        .Tag(kFrameworkTag);

    Register<PluginServiceProxyResponse>(registry, "PluginServiceProxyResponse")
        .Field("uuid", &PluginServiceProxyResponse::uuid)
        .Field("serviceName", &PluginServiceProxyResponse::serviceName)
        .Field("methodName", &PluginServiceProxyResponse::methodName)
        .Field("payload", &PluginServiceProxyResponse::payload)
        .Field("status", &PluginServiceProxyResponse::status)
        .Field("error", &PluginServiceProxyResponse::error)
        .Tag(kFrameworkTag);

    RegisterFrameworkEvent<PluginResourceEvent>(registry, "OnJsonApiEvent",
                                                "Fired when a resource is changed.");
    RegisterFrameworkEvent<PluginLcdsEvent>(registry, "OnLcdsEvent",
                                            "Fired when a message is received over the LCDS connection.");
    RegisterFrameworkEvent<PluginServiceProxyResponse>(
        registry, "OnServiceProxyUuidEvent", "Fired when a uuid-based service proxy message is received.");
    RegisterFrameworkEvent<PluginServiceProxyResponse>(
        registry, "OnServiceProxyMethodEvent",
        "Fired when a method-based service proxy message is received.");
    RegisterFrameworkEvent<PluginServiceProxyResponse>(
        registry, "OnServiceProxyAsyncEvent", "Fired when an async service proxy message is received.");
}

}  // namespace Brix
