// host_request.h - requests the plugin sends through the host: plain, typed and their failures.
#pragma once

#include <cstdint>
#include <string_view>

#include "abi/host_abi.h"
#include "binding/binding_property.h"
#include "binding/conversion_status.h"
#include "binding/maybe_type.h"
#include "binding/type_registry.h"
#include "binding/value_conversion.h"
#include "rest/method_code.h"
#include "runtime/app_module.h"
#include "runtime/request_parameter.h"

namespace Brix {

// HostLink is what a request needs of the module that sends it: the host forwards (Request and the
// waits), the type registry for conversions and the host handle to pass back.
struct HostLink {
    AppModule& module;
    const TypeRegistry& registry;
    uint32_t hostHandle = 0;
};

namespace Bridge {

// The failure texts of requests; {method}, {url} and {error} are filled in.
inline constexpr std::string_view kParametersNotConverted =
    "Request not sent: Error converting parameters for {method} {url}: {error}";
inline constexpr std::string_view kErrorResponse = "Error response for {method} {url}: {error}";
inline constexpr std::string_view kStreamNotRead =
    "Error reading streamed response for {method} {url}: {error}";
inline constexpr std::string_view kResponseNotConverted =
    "Error converting response for {method} {url}: {error}";

// RequestFailure is the failure made from one of the texts above.
Failure RequestFailure(std::string_view messageTemplate, MethodCode method, std::string_view url,
                       std::string_view error, int32_t statusCode = 0);

// SendRequest asks the host to answer method on url with parameters, and lets it fill response,
// which the caller provides zero-filled and releases (ScopedHostResponse). The parameters are
// converted first, with the registry; if one does not convert, nothing is sent and the failure is
// kParametersNotConverted with status 400. A response carrying an error text fails with
// kErrorResponse and the response's status. The parameters' cells are released before it returns.
MaybeType<void> SendRequest(const HostLink& link, MethodCode method, std::string_view url,
                            const RequestParameters& parameters, HostResponse& response);

// RequestValue sends the request and answers the response's value: read from the stream when the
// host answered with one (ReadStream; a failure gives kStreamNotRead), otherwise converted from the
// body cell ("<result>"; a failure gives kResponseNotConverted). These failures carry no status.
// The response is released before it returns, on every path.
MaybeType<BindingProperty> RequestValue(const HostLink& link, MethodCode method, std::string_view url,
                                        const RequestParameters& parameters);

// TypedRequest is RequestValue converted to T ("<result>", with the registry); a value that does not
// convert fails with kResponseNotConverted and the converter's message.
template <class T>
MaybeType<T> TypedRequest(const HostLink& link, MethodCode method, std::string_view url,
                          const RequestParameters& parameters = {}) {
    MaybeType<BindingProperty> value = RequestValue(link, method, url, parameters);
    if (!value) {
        return value.Error();
    }
    T result{};
    ConversionStatus status;
    ValueToNative(status, result, value.Value(), "<result>", link.registry);
    if (!status.Ok()) {
        return RequestFailure(kResponseNotConverted, method, url, status.Message());
    }
    return result;
}

}  // namespace Bridge
}  // namespace Brix
