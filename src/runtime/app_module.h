// app_module.h - the abstract framework base of every plugin object: resource subscriptions and the
// host operations the framework relies on.
#pragma once

#include <chrono>
#include <cstdint>
#include <future>
#include <string_view>

#include "abi/host_abi.h"
#include "binding/static_type.h"
#include "binding/wire_class_names.h"
#include "logging/message_formatter.h"

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

    // Await takes the result of future, giving the host's loop turns until it is ready. A ready
    // future costs no host call; otherwise the wait is announced once with BeginWait("Wait:
    // future<T>"), each turn is one Yield, and EndWait closes the wait. Whatever the result holds (a
    // MaybeType failure included) is returned as it is. A future without a result to take (no shared
    // state, or taken already) or whose promise broke is a programming error that cannot be answered:
    // the process ends with the fatal stop "DOV-6D828C10".
    template <class T>
    T Await(std::future<T> future);

    // YieldTurn gives the host's loop one turn, announced as "Wait: yield" and closed again.
    void YieldTurn();

    // The LCDS wire class names of the records the plugin registered (filled by the plugin).
    WireClassNames& WireClasses() noexcept { return wireClasses; }

private:
    [[noreturn]] static void BrokenFuture(const std::future_error& error) noexcept;

    WireClassNames wireClasses;
};

template <class T>
T AppModule::Await(std::future<T> future) {
    try {
        if (!future.valid()) {
            throw std::future_error(std::future_errc::no_state);
        }
        bool announced = false;
        while (future.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            if (!announced) {
                BeginWait(FormatMessage("Wait: future<%1>", StaticType<T>().name), 0);
                announced = true;
            }
            Yield();
        }
        if (announced) {
            EndWait();
        }
        return future.get();
    } catch (const std::future_error& error) {
        BrokenFuture(error);
    }
}

}  // namespace Brix
