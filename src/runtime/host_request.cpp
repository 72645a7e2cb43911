// host_request.cpp - sending a request through the host and reading its answer.
#include "runtime/host_request.h"

#include <cstring>
#include <string>
#include <vector>

#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"
#include "runtime/scoped_host_response.h"
#include "runtime/stream_reader.h"

namespace Brix::Bridge {

Failure RequestFailure(std::string_view messageTemplate, MethodCode method, std::string_view url,
                       std::string_view error, int32_t statusCode) {
    return Failure::Format(messageTemplate,
                           {{"method", std::string(MethodName(method))},
                            {"url", std::string(url)},
                            {"error", std::string(error)}},
                           statusCode);
}

MaybeType<void> SendRequest(const HostLink& link, MethodCode method, std::string_view url,
                            const RequestParameters& parameters, HostResponse& response) {
    constexpr int32_t kBadRequest = 400;
    const std::string urlText(url);

    std::vector<ScopedHostValue> cells;
    cells.reserve(parameters.size());
    std::vector<HostParam> params(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        ConversionStatus status;
        BindingProperty value;
        parameters[i].Convert(status, value, link.registry);
        if (!status.Ok()) {
            return RequestFailure(kParametersNotConverted, method, url, status.Message(), kBadRequest);
        }
        cells.emplace_back(ToHostValue(value, &link.registry));
        params[i].name = parameters[i].IsPositional() ? nullptr : parameters[i].Name().c_str();
        params[i].value = cells.back().Get();
    }

    HostRequest request;
    std::memset(&request, 0, sizeof(request));
    request.method = static_cast<uint32_t>(method);
    request.url = urlText.c_str();
    request.params = params.empty() ? nullptr : params.data();
    request.paramCount = static_cast<uint32_t>(params.size());
    request.hostHandle = link.hostHandle;
    link.module.Request(&response, &request);

    const char* error = response.error;
    if (error != nullptr) {
        const uint32_t status = response.status;
        return RequestFailure(kErrorResponse, method, url, error, static_cast<int32_t>(status));
    }
    return {};
}

MaybeType<BindingProperty> RequestValue(const HostLink& link, MethodCode method, std::string_view url,
                                        const RequestParameters& parameters) {
    ScopedHostResponse response;
    MaybeType<void> sent = SendRequest(link, method, url, parameters, response.Get());
    if (!sent) {
        return sent.Error();
    }
    if (response->read != nullptr) {
        MaybeType<BindingProperty> streamed = ReadStream(link.module, response.Get());
        if (!streamed) {
            return RequestFailure(kStreamNotRead, method, url, streamed.Error().Message());
        }
        return streamed;
    }
    ConversionStatus body = FromHostValue(response->body, "<result>");
    if (!body.Ok()) {
        return RequestFailure(kResponseNotConverted, method, url, body.Message());
    }
    return std::move(body.Value());
}

}  // namespace Brix::Bridge
