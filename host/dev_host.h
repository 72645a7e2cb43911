// dev_host.h - the development host: loads a plugin, drives its callbacks and records what the
// plugin asks of the host.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "abi/host_abi.h"
#include "plugin_library.h"

namespace HuxHost {

// HostVersion is the plugin API version the host announces in the load block.
struct HostVersion {
    uint32_t major = 18;
    uint32_t minor = 0;
    uint32_t patch = 0;
};

// HostSlot numbers the functions of the host's table.
enum class HostSlot : uint32_t {
    Request = 0,
    Slot1 = 1,
    SendEvent = 2,
    Subscribe = 3,
    Unsubscribe = 4,
    Slot5 = 5,
    Yield = 6,
    BeginWait = 7,
    EndWait = 8,
    Log = 9,
};

// HostCall is one call the plugin made into the host's table, in the order of the calls.
struct HostCall {
    HostSlot slot = HostSlot::Request;
    std::string text;         // the URL, event name, wait label or log message
    int32_t level = 0;        // Log: the level
    uint32_t number = 0;      // Request: the method; Subscribe and BeginWait: the flag
    uint32_t hostHandle = 0;  // Request, Subscribe, Unsubscribe: the handle the plugin passed back
};

// MemoryStats are the words of the plugin's GetMemoryStats callback: six 64-bit counters (peak bytes,
// blocks at peak, bytes allocated, allocations, bytes released, releases) and the two trailing words.
struct MemoryStats {
    std::array<uint64_t, 6> counters{};
    std::array<uint32_t, 2> trailing{};

    uint64_t BytesInUse() const noexcept { return counters[2] - counters[4]; }
};

// DevHost is one host session with one plugin: Load, Start, any number of calls, Stop.
class DevHost {
public:
    static constexpr uint32_t kDefaultHostHandle = 0x4855u;

    explicit DevHost(std::unique_ptr<PluginLibrary> library);
    ~DevHost();
    DevHost(const DevHost&) = delete;
    DevHost& operator=(const DevHost&) = delete;

    // Load hands the plugin a load block carrying version. A plugin that refuses the version ends
    // the process, as a real host would see it.
    void Load(HostVersion version = {});

    // Start calls the plugin's Start callback with this host's table; answers the callback's result.
    bool Start(uint32_t hostHandle = kDefaultHostHandle);

    // StartWithContext calls Start with a context of the caller's choosing (null included).
    bool StartWithContext(const HostContext* context);

    // Stop calls the plugin's Stop callback, which destroys the plugin instance.
    void Stop();

    MemoryStats GetMemoryStats() const;

    bool Loaded() const noexcept { return loaded; }
    const HostLoadBlock& Block() const noexcept { return block; }
    const HostApi* Api() const noexcept { return &table.api; }
    const std::vector<HostCall>& Calls() const noexcept { return calls; }
    void ClearCalls() { calls.clear(); }

private:
    // ApiTable puts the owner right after the function table, so that a host function finds its
    // DevHost from the table address the plugin passes back.
    struct ApiTable {
        HostApi api;
        DevHost* owner;
    };

    static DevHost& Owner(const HostApi* api);
    static void Request(const HostApi* api, HostResponse* response, HostRequest* request);
    static void Slot1(const HostApi* api, uint32_t a, uint32_t b);
    static void SendEvent(const HostApi* api, HostEvent* event);
    static void Subscribe(const HostApi* api, const char* eventName, uint32_t hostHandle,
                          HostEventCallback callback, void* context, uint32_t flag);
    static void Unsubscribe(const HostApi* api, const char* eventName, uint32_t hostHandle);
    static void Slot5(const HostApi* api, uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e);
    static void Yield(const HostApi* api);
    static void BeginWait(const HostApi* api, const char* label, uint32_t flag);
    static void EndWait(const HostApi* api);
    static void Log(const HostApi* api, int32_t level, const char* message);

    void Record(HostCall call) { calls.push_back(std::move(call)); }

    std::unique_ptr<PluginLibrary> library;
    ApiTable table;
    HostContext context{};
    HostLoadBlock block{};
    bool loaded = false;
    std::vector<HostCall> calls;
};

}  // namespace HuxHost
