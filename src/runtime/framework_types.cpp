// framework_types.cpp - registration of the runtime's own records and enums.
#include "runtime/framework_types.h"

#include "binding/type_builder.h"

namespace Brix {

namespace {
constexpr std::string_view kFrameworkTag = "bclient";
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
}

}  // namespace Brix
