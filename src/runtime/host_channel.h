// host_channel.h - the host's function table and the calls the plugin makes through it.
#pragma once

#include <cstdint>
#include <string_view>

#include "abi/host_abi.h"

namespace Brix {

// HostChannel keeps the host context that the Start callback hands over and calls the host's
// functions through its table, each with the table as first argument and nothing added. Before the
// host has given its context there is no table, and every call does nothing.
class HostChannel {
public:
    // Attach keeps context, and with it the host's table and handle, for the plugin's lifetime.
    void Attach(const HostContext* context) noexcept { hostContext = context; }

    const HostApi* Api() const noexcept { return hostContext != nullptr ? hostContext->api : nullptr; }
    uint32_t HostHandle() const noexcept { return hostContext != nullptr ? hostContext->hostHandle : 0; }

    // The host's functions, in the order of their slots; Log (slot 9) is called by the log target.
    void Request(HostResponse* response, HostRequest* request) const;
    void Slot1(uint32_t a, uint32_t b) const;
    void SendEvent(HostEvent* event) const;
    void Subscribe(const char* eventName, uint32_t hostHandle, HostEventCallback callback, void* context,
                   uint32_t flag) const;
    void Unsubscribe(const char* eventName, uint32_t hostHandle) const;
    void Slot5(uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e) const;
    void Yield() const;
    // BeginWait hands the host the label as a NUL-terminated text.
    void BeginWait(std::string_view label, uint32_t flag) const;
    void EndWait() const;

private:
    const HostContext* hostContext = nullptr;
};

}  // namespace Brix
