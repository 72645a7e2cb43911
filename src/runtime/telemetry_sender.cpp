// telemetry_sender.cpp - posting one telemetry event.
#include "runtime/telemetry_sender.h"

#include <string>

#include "runtime/scoped_host_response.h"

namespace Brix {

std::future<MaybeType<void>> TelemetrySender::Send(std::string_view eventName,
                                                   const RequestParameters& parameters) {
    std::promise<MaybeType<void>> promise;
    std::future<MaybeType<void>> future = promise.get_future();
    if (!link) {
        promise.set_value(InternalServerError());
        return future;
    }
    std::string url(kTelemetryUrl);
    url += eventName;
    ScopedHostResponse response;
    promise.set_value(Bridge::SendRequest(*link, MethodCode::Post, url, parameters, response.Get()));
    return future;
}

}  // namespace Brix
