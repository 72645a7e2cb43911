// dev_host.cpp - the development host's side of the plugin boundary.
#include "dev_host.h"

namespace HuxHost {

namespace {

std::string TextOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

}  // namespace

DevHost::DevHost(std::unique_ptr<PluginLibrary> pluginLibrary)
    : library(std::move(pluginLibrary)),
      table{{&DevHost::Request, &DevHost::Slot1, &DevHost::SendEvent, &DevHost::Subscribe,
             &DevHost::Unsubscribe, &DevHost::Slot5, &DevHost::Yield, &DevHost::BeginWait, &DevHost::EndWait,
             &DevHost::Log},
            this} {}

DevHost::~DevHost() {
    if (loaded) {
        Stop();
    }
}

void DevHost::Load(HostVersion version) {
    block = HostLoadBlock{};
    block.major = version.major;
    block.minor = version.minor;
    block.patch = version.patch;
    library->Entry()(&block);
    loaded = block.callbacks != nullptr && block.instance != nullptr;
}

bool DevHost::Start(uint32_t hostHandle) {
    context.api = &table.api;
    context.hostHandle = hostHandle;
    return StartWithContext(&context);
}

bool DevHost::StartWithContext(const HostContext* hostContext) {
    if (!loaded) {
        return false;
    }
    return block.callbacks->start(block.instance, hostContext) != 0;
}

void DevHost::Stop() {
    if (!loaded) {
        return;
    }
    loaded = false;
    block.callbacks->stop(block.instance);
}

MemoryStats DevHost::GetMemoryStats() const {
    MemoryStats stats;
    if (!loaded) {
        return stats;
    }
    std::array<uint32_t, 14> words{};
    block.callbacks->getMemoryStats(block.instance, words.data());
    for (size_t i = 0; i < stats.counters.size(); ++i) {
        stats.counters[i] = uint64_t{words[2 * i]} | (uint64_t{words[2 * i + 1]} << 32);
    }
    stats.trailing = {words[12], words[13]};
    return stats;
}

DevHost& DevHost::Owner(const HostApi* api) {
    return *reinterpret_cast<const ApiTable*>(api)->owner;
}

void DevHost::Request(const HostApi* api, HostResponse* /*response*/, HostRequest* request) {
    Owner(api).Record({.slot = HostSlot::Request,
                       .text = TextOf(request->url),
                       .number = request->method,
                       .hostHandle = request->hostHandle});
}

void DevHost::Slot1(const HostApi* api, uint32_t /*a*/, uint32_t /*b*/) {
    Owner(api).Record({.slot = HostSlot::Slot1});
}

void DevHost::SendEvent(const HostApi* api, HostEvent* event) {
    Owner(api).Record({.slot = HostSlot::SendEvent, .text = TextOf(event->name)});
}

void DevHost::Subscribe(const HostApi* api, const char* eventName, uint32_t hostHandle,
                        HostEventCallback /*callback*/, void* /*context*/, uint32_t flag) {
    Owner(api).Record(
        {.slot = HostSlot::Subscribe, .text = TextOf(eventName), .number = flag, .hostHandle = hostHandle});
}

void DevHost::Unsubscribe(const HostApi* api, const char* eventName, uint32_t hostHandle) {
    Owner(api).Record({.slot = HostSlot::Unsubscribe, .text = TextOf(eventName), .hostHandle = hostHandle});
}

void DevHost::Slot5(const HostApi* api, uint32_t /*a*/, uint32_t /*b*/, uint32_t /*c*/, double /*d*/,
                    uint32_t /*e*/) {
    Owner(api).Record({.slot = HostSlot::Slot5});
}

void DevHost::Yield(const HostApi* api) {
    Owner(api).Record({.slot = HostSlot::Yield});
}

void DevHost::BeginWait(const HostApi* api, const char* label, uint32_t flag) {
    Owner(api).Record({.slot = HostSlot::BeginWait, .text = TextOf(label), .number = flag});
}

void DevHost::EndWait(const HostApi* api) {
    Owner(api).Record({.slot = HostSlot::EndWait});
}

void DevHost::Log(const HostApi* api, int32_t level, const char* message) {
    Owner(api).Record({.slot = HostSlot::Log, .text = TextOf(message), .level = level});
}

}  // namespace HuxHost
