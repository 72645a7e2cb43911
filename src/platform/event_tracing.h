// event_tracing.h - the operating system's event tracing: four providers registered once per process,
// and the main thread announced through the second.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace Brix::Platform {

// TraceProviderId is a provider's 128-bit identifier, laid out as a GUID.
struct TraceProviderId {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    std::array<uint8_t, 8> data4;
};

// kTraceProviders are the identifiers of the four providers, fixed for the life of the product so that
// tracing sessions can name them.
inline constexpr std::array<TraceProviderId, 4> kTraceProviders = {{
    {0x6b3f2a41, 0x0c52, 0x4e8d, {0x9a, 0x17, 0x3e, 0x58, 0xc2, 0x0b, 0x71, 0xd4}},
    {0x6b3f2a42, 0x0c52, 0x4e8d, {0x9a, 0x17, 0x3e, 0x58, 0xc2, 0x0b, 0x71, 0xd4}},
    {0x6b3f2a43, 0x0c52, 0x4e8d, {0x9a, 0x17, 0x3e, 0x58, 0xc2, 0x0b, 0x71, 0xd4}},
    {0x6b3f2a44, 0x0c52, 0x4e8d, {0x9a, 0x17, 0x3e, 0x58, 0xc2, 0x0b, 0x71, 0xd4}},
}};

// kMainThreadName is the text of the thread-naming event written at start.
inline constexpr const char* kMainThreadName = "Main thread";

// EventTracingStatus tells what StartEventTracing found and did.
struct EventTracingStatus {
    bool available = false;            // the system's tracing functions were found
    std::size_t registered = 0;        // providers registered (all four, or none)
    bool announcedMainThread = false;  // the thread-naming event was enabled and written
    int64_t counterFrequency = 0;      // the performance counter's frequency, read at the same time
};

// StartEventTracing loads the system's tracing library by name ("Advapi32.dll" on Windows), looks up
// its register, write and unregister functions, registers the four providers with an enable callback
// each, announces the calling thread as kMainThreadName when the second provider's thread-naming event
// is enabled, and reads the performance counter's frequency. Only the first call does this; later calls
// return the same status. Tracing is silently off where the library or a function is missing, and on
// systems without this facility. Never fails.
EventTracingStatus StartEventTracing() noexcept;

// StopEventTracing unregisters the providers and releases the library; it also runs by itself when the
// process or the plugin library ends.
void StopEventTracing() noexcept;

}  // namespace Brix::Platform
