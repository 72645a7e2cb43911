// telemetry_sender.h - telemetry events, posted through the host.
#pragma once

#include <future>
#include <optional>
#include <string_view>

#include "binding/maybe_type.h"
#include "runtime/host_request.h"
#include "runtime/request_parameter.h"

namespace Brix {

// kTelemetryUrl is the endpoint prefix of telemetry events; the event name follows it.
inline constexpr std::string_view kTelemetryUrl = "/telemetry/v1/events/";

// TelemetrySender posts telemetry events through the module it is started for.
class TelemetrySender {
public:
    // Start makes the sender post through hostLink, in place of any earlier one.
    void Start(const HostLink& hostLink) { link.emplace(hostLink); }

    // Send POSTs parameters to kTelemetryUrl followed by eventName. The request runs before Send
    // returns; the future holds its outcome (nothing, or the request's failure) and is always ready.
    // Before Start it fails with InternalServerError().
    std::future<MaybeType<void>> Send(std::string_view eventName, const RequestParameters& parameters = {});

private:
    std::optional<HostLink> link;
};

}  // namespace Brix
