// endpoint.h - the handler of a REST endpoint, the context of a request, and endpoint registration.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "binding/api_records.h"
#include "binding/binding_property.h"
#include "binding/type_registry.h"
#include "rest/endpoint_response.h"
#include "rest/method_code.h"
#include "rest/route.h"

namespace Brix::Rest {

// RequestContext is what a handler that asks for it learns about the request besides its arguments.
struct RequestContext {
    uint32_t hostHandle = 0;
    std::chrono::system_clock::time_point time;  // when the request arrived
    std::string_view url;                        // path and query as the host gave them
    MethodCode method = MethodCode::None;
    std::string_view functionName;  // for MethodCode::Function, else empty
    const HeaderMap* headers = nullptr;
};

// Invocation is one call of a handler: the bound arguments, one per argument of the function in
// order (empty when the request gave none), the request's context and the response to fill.
struct Invocation {
    std::span<BindingProperty> arguments;
    const RequestContext& context;
    EndpointResponse& response;
};

// EndpointDeclaration is everything registration records about an endpoint besides its handler.
struct EndpointDeclaration {
    MethodCode method = MethodCode::None;
    std::string path;          // the URL template, "{name}" groups for path parameters
    std::string functionName;  // for MethodCode::Function
    std::string nameSpace;
    std::string description;
    std::vector<ArgumentRecord> arguments;  // in the handler's order
    TypeReference returns;
    std::vector<std::string> tags;  // the module's tags
};

// Endpoint is the handler of a function registered as a REST endpoint. Registration attaches it to
// its function record, its registry and its compiled route; the request entry calls it.
class Endpoint : public FunctionHandler {
public:
    // Call runs the handler with bound arguments. It must not throw; the request entry catches what
    // escapes anyway and answers with an internal error.
    virtual void Call(Invocation& call) const = 0;

    MethodCode Method() const noexcept { return route.method; }
    const std::string& Path() const noexcept { return route.pathTemplate; }
    const std::string& FunctionName() const noexcept { return route.functionName; }
    const Route& GetRoute() const noexcept { return route; }
    const FunctionRecord* Function() const noexcept { return functionRecord; }
    const TypeRegistry* Registry() const noexcept { return typeRegistry; }

private:
    friend const FunctionRecord* RegisterEndpoint(TypeRegistry& registry, EndpointDeclaration declaration,
                                                  std::shared_ptr<Endpoint> endpoint);

    Route route;
    const FunctionRecord* functionRecord = nullptr;
    const TypeRegistry* typeRegistry = nullptr;
};

// RegisterEndpoint registers a function named OperationName(method, path) with endpoint as its
// handler. Its path is the given one with one trailing "/" removed (when longer than one character),
// and its route is compiled from that path. A path group without an argument of location path or
// any, or a path argument without a group, is logged as an error (requests for it fail while
// binding). Answers the registered record, or null when a function of that name was registered
// before (the earlier one stays; logged).
const FunctionRecord* RegisterEndpoint(TypeRegistry& registry, EndpointDeclaration declaration,
                                       std::shared_ptr<Endpoint> endpoint);

// EndpointOf is the endpoint of a registered function, or null for a function registered otherwise.
Endpoint* EndpointOf(const FunctionRecord& function) noexcept;

}  // namespace Brix::Rest
