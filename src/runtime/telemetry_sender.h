// telemetry_sender.h - telemetry events, posted through the host.
#pragma once

#include <future>
#include <string_view>

#include "binding/maybe_type.h"
#include "runtime/host_request.h"
#include "runtime/request_parameter.h"

namespace Brix {

// kTelemetryUrl is the endpoint prefix of telemetry events; the event name follows it.
inline constexpr std::string_view kTelemetryUrl = "/telemetry/v1/events/";

// TelemetrySender posts telemetry events through the module it was made for.
class TelemetrySender {
public:
    explicit TelemetrySender(const HostLink& hostLink) noexcept : link(hostLink) {}

    // Send POSTs parameters to kTelemetryUrl followed by eventName. The request runs before Send
    // returns; the future holds its outcome (nothing, or the request's failure) and is always ready.
    std::future<MaybeType<void>> Send(std::string_view eventName, const RequestParameters& parameters = {});

private:
    HostLink link;
};

}  // namespace Brix
