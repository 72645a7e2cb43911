// dev_host.h - the development host: loads a plugin, drives its callbacks, answers what the plugin
// asks of the host from scripts and records every call.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "abi/host_abi.h"
#include "binding/binding_property.h"
#include "hux_version.h"
#include "plugin_library.h"
#include "rest/method_code.h"
#include "runtime/framework_types.h"
#include "scripted_answer.h"

namespace HuxHost {

// HostVersion is the plugin API version the host announces in the load block.
struct HostVersion {
    uint32_t major = HUX_VERSION_MAJOR;
    uint32_t minor = HUX_VERSION_MINOR;
    uint32_t patch = HUX_VERSION_PATCH;
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

// RecordedParam is one parameter of a request the plugin sent, as a value and as the cell's kind.
struct RecordedParam {
    std::string name;  // empty for a positional parameter
    bool positional = false;
    uint32_t kind = 0;
    Brix::BindingProperty value;
};

// RecordedRequest is one request the plugin sent.
struct RecordedRequest {
    Brix::MethodCode method = Brix::MethodCode::None;
    std::string url;
    std::vector<RecordedParam> params;
    uint32_t hostHandle = 0;
};

// SentEvent is one event the plugin sent, its payload read back into a value.
struct SentEvent {
    std::string name;
    uint32_t flags = 0;
    bool hasContext = false;
    uint32_t kind = 0;  // the payload cell's kind
    Brix::BindingProperty payload;
};

// Subscription is one event the plugin subscribed to.
struct Subscription {
    std::string name;
    HostEventCallback callback = nullptr;
    void* context = nullptr;
    uint32_t flag = 0;
    uint32_t hostHandle = 0;
};

// RouteAnswer is what one of the plugin's endpoints answered.
struct RouteAnswer {
    uint32_t status = 0;
    std::optional<std::string> error;
    Brix::BindingProperty body;
    std::string bodyError;  // the message when the body cell did not convert
    std::string text;
    std::vector<std::pair<std::string, std::string>> headers;
    uint8_t flag = 0;
    uint32_t mode = 0;
    std::string streamed;   // the bytes of a streamed answer
    bool released = false;  // the plugin's release function was there and was called
};

// MemoryStats are the words of the plugin's GetMemoryStats callback: six 64-bit counters (peak bytes,
// blocks at peak, bytes allocated, allocations, bytes released, releases) and the two trailing words.
struct MemoryStats {
    std::array<uint64_t, 6> counters{};
    std::array<uint32_t, 2> trailing{};

    uint64_t BytesInUse() const noexcept { return counters[2] - counters[4]; }
};

// DevHost is one host session with one plugin: Load, Start, any number of calls, Stop. A test
// scripts the host's side before it lets the plugin run:
//     host.SetAnswer(MethodCode::Get, "/hux-login/v1/session",
//     ScriptedAnswer::Json(R"({"state":"SUCCEEDED"})")); host.ScriptLcds("matchmakerService", "getAllQueues",
//     "java.util.ArrayList", queues); host.Start();
//     host.DeliverResourceEvent("/hux-platform-config/v1/namespaces/Queues/Enabled", Update, value);
//     EXPECT_EQ(host.SentEvents().back().name, "OnJsonApiEvent");
// and the host answers GETs and other requests from its answer table, LCDS invokes from its LCDS
// script, runs queued actions at each Yield and records everything else.
class DevHost {
public:
    static constexpr uint32_t kDefaultHostHandle = 0x4855u;

    using Action = std::function<void(DevHost&)>;
    using RequestHook = std::function<void(DevHost&, const RecordedRequest&)>;

    // A host for a plugin library, or for an entry function linked into the running program.
    explicit DevHost(std::unique_ptr<PluginLibrary> library);
    explicit DevHost(HostLoadFunction entry);
    ~DevHost();
    DevHost(const DevHost&) = delete;
    DevHost& operator=(const DevHost&) = delete;

    // ---- the plugin's life ----

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

    // ---- scripts ----

    // SetAnswer answers method on url (the whole URL, query included) with answer; a later answer for
    // the same request replaces it. Requests without an answer get status 404 and the error "Not found".
    void SetAnswer(Brix::MethodCode method, std::string url, ScriptedAnswer answer);
    // SetResource answers GETs of uri with value.
    void SetResource(std::string uri, Brix::BindingProperty value);
    void RemoveAnswer(Brix::MethodCode method, const std::string& url);
    // FindAnswer is the answer to method on url, or null without one.
    const ScriptedAnswer* FindAnswer(Brix::MethodCode method, const std::string& url) const;

    // ScriptLcds answers the LCDS invoke of destination.method with a response of typeName and body;
    // ScriptLcdsError with an error text and status. Unscripted invokes get 404 "Not found".
    void ScriptLcds(const std::string& destination, const std::string& method, std::string_view typeName,
                    Brix::BindingProperty body);
    void ScriptLcdsError(const std::string& destination, const std::string& method, uint32_t status,
                         std::string error);
    // ScriptLcdsAnswer answers the LCDS invoke of destination.method with answer as it stands: a streamed
    // answer carries the JSON text of the whole response, {"typeName": ..., "body": ...}.
    void ScriptLcdsAnswer(const std::string& destination, const std::string& method, ScriptedAnswer answer);

    // SetRequestHook runs hook inside every request, before the host answers it: the place to deliver
    // an event while the plugin waits for an answer.
    void SetRequestHook(RequestHook hook) { requestHook = std::move(hook); }

    // QueueOnYield runs action at a later Yield of the plugin: each Yield runs the oldest queued action.
    void QueueOnYield(Action action) { yieldActions.push_back(std::move(action)); }
    std::size_t PendingYieldActions() const noexcept { return yieldActions.size(); }

    // ---- deliveries ----

    // Deliver hands payload to every subscription of eventName (the callbacks get the context each
    // gave); answers whether there was one. DeliverCell hands over a cell as it is.
    bool Deliver(std::string_view eventName, const Brix::BindingProperty& payload);
    bool DeliverCell(std::string_view eventName, const HostValue& payload);

    // DeliverResourceEvent delivers a PluginResourceEvent of uri (its event type by name) under the
    // event name that carries uri (Brix::EventNameFromUri, as the plugin names it).
    bool DeliverResourceEvent(std::string_view uri, Brix::PluginResourceEventType type,
                              const Brix::BindingProperty& data = {});

    // ---- the plugin's endpoints ----

    // CallRoute offers a request to the plugin's endpoints, in table order: each record whose method is
    // the request's (or 0) is called until one answers something else than 404 "Invalid function". The
    // response is read and then released through the plugin's release function. Without any other
    // answer the result is 404 "Invalid function".
    RouteAnswer CallRoute(Brix::MethodCode method, std::string_view url,
                          const std::vector<std::pair<std::string, std::string>>& headers = {},
                          std::string_view body = {}, std::string_view contentType = {});

    // ---- records ----

    const std::vector<HostCall>& Calls() const noexcept { return calls; }
    void ClearCalls() { calls.clear(); }
    // ClearRecords forgets the calls, requests and sent events recorded so far: a host that runs for
    // long takes what it needs from them and drops them.
    void ClearRecords();
    const std::vector<RecordedRequest>& Requests() const noexcept { return requests; }
    const std::vector<SentEvent>& SentEvents() const noexcept { return sentEvents; }
    const std::vector<Subscription>& Subscriptions() const noexcept { return subscriptions; }
    bool IsSubscribed(std::string_view eventName) const;
    // Responses tells how the responses this host filled were read and released.
    const ResponseLedger& Responses() const noexcept { return ledger; }
    // CallsTo lists the calls into one slot.
    std::vector<HostCall> CallsTo(HostSlot slot) const;

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
    void Answer(HostResponse& response, const RecordedRequest& request);

    std::unique_ptr<PluginLibrary> library;
    HostLoadFunction entry = nullptr;
    ApiTable table;
    HostContext context{};
    HostLoadBlock block{};
    bool loaded = false;

    std::map<std::pair<Brix::MethodCode, std::string>, ScriptedAnswer> answers;
    std::map<std::string, ScriptedAnswer> lcdsAnswers;
    RequestHook requestHook;
    std::deque<Action> yieldActions;

    std::vector<HostCall> calls;
    std::vector<RecordedRequest> requests;
    std::vector<SentEvent> sentEvents;
    std::vector<Subscription> subscriptions;
    ResponseLedger ledger;
};

}  // namespace HuxHost
