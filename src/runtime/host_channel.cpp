// host_channel.cpp - one call through the host's function table per host function.
#include "runtime/host_channel.h"

#include <string>

namespace Brix {

void HostChannel::Request(HostResponse* response, HostRequest* request) const {
    if (const HostApi* api = Api()) {
        api->request(api, response, request);
    }
}

void HostChannel::Slot1(uint32_t a, uint32_t b) const {
    if (const HostApi* api = Api()) {
        api->slot1(api, a, b);
    }
}

void HostChannel::SendEvent(HostEvent* event) const {
    if (const HostApi* api = Api()) {
        api->sendEvent(api, event);
    }
}

void HostChannel::Subscribe(const char* eventName, uint32_t hostHandle, HostEventCallback callback,
                            void* context, uint32_t flag) const {
    if (const HostApi* api = Api()) {
        api->subscribe(api, eventName, hostHandle, callback, context, flag);
    }
}

void HostChannel::Unsubscribe(const char* eventName, uint32_t hostHandle) const {
    if (const HostApi* api = Api()) {
        api->unsubscribe(api, eventName, hostHandle);
    }
}

void HostChannel::Slot5(uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e) const {
    if (const HostApi* api = Api()) {
        api->slot5(api, a, b, c, d, e);
    }
}

void HostChannel::Yield() const {
    if (const HostApi* api = Api()) {
        api->yield(api);
    }
}

void HostChannel::BeginWait(std::string_view label, uint32_t flag) const {
    if (const HostApi* api = Api()) {
        const std::string text(label);
        api->beginWait(api, text.c_str(), flag);
    }
}

void HostChannel::EndWait() const {
    if (const HostApi* api = Api()) {
        api->endWait(api);
    }
}

}  // namespace Brix
