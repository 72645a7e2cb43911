// host_channel.h - the host's function table and the calls the plugin makes through it.
#pragma once

#include <cstdint>
#include <string>
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
    void Request(HostResponse* response, HostRequest* request) const {
        Call<&HostApi::request>(response, request);
    }
    void Slot1(uint32_t a, uint32_t b) const { Call<&HostApi::slot1>(a, b); }
    void SendEvent(HostEvent* event) const { Call<&HostApi::sendEvent>(event); }
    void Subscribe(const char* eventName, uint32_t hostHandle, HostEventCallback callback, void* context,
                   uint32_t flag) const {
        Call<&HostApi::subscribe>(eventName, hostHandle, callback, context, flag);
    }
    void Unsubscribe(const char* eventName, uint32_t hostHandle) const {
        Call<&HostApi::unsubscribe>(eventName, hostHandle);
    }
    void Slot5(uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e) const {
        Call<&HostApi::slot5>(a, b, c, d, e);
    }
    void Yield() const { Call<&HostApi::yield>(); }
    // BeginWait hands the host the label as a NUL-terminated text.
    void BeginWait(std::string_view label, uint32_t flag) const {
        Call<&HostApi::beginWait>(std::string(label).c_str(), flag);
    }
    void EndWait() const { Call<&HostApi::endWait>(); }

private:
    // Call calls the host function in slot with the table first, when there is a table.
    template <auto slot, class... Args>
    void Call(Args... arguments) const {
        if (const HostApi* api = Api()) {
            (api->*slot)(api, arguments...);
        }
    }

    const HostContext* hostContext = nullptr;
};

}  // namespace Brix
