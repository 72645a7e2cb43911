// endpoint.cpp - registration of REST endpoints as functions of the type registry.
#include "rest/endpoint.h"

#include <algorithm>

#include "binding/fnv1a.h"
#include "logging/logger.h"
#include "rest/operation_name.h"
#include "rest/url_text.h"

namespace Brix::Rest {

namespace {

// CheckPathArguments logs the mismatches between a route's groups and the function's arguments.
void CheckPathArguments(const FunctionRecord& function, const Route& route) {
    for (const PathParameter& parameter : route.parameters) {
        const bool bound =
            std::any_of(function.arguments.begin(), function.arguments.end(), [&](const auto& argument) {
                return argument.name == parameter.name && (argument.location == ArgumentLocation::Path ||
                                                           argument.location == ArgumentLocation::Any);
            });
        if (!bound) {
            Log(LogLevel::Error, kPluginLogGroup, "Endpoint %s has no argument for path parameter '%s'",
                function.name.c_str(), parameter.name.c_str());
        }
    }
    for (const ArgumentRecord& argument : function.arguments) {
        if (argument.location != ArgumentLocation::Path) {
            continue;
        }
        const bool grouped =
            std::any_of(route.parameters.begin(), route.parameters.end(),
                        [&](const PathParameter& parameter) { return parameter.name == argument.name; });
        if (!grouped) {
            Log(LogLevel::Error, kPluginLogGroup,
                "Endpoint %s declares path argument '%s' that its path %s lacks", function.name.c_str(),
                argument.name.c_str(), route.pathTemplate.c_str());
        }
    }
}

}  // namespace

const FunctionRecord* RegisterEndpoint(TypeRegistry& registry, EndpointDeclaration declaration,
                                       std::shared_ptr<Endpoint> endpoint) {
    const std::string_view path = TrimTrailingSlash(declaration.path);

    FunctionRecord record;
    record.name = OperationName(declaration.method, declaration.path);
    record.nameSpace = std::move(declaration.nameSpace);
    record.description = std::move(declaration.description);
    record.arguments = std::move(declaration.arguments);
    for (ArgumentRecord& argument : record.arguments) {
        argument.nameHash = Fnv1a32(argument.name);
    }
    record.returns = declaration.returns;
    record.tags = std::move(declaration.tags);
    Endpoint* const handler = endpoint.get();
    record.handler = std::move(endpoint);

    const std::string functionName =
        declaration.method == MethodCode::Function ? declaration.functionName : "";
    handler->route = CompileRoute(declaration.method, functionName, path, handler);

    const FunctionRecord& registered = registry.RegisterFunction(std::move(record));
    if (registered.handler.get() != handler) {
        Log(LogLevel::Error, kPluginLogGroup,
            "Endpoint %s is already registered; the first registration stays", registered.name.c_str());
        return nullptr;
    }
    handler->functionRecord = &registered;
    handler->typeRegistry = &registry;
    CheckPathArguments(registered, handler->route);
    return &registered;
}

Endpoint* EndpointOf(const FunctionRecord& function) noexcept {
    return dynamic_cast<Endpoint*>(function.handler.get());
}

}  // namespace Brix::Rest
