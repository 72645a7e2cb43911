// service_proxy.h - answers of back-end services that reach the plugin through the host's service proxy.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/framework_types.h"

namespace Brix {

// ServiceProxy keeps the service proxy answers the host forwards until a waiting request claims
// them, and routes asynchronous service messages to their handlers. Its three tables (answers
// received, waiting requests, asynchronous handlers) are guarded by the module's mutex, since the
// host may forward answers on any of its threads. Handlers and completions run while that mutex is
// held: they must not call back into the service proxy.
class ServiceProxy {
public:
    using Handler = std::function<void(const PluginServiceProxyResponse&)>;

    explicit ServiceProxy(std::mutex& tableMutex) noexcept : mutex(tableMutex) {}

    // Start keeps the host handle and the short name that prefixes the proxy's log lines.
    void Start(uint32_t hostHandle, std::string_view shortName);

    // OnUuidAnswer keeps answer under its uuid, OnMethodAnswer under "service.method"; both then
    // hand the first answer a request waits for to that request (Fulfil).
    void OnUuidAnswer(const PluginServiceProxyResponse& answer);
    void OnMethodAnswer(const PluginServiceProxyResponse& answer);

    // OnAsyncMessage calls the handler registered for "service.method", or logs at level 2 that there
    // is none and drops the message.
    void OnAsyncMessage(const PluginServiceProxyResponse& answer);

    // AwaitAnswer registers a request waiting for the answer under key (a uuid or "service.method"),
    // replacing an earlier one for the same key, and fulfils at once if that answer came already. The
    // queue service waits for no answer; it stays as the way to fill the table of waiting requests.
    void AwaitAnswer(std::string_view key, Handler completion);

    // SetAsyncHandler registers the handler of asynchronous messages of "service.method". The queue
    // service handles none; it stays as the way to fill the table of asynchronous handlers.
    void SetAsyncHandler(std::string_view key, Handler handler);

    // Clear forgets every answer, waiting request and handler.
    void Clear();

    std::size_t ReceivedCount() const;

private:
    struct ReceivedAnswer {
        std::string key;
        PluginServiceProxyResponse answer;
    };

    void Receive(std::string key, const PluginServiceProxyResponse& answer);

    // Fulfil walks the answers in the order they came and hands the first one that a request waits for
    // to that request's completion, logging "<short name>: Fulfilled service proxy request: <key>";
    // both are then forgotten. Answers nobody waits for stay.
    void Fulfil();

    std::mutex& mutex;
    // hostHandle is part of the proxy's state as the host hands it over; no answer needs it yet.
    uint32_t hostHandle = 0;
    std::string shortName;
    std::vector<ReceivedAnswer> received;
    std::map<std::string, Handler, std::less<>> waiting;
    std::map<std::string, Handler, std::less<>> asyncHandlers;
};

// ServiceProxyEvent is a host event that carries service proxy answers, with the operation that takes
// them.
struct ServiceProxyEvent {
    std::string_view name;
    void (ServiceProxy::*take)(const PluginServiceProxyResponse&);
};

// kServiceProxyEvents are the host events the service proxy follows, in the order it subscribes to
// them, each with the flag kServiceProxyEventFlag.
inline constexpr uint32_t kServiceProxyEventFlag = 1;
inline constexpr std::array<ServiceProxyEvent, 3> kServiceProxyEvents{{
    {"OnServiceProxyUuidEvent", &ServiceProxy::OnUuidAnswer},
    {"OnServiceProxyMethodEvent", &ServiceProxy::OnMethodAnswer},
    {"OnServiceProxyAsyncEvent", &ServiceProxy::OnAsyncMessage},
}};

}  // namespace Brix
