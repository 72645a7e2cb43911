// framework_types.h - the records and enums the runtime itself exchanges with the host.
#pragma once

#include <cstdint>
#include <string>

#include "binding/binding_property.h"
#include "binding/type_registry.h"

namespace Brix {

// PluginManagerState: whether the host's plugins are initialised.
enum class PluginManagerState : int32_t {
    NotReady = 0,
    PluginsInitialized = 1,
};

// PluginManagerResource: the host's plugin manager resource.
struct PluginManagerResource {
    PluginManagerState state = PluginManagerState::NotReady;
};

// PluginResourceEventType: what happened to a resource.
enum class PluginResourceEventType : int32_t {
    Create = 0,
    Update = 1,
    Delete = 2,
};

// PluginResourceEvent: a change of one resource, in both directions.
struct PluginResourceEvent {
    std::string uri;
    PluginResourceEventType eventType = PluginResourceEventType::Create;
    BindingProperty data;
};

// PluginLcdsEvent: a message received over the LCDS connection.
struct PluginLcdsEvent {
    std::string clientId;
    std::string subtopic;
    std::string typeName;
    BindingProperty body;
};

// PluginLcdsResponse: the answer of an LCDS invoke, with the wire class of its body.
struct PluginLcdsResponse {
    std::string typeName;
    BindingProperty body;
};

// PluginServiceProxyResponse: an answer that reaches the client through the host's service proxy.
struct PluginServiceProxyResponse {
    std::string uuid;
    std::string serviceName;
    std::string methodName;
    std::string payload;
    std::string status;
    std::string error;
};

// RegisterFrameworkTypes registers the records and enums above and the runtime's events (OnJsonApiEvent,
// OnLcdsEvent and the three service proxy events), each tagged "bclient".
void RegisterFrameworkTypes(TypeRegistry& registry);

}  // namespace Brix
