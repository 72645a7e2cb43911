// endpoint_entry.cpp - serving a request delivered by the host: route, bind, call, answer.
#include "rest/endpoint_entry.h"

#include <array>
#include <chrono>
#include <cstring>
#include <string_view>

#include "rest/argument_binding.h"
#include "rest/endpoint.h"
#include "rest/response_writer.h"
#include "rest/url_text.h"

namespace Brix::Rest {

namespace {

constexpr std::string_view kInvalidFunction = "Invalid function";
constexpr uint32_t kNotFoundStatus = 404;
// The answer to an exception that escaped, written without allocating anything but the copy.
constexpr std::string_view kInternalError = "Internal server error";
constexpr uint32_t kInternalErrorStatus = 500;

// Serve runs one request through its endpoint and writes the answer into block.
void Serve(HostResponse& block, const HostRequest& request) {
    const auto* const record = static_cast<const HostEndpointRecord*>(request.endpoint);
    const Endpoint* const endpoint =
        record != nullptr ? static_cast<const Endpoint*>(record->handlerContext) : nullptr;
    if (endpoint == nullptr || endpoint->Function() == nullptr) {
        WriteError(block, kInvalidFunction, kNotFoundStatus);
        return;
    }

    const char* const url = request.url;
    const char* const functionName = request.functionName;
    RequestTarget target;
    target.method = MethodFromHost(request.method);
    if (target.method == MethodCode::Function && functionName != nullptr) {
        target.functionName = functionName;
    }
    target.path = std::string(SplitUrl(url != nullptr ? url : "").path);
    const std::array<const Route*, 1> routes = {&endpoint->GetRoute()};
    if (!SelectRoute(target, routes, false)) {
        WriteError(block, kInvalidFunction, kNotFoundStatus);
        return;
    }

    const FunctionRecord& function = *endpoint->Function();
    ConversionStatus status;
    HeaderMap headers;
    Arguments arguments;
    BindRequest(status, function, request, target.parameters, headers, arguments);
    EndpointResponse response;
    if (!status.Ok()) {
        response.result.Fail(status.Message());
    } else {
        const RequestContext context{request.hostHandle,        std::chrono::system_clock::now(),
                                     url != nullptr ? url : "", target.method,
                                     target.functionName,       &headers};
        Invocation call{arguments, context, response};
        endpoint->Call(call);
    }
    WriteResponse(block, response, endpoint->Registry());
}

}  // namespace

void EndpointEntry(HostResponse* response, HostRequest* request) noexcept {
    if (response == nullptr) {
        return;
    }
    std::memset(static_cast<void*>(response), 0, sizeof(HostResponse));
    response->release = &ReleaseEndpointResponse;
    if (request == nullptr) {
        WriteError(*response, kInvalidFunction, kNotFoundStatus);
        return;
    }
    try {
        Serve(*response, *request);
    } catch (...) {
        ReleaseEndpointResponse(response);
        WriteError(*response, kInternalError, kInternalErrorStatus);
    }
}

}  // namespace Brix::Rest
