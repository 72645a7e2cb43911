// dev_host.cpp - the development host's side of the plugin boundary.
#include "dev_host.h"

#include <cstring>

#include "host_values/host_value.h"
#include "host_values/host_value_conversion.h"
#include "runtime/event_names.h"

namespace HuxHost {

namespace {

constexpr std::string_view kLcdsInvokeUrl = "/hux-login/v1/session/invoke";
constexpr std::string_view kInvalidFunction = "Invalid function";
constexpr uint32_t kNotFound = 404;

std::string TextOf(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}

std::string LcdsKey(std::string_view destination, std::string_view method) {
    std::string key(destination);
    key += '.';
    key += method;
    return key;
}

std::string_view EventTypeName(Brix::PluginResourceEventType type) {
    switch (type) {
        case Brix::PluginResourceEventType::Create:
            return "Create";
        case Brix::PluginResourceEventType::Update:
            return "Update";
        case Brix::PluginResourceEventType::Delete:
            return "Delete";
    }
    return "";
}

// ReadRouteStream collects a streamed route answer and closes its stream.
std::string ReadRouteStream(HostStreamRead read, HostStreamClose close, void* streamContext) {
    std::string collected;
    std::array<uint8_t, 4096> buffer{};
    uint8_t more = 1;
    while (more != 0) {
        uint32_t size = buffer.size();
        if (read(streamContext, buffer.data(), &size, &more) == 0 || size > buffer.size()) {
            break;
        }
        collected.append(reinterpret_cast<const char*>(buffer.data()), size);
    }
    if (close != nullptr) {
        close(streamContext);
    }
    return collected;
}

}  // namespace

DevHost::DevHost(std::unique_ptr<PluginLibrary> pluginLibrary) : DevHost(pluginLibrary->Entry()) {
    library = std::move(pluginLibrary);
}

DevHost::DevHost(HostLoadFunction entryFunction)
    : entry(entryFunction),
      table{{&DevHost::Request, &DevHost::Slot1, &DevHost::SendEvent, &DevHost::Subscribe,
             &DevHost::Unsubscribe, &DevHost::Slot5, &DevHost::Yield, &DevHost::BeginWait, &DevHost::EndWait,
             &DevHost::Log},
            this} {}

DevHost::~DevHost() {
    if (loaded) {
        Stop();
    }
    ForgetResponses(ledger);
}

// ---- the plugin's life ----------------------------------------------------------------------------

void DevHost::Load(HostVersion version) {
    block = HostLoadBlock{};
    block.major = version.major;
    block.minor = version.minor;
    block.patch = version.patch;
    entry(&block);
    loaded = block.callbacks != nullptr && block.instance != nullptr;
}

bool DevHost::Start(uint32_t hostHandle) {
    context.api = &table.api;
    context.hostHandle = hostHandle;
    return StartWithContext(&context);
}

// NOLINTNEXTLINE(readability-make-member-function-const): it drives the plugin
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

// ---- scripts ----------------------------------------------------------------------------------------

void DevHost::SetAnswer(Brix::MethodCode method, std::string url, ScriptedAnswer answer) {
    answers.insert_or_assign({method, std::move(url)}, std::move(answer));
}

void DevHost::SetResource(std::string uri, Brix::BindingProperty value) {
    SetAnswer(Brix::MethodCode::Get, std::move(uri), ScriptedAnswer::Value(std::move(value)));
}

void DevHost::RemoveAnswer(Brix::MethodCode method, const std::string& url) {
    answers.erase({method, url});
}

const ScriptedAnswer* DevHost::FindAnswer(Brix::MethodCode method, const std::string& url) const {
    const auto found = answers.find({method, url});
    return found != answers.end() ? &found->second : nullptr;
}

void DevHost::ScriptLcds(const std::string& destination, const std::string& method, std::string_view typeName,
                         Brix::BindingProperty body) {
    Brix::BindingProperty response;
    response.MemberForWriting("typeName").SetString(typeName);
    response.MemberForWriting("body") = std::move(body);
    lcdsAnswers.insert_or_assign(LcdsKey(destination, method), ScriptedAnswer::Value(std::move(response)));
}

void DevHost::ScriptLcdsError(const std::string& destination, const std::string& method, uint32_t status,
                              std::string error) {
    ScriptLcdsAnswer(destination, method, ScriptedAnswer::Error(status, std::move(error)));
}

void DevHost::ScriptLcdsAnswer(const std::string& destination, const std::string& method,
                               ScriptedAnswer answer) {
    lcdsAnswers.insert_or_assign(LcdsKey(destination, method), std::move(answer));
}

// ---- deliveries -------------------------------------------------------------------------------------

bool DevHost::Deliver(std::string_view eventName, const Brix::BindingProperty& payload) {
    Brix::ScopedHostValue cell(Brix::ToHostValue(payload));
    return DeliverCell(eventName, cell.Get());
}

bool DevHost::DeliverCell(std::string_view eventName, const HostValue& payload) {
    // A callback may subscribe or unsubscribe: deliver to the subscriptions as they were.
    std::vector<Subscription> targets;
    for (const Subscription& subscription : subscriptions) {
        if (subscription.name == eventName) {
            targets.push_back(subscription);
        }
    }
    const std::string name(eventName);
    for (const Subscription& target : targets) {
        HostEvent event;
        std::memset(&event, 0, sizeof(event));
        event.name = name.c_str();
        event.payload = payload;
        event.context = target.context;
        target.callback(&event);
    }
    return !targets.empty();
}

bool DevHost::DeliverResourceEvent(std::string_view uri, Brix::PluginResourceEventType type,
                                   const Brix::BindingProperty& data) {
    Brix::BindingProperty payload;
    payload.MemberForWriting("uri").SetString(uri);
    payload.MemberForWriting("eventType").SetString(EventTypeName(type));
    payload.MemberForWriting("data") = data;
    return Deliver(Brix::EventNameFromUri(uri), payload);
}

bool DevHost::IsSubscribed(std::string_view eventName) const {
    for (const Subscription& subscription : subscriptions) {
        if (subscription.name == eventName) {
            return true;
        }
    }
    return false;
}

void DevHost::ClearRecords() {
    calls.clear();
    requests.clear();
    sentEvents.clear();
}

std::vector<HostCall> DevHost::CallsTo(HostSlot slot) const {
    std::vector<HostCall> selected;
    for (const HostCall& call : calls) {
        if (call.slot == slot) {
            selected.push_back(call);
        }
    }
    return selected;
}

// ---- the plugin's endpoints ---------------------------------------------------------------------------

// NOLINTNEXTLINE(readability-make-member-function-const): it drives the plugin
RouteAnswer DevHost::CallRoute(Brix::MethodCode method, std::string_view url,
                               const std::vector<std::pair<std::string, std::string>>& headers,
                               std::string_view body, std::string_view contentType) {
    const std::string urlText(url);
    const std::string bodyText(body);
    const std::string contentTypeText(contentType);
    std::vector<const char*> headerTexts;
    for (const auto& [name, value] : headers) {
        headerTexts.push_back(name.c_str());
        headerTexts.push_back(value.c_str());
    }

    const HostEndpointTable* endpoints = loaded ? block.endpoints : nullptr;
    const HostEndpointRecord* record = endpoints != nullptr ? endpoints->endpoints : nullptr;
    for (; record != nullptr; record = record->next) {
        const uint32_t recordMethod = record->method;
        const HostEndpointEntry recordEntry = record->entry;
        if ((recordMethod != 0 && recordMethod != static_cast<uint32_t>(method)) || recordEntry == nullptr) {
            continue;
        }
        HostRequest request;
        std::memset(&request, 0, sizeof(request));
        request.method = static_cast<uint32_t>(method);
        request.url = urlText.c_str();
        request.endpoint = record;
        request.headers = headerTexts.empty() ? nullptr : headerTexts.data();
        request.headerCount = static_cast<uint32_t>(headers.size());
        request.contentType = contentTypeText.empty() ? nullptr : contentTypeText.c_str();
        request.body = bodyText.empty() ? nullptr : bodyText.data();
        request.bodyLength = static_cast<uint32_t>(bodyText.size());
        request.hostHandle = context.hostHandle;

        HostResponse response;
        std::memset(&response, 0, sizeof(response));
        recordEntry(&response, &request);

        RouteAnswer answer;
        answer.status = response.status;
        const char* error = response.error;
        if (error != nullptr) {
            answer.error = error;
        }
        answer.flag = response.flag;
        answer.mode = response.mode;
        answer.text = TextOf(response.text);
        const char** headerPairs = response.headers;
        const uint32_t headerCount = response.headerCount;
        for (std::size_t i = 0; headerPairs != nullptr && i < headerCount; ++i) {
            answer.headers.emplace_back(TextOf(headerPairs[2 * i]), TextOf(headerPairs[2 * i + 1]));
        }
        Brix::ConversionStatus converted = Brix::FromHostValue(response.body, "<result>");
        if (converted.Ok()) {
            answer.body = std::move(converted.Value());
        } else {
            answer.bodyError = std::string(converted.Message());
        }
        const HostStreamRead read = response.read;
        if (read != nullptr) {
            answer.streamed = ReadRouteStream(read, response.close, response.streamContext);
        }
        const HostResponseRelease release = response.release;
        if (release != nullptr) {
            release(&response);
            answer.released = true;
        }
        if (answer.status == kNotFound && answer.error == kInvalidFunction) {
            continue;
        }
        return answer;
    }
    RouteAnswer unanswered;
    unanswered.status = kNotFound;
    unanswered.error = std::string(kInvalidFunction);
    return unanswered;
}

// ---- the host's table ---------------------------------------------------------------------------------

DevHost& DevHost::Owner(const HostApi* api) {
    return *reinterpret_cast<const ApiTable*>(api)->owner;
}

void DevHost::Request(const HostApi* api, HostResponse* response, HostRequest* request) {
    DevHost& host = Owner(api);
    RecordedRequest recorded;
    recorded.method = Brix::MethodFromHost(request->method);
    recorded.url = TextOf(request->url);
    recorded.hostHandle = request->hostHandle;
    const HostParam* params = request->params;
    const uint32_t paramCount = request->paramCount;
    for (uint32_t i = 0; params != nullptr && i < paramCount; ++i) {
        RecordedParam param;
        const char* name = params[i].name;
        param.positional = name == nullptr;
        param.name = TextOf(name);
        param.kind = params[i].value.kind;
        Brix::ConversionStatus value = Brix::FromHostValue(params[i].value, "<param>");
        param.value = std::move(value.Value());
        recorded.params.push_back(std::move(param));
    }
    host.requests.push_back(recorded);
    host.Record({.slot = HostSlot::Request,
                 .text = recorded.url,
                 .number = static_cast<uint32_t>(recorded.method),
                 .hostHandle = recorded.hostHandle});
    if (host.requestHook) {
        host.requestHook(host, recorded);
    }
    host.Answer(*response, recorded);
}

void DevHost::Answer(HostResponse& response, const RecordedRequest& request) {
    const ScriptedAnswer* answer = nullptr;
    if (request.method == Brix::MethodCode::Post && request.url == kLcdsInvokeUrl &&
        request.params.size() >= 2) {
        auto found =
            lcdsAnswers.find(LcdsKey(request.params[0].value.AsString(), request.params[1].value.AsString()));
        answer = found != lcdsAnswers.end() ? &found->second : nullptr;
    } else {
        answer = FindAnswer(request.method, request.url);
    }
    FillResponse(response, answer != nullptr ? *answer : ScriptedAnswer::Error(kNotFound, "Not found"),
                 ledger);
}

void DevHost::Slot1(const HostApi* api, uint32_t /*a*/, uint32_t /*b*/) {
    Owner(api).Record({.slot = HostSlot::Slot1});
}

void DevHost::SendEvent(const HostApi* api, HostEvent* event) {
    DevHost& host = Owner(api);
    SentEvent sent;
    sent.name = TextOf(event->name);
    sent.flags = event->flags;
    sent.hasContext = event->context != nullptr;
    sent.kind = event->payload.kind;
    Brix::ConversionStatus payload = Brix::FromHostValue(event->payload, "<payload>");
    sent.payload = std::move(payload.Value());
    host.sentEvents.push_back(std::move(sent));
    host.Record({.slot = HostSlot::SendEvent, .text = TextOf(event->name)});
}

void DevHost::Subscribe(const HostApi* api, const char* eventName, uint32_t hostHandle,
                        HostEventCallback callback, void* subscriberContext, uint32_t flag) {
    DevHost& host = Owner(api);
    host.subscriptions.push_back({TextOf(eventName), callback, subscriberContext, flag, hostHandle});
    host.Record(
        {.slot = HostSlot::Subscribe, .text = TextOf(eventName), .number = flag, .hostHandle = hostHandle});
}

void DevHost::Unsubscribe(const HostApi* api, const char* eventName, uint32_t hostHandle) {
    DevHost& host = Owner(api);
    const std::string name = TextOf(eventName);
    std::erase_if(host.subscriptions, [&](const Subscription& subscription) {
        return subscription.name == name && subscription.hostHandle == hostHandle;
    });
    host.Record({.slot = HostSlot::Unsubscribe, .text = name, .hostHandle = hostHandle});
}

void DevHost::Slot5(const HostApi* api, uint32_t /*a*/, uint32_t /*b*/, uint32_t /*c*/, double /*d*/,
                    uint32_t /*e*/) {
    Owner(api).Record({.slot = HostSlot::Slot5});
}

void DevHost::Yield(const HostApi* api) {
    DevHost& host = Owner(api);
    host.Record({.slot = HostSlot::Yield});
    if (!host.yieldActions.empty()) {
        Action action = std::move(host.yieldActions.front());
        host.yieldActions.pop_front();
        action(host);
    }
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
