// app_module.h - the abstract framework base of every plugin object: resource subscriptions and the
// host operations the framework relies on.
#pragma once

#include <cstdint>
#include <string_view>

#include "abi/host_abi.h"
#include "binding/wire_class_names.h"

namespace Brix {

// AppModule declares, in this order, the operations every module offers: following resources by
// URI, shutting down, and one forward per host function. The order of the virtual operations is
// part of the module's layout and is kept by every class that derives from it, which appends its own.
class AppModule {
public:
    AppModule() = default;
    AppModule(const AppModule&) = delete;
    AppModule& operator=(const AppModule&) = delete;

    // Subscribe follows the resource at uri; Unsubscribe stops following it.
    virtual void Subscribe(std::string_view uri);
    virtual void Unsubscribe(std::string_view uri);

    virtual ~AppModule();

    // Shutdown unsubscribes every event still registered with the host and clears the module's
    // subscription and service tables.
    virtual void Shutdown();

    // The host's functions, slot by slot. Implementations forward to the host's table and add nothing.
    virtual void Request(HostResponse* response, HostRequest* request) = 0;
    virtual void HostSlot1(uint32_t a, uint32_t b) = 0;
    virtual void SendEvent(HostEvent* event) = 0;
    virtual void SubscribeHost(const char* eventName, uint32_t hostHandle, HostEventCallback callback,
                               void* context, uint32_t flag) = 0;
    virtual void UnsubscribeHost(const char* eventName, uint32_t hostHandle) = 0;
    virtual void HostSlot5(uint32_t a, uint32_t b, uint32_t c, double d, uint32_t e) = 0;
    virtual void Yield() = 0;
    virtual void BeginWait(std::string_view label, uint32_t flag) = 0;
    virtual void EndWait() = 0;

    // The LCDS wire class names of the records the plugin registered (filled by the plugin).
    WireClassNames& WireClasses() noexcept { return wireClasses; }
    const WireClassNames& WireClasses() const noexcept { return wireClasses; }

private:
    WireClassNames wireClasses;
};

}  // namespace Brix
