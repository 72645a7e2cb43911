// service_proxy.cpp - the service proxy's tables, the fulfilment of waiting requests and async routing.
#include "runtime/service_proxy.h"

#include "logging/logger.h"
#include "logging/message_formatter.h"

namespace Brix {

void ServiceProxy::Start(uint32_t handle, std::string_view name) {
    const std::lock_guard lock(mutex);
    hostHandle = handle;
    shortName = std::string(name);
}

namespace {

// MethodKey is "service.method", the key of method answers and asynchronous messages.
std::string MethodKey(const PluginServiceProxyResponse& answer) {
    return FormatMessage("%1.%2", answer.serviceName, answer.methodName);
}

}  // namespace

void ServiceProxy::OnUuidAnswer(const PluginServiceProxyResponse& answer) {
    Receive(answer.uuid, answer);
    Fulfil();
}

void ServiceProxy::OnMethodAnswer(const PluginServiceProxyResponse& answer) {
    Receive(MethodKey(answer), answer);
    Fulfil();
}

void ServiceProxy::Receive(std::string key, const PluginServiceProxyResponse& answer) {
    const std::lock_guard lock(mutex);
    received.push_back({std::move(key), answer});
}

void ServiceProxy::OnAsyncMessage(const PluginServiceProxyResponse& answer) {
    const std::string key = MethodKey(answer);
    const std::lock_guard lock(mutex);
    auto found = asyncHandlers.find(key);
    if (found == asyncHandlers.end()) {
        Log(LogLevel::Error, kPluginLogGroup,
            "%s: Could not find registered handler for async service proxy event %s", shortName.c_str(),
            key.c_str());
        return;
    }
    found->second(answer);
}

void ServiceProxy::Fulfil() {
    const std::lock_guard lock(mutex);
    for (auto entry = received.begin(); entry != received.end(); ++entry) {
        auto request = waiting.find(entry->key);
        if (request == waiting.end()) {
            continue;
        }
        request->second(entry->answer);
        Log(LogLevel::Always, kPluginLogGroup, "%s: Fulfilled service proxy request: %s", shortName.c_str(),
            entry->key.c_str());
        waiting.erase(request);
        received.erase(entry);
        return;
    }
}

void ServiceProxy::AwaitAnswer(std::string_view key, Handler completion) {
    {
        const std::lock_guard lock(mutex);
        waiting.insert_or_assign(std::string(key), std::move(completion));
    }
    Fulfil();
}

void ServiceProxy::SetAsyncHandler(std::string_view key, Handler handler) {
    const std::lock_guard lock(mutex);
    asyncHandlers.insert_or_assign(std::string(key), std::move(handler));
}

void ServiceProxy::Clear() {
    const std::lock_guard lock(mutex);
    received.clear();
    waiting.clear();
    asyncHandlers.clear();
}

std::size_t ServiceProxy::ReceivedCount() const {
    const std::lock_guard lock(mutex);
    return received.size();
}

}  // namespace Brix
