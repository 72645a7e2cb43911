// event_tracing_posix.cpp - POSIX systems have no such tracing facility: tracing stays off.
#include "platform/event_tracing.h"
#include "platform/system_clock.h"

namespace Brix::Platform {

EventTracingStatus StartEventTracing() noexcept {
    EventTracingStatus status;
    status.counterFrequency = PerformanceFrequency();
    return status;
}

void StopEventTracing() noexcept {}

}  // namespace Brix::Platform
