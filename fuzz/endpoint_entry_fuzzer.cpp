// endpoint_entry_fuzzer.cpp - requests with fuzzed URLs, queries, headers, content types and bodies,
// delivered to the game queues plugin's seven routes through their endpoint records.
//
// The input is a request written as lines:
//     <method> <url>                  (for a function call: CALL <function name> <url>)
//     <content type>                  (empty: none)
//     <header name>:<header value>    (any number, up to an empty line)
//     <body>                          (the rest of the input; empty: none)
// Texts reach the plugin as a host gives them: NUL-terminated, the body with its length.
//
// The plugin is loaded into two development hosts: one started with a whole platform configuration and
// a matchmaker answer, so that its routes answer from a built queue list, and one only loaded, so that
// they answer that the configuration is missing. Each request is offered to every endpoint record of
// both, and each answer is checked: a record refuses exactly the requests its route does not take; an
// error answer has a message and no body, an answer without error has a body that reads back and
// comes from the configuration; nothing streams; released, the block is zero and every counted byte
// the answer held is free again.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "binding/binding_property.h"
#include "dev_host.h"
#include "fuzz/fuzz_support.h"
#include "host_values/allocation_stats.h"
#include "host_values/host_value_conversion.h"
#include "queues/service/game_queues_plugin.h"
#include "rest/endpoint.h"
#include "rest/method_code.h"
#include "rest/route.h"
#include "rest/url_text.h"
#include "runtime/plugin_loader.h"
#include "scripted_answer.h"

// The leak checker comes with AddressSanitizer: gcc says so with __SANITIZE_ADDRESS__, clang through
// __has_feature.
#if defined(__SANITIZE_ADDRESS__)
#define HUX_FUZZ_WITH_LSAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HUX_FUZZ_WITH_LSAN 1
#endif
#endif
#ifdef HUX_FUZZ_WITH_LSAN
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using namespace Brix;

constexpr std::size_t kMaxHeaders = 32;
constexpr std::string_view kInvalidFunction = "Invalid function";

void LoadGameQueues(HostLoadBlock* block) {
    LoadPlugin<Client::GameQueues::GameQueuesPlugin>(block, "hux-game-queues");
}

std::string Namespaced(std::string_view key) {
    return std::string("/hux-platform-config/v1/namespaces/").append(key);
}

// kSettings: every resource the service follows, with a consistent platform configuration.
constexpr std::array<std::pair<std::string_view, std::string_view>, 19> kSettings = {{
    {"/hux-login/v1/session",
     R"({"state": "SUCCEEDED", "summonerId": 7, "accountId": 8, "connected": true})"},
    {"/hux-platform-config/v1/initial-configuration-complete", "true"},
    {"ChampionMasteryConfig/ChampionPointQueueTypes", R"("RANKED_SOLO_5x5,NORMAL")"},
    {"LoginDataPacket/gameTypeConfigs",
     R"([{"id": 2, "name": "TARN_CFG_BLIND", "pickMode": "TarnPickStrategy"},
         {"id": 7, "name": "TARN_CFG_PRACTICE", "pickMode": "TarnPickStrategy"},
         {"id": 18, "name": "TARN_CFG_DRAFT", "pickMode": "TeamBuilderDraftPickStrategy", "maxAllowableBans": 10}])"},
    {"ClientSystemStates/enabledQueueIdsList", "[450, 420]"},
    {"QueueRestriction/QueuesRequiringTwentyChampions", "[420]"},
    {"QueueRestriction", R"({"AllowablePremadeSizesForQueueId420": "1,2"})"},
    {"ClientSystemStates/practiceGameEnabled", "true"},
    {"ClientSystemStates/gameMapEnabledDTOList",
     R"([{"gameMapId": 11, "minPlayers": 0}, {"gameMapId": 12}])"},
    {"Mutators/EnabledModes", R"(["CLASSIC", "KELD", "VORNEK"])"},
    {"Mutators/EnabledMutators", R"(["PracticeTool"])"},
    {"Mutators/EnabledAssetMutators", R"(["AssetTarn"])"},
    {"ClientSystemStates/practiceGameTypeConfigIdList", "[7, 2]"},
    {"ClientSystemStates/knownGeographicGameServerRegions", R"(["QIX-1", "TARN-2"])"},
    {"ClientSystemStates/MaxNumPlayersForPracticeToolGame", "5"},
    {"ClientSystemStates/observableGameModes", R"(["NORMAL"])"},
    {"ClientSystemStates/observableCustomGameModes", R"("ALL")"},
    {"ClientSystemStates/observerModeEnabled", "true"},
    {"ClientSystemStates/spectatorSlotLimit", "4"},
}};

constexpr std::string_view kMatchmakerQueues = R"([
  {"id": 420, "type": "RANKED_SOLO_5x5", "gameMode": "CLASSIC", "queueState": "ON", "supportedMapIds": [11],
   "gameTypeConfigId": 18, "numPlayersPerTeam": 5, "minimumParticipantListSize": 1,
   "maximumParticipantListSize": 2, "ranked": true},
  {"id": 430, "type": "NORMAL", "gameMode": "CLASSIC", "queueState": "OFF", "supportedMapIds": [11],
   "gameTypeConfigId": 2, "numPlayersPerTeam": 5, "minimumParticipantListSize": 1,
   "maximumParticipantListSize": 5, "gameMutators": ["ReRoll"]},
  {"id": 450, "type": "NORMAL", "gameMode": "KELD", "queueState": "ON", "supportedMapIds": [12],
   "gameTypeConfigId": 2, "numPlayersPerTeam": 5, "minimumParticipantListSize": 1,
   "maximumParticipantListSize": 5, "gameMutators": ["AssetTarn"]}
])";

constexpr std::string_view kTranslations = R"({
  "420": {"name": "Tarn Ranked", "shortName": "Ranked", "description": "Ranked", "detailedDescription": "5v5"},
  "430": {"name": "Blind", "shortName": "Blind", "description": "Normal", "detailedDescription": "5v5"}
})";

// LeakCheckPause keeps what is allocated while it lives out of the leak checks. The hosts live for the
// whole run, and the values they keep hold part of their storage in the value model's own mapped
// regions, which the leak checker does not scan: without the pause it would report them as lost.
class LeakCheckPause {
public:
    LeakCheckPause() {  // NOLINT(modernize-use-equals-default): empty only without the leak checker
#ifdef HUX_FUZZ_WITH_LSAN
        __lsan_disable();
#endif
    }
    ~LeakCheckPause() {  // NOLINT(modernize-use-equals-default): empty only without the leak checker
#ifdef HUX_FUZZ_WITH_LSAN
        __lsan_enable();
#endif
    }
    LeakCheckPause(const LeakCheckPause&) = delete;
    LeakCheckPause& operator=(const LeakCheckPause&) = delete;
};

// Hosts holds the two plugins: Started answers from its queue list, Loaded has no configuration.
struct Hosts {
    HuxHost::DevHost* started;
    HuxHost::DevHost* loaded;
};

const Hosts& TheHosts() {
    static const Hosts hosts = [] {
        const LeakCheckPause pause;
        auto* started = new HuxHost::DevHost(&LoadGameQueues);
        for (const auto& [key, json] : kSettings) {
            started->SetResource(key.starts_with("/") ? std::string(key) : Namespaced(key),
                                 HuxHost::ParseJson(json));
        }
        started->SetAnswer(MethodCode::Get, "/hux-game-data/assets/v1/queues.json",
                           HuxHost::ScriptedAnswer::Json(kTranslations));
        started->ScriptLcdsError("matchmakerService", "getAllQueuesCompressed", 503,
                                 "compressed form not offered");
        started->ScriptLcds("matchmakerService", "getAllQueues", "java.util.ArrayList",
                            HuxHost::ParseJson(kMatchmakerQueues));
        started->Load();
        Fuzz::Check(started->Start(), "the plugin starts");
        started->ClearRecords();

        auto* loaded = new HuxHost::DevHost(&LoadGameQueues);
        loaded->Load();
        return Hosts{started, loaded};
    }();
    return hosts;
}

// Request is one request drawn from the input, with the texts its block points to.
struct Request {
    uint32_t method = 0;
    std::string functionName;
    std::string url;
    std::string contentType;
    std::vector<std::string> headerTexts;  // name, value, name, value, ...
    std::string body;
};

uint32_t MethodWord(std::string_view token) {
    constexpr std::array<std::string_view, 9> kNames = {"",      "DELETE", "GET", "HEAD", "OPTIONS",
                                                        "PATCH", "POST",   "PUT", "CALL"};
    for (std::size_t code = 1; code < kNames.size(); ++code) {
        if (token == kNames[code]) {
            return static_cast<uint32_t>(code);
        }
    }
    // Any other word stands for a code the host does not define: none, or one past function calls.
    return token.empty() ? 0 : 9 + static_cast<uint8_t>(token.front());
}

// Cut splits text at the first blank: the word before it and the rest after it.
std::pair<std::string_view, std::string_view> Cut(std::string_view text) {
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) {
        return {text, {}};
    }
    return {text.substr(0, blank), text.substr(blank + 1)};
}

Request DrawRequest(Fuzz::Reader& reader) {
    Request request;
    auto [method, target] = Cut(reader.Line());
    request.method = MethodWord(method);
    if (request.method == static_cast<uint32_t>(MethodCode::Function)) {
        auto [name, url] = Cut(target);
        request.functionName = std::string(name);
        target = url;
    }
    request.url = std::string(target);
    request.contentType = std::string(reader.Line());
    for (std::size_t count = 0; count < kMaxHeaders; ++count) {
        const std::string_view line = reader.Line();
        if (line.empty()) {
            break;
        }
        const std::size_t colon = line.find(':');
        std::string_view value =
            colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
        if (value.starts_with(' ')) {
            value.remove_prefix(1);
        }
        request.headerTexts.emplace_back(line.substr(0, colon));
        request.headerTexts.emplace_back(value);
    }
    request.body = std::string(reader.Remaining());
    return request;
}

// RouteTakes: whether the record's route takes the request, by the rules the entry applies.
bool RouteTakes(const HostEndpointRecord& record, const HostRequest& request) {
    const auto* endpoint = static_cast<const Rest::Endpoint*>(record.handlerContext);
    Rest::RequestTarget target;
    target.method = MethodFromHost(request.method);
    if (target.method == MethodCode::Function && request.functionName != nullptr) {
        target.functionName = request.functionName;
    }
    target.path = std::string(Rest::SplitUrl(request.url != nullptr ? request.url : "").path);
    const std::array<const Rest::Route*, 1> routes = {&endpoint->GetRoute()};
    return Rest::SelectRoute(target, routes, false);
}

// CheckBody checks that an answer of the started plugin comes from its configuration.
void CheckBody(std::string_view path, const BindingProperty& body) {
    const std::set<int64_t> queueIds = {420, 430, 450};
    const std::set<int64_t> configIds = {2, 7, 18};
    if (path == "/hux-game-queues/v1/queues") {
        Fuzz::Check(body.ElementCount() == 3, "the queue list holds the matchmaker's three queues");
        for (const BindingProperty& queue : body.Elements()) {
            Fuzz::Check(queueIds.contains(queue.Member("id").AsSigned()), "the queue list's ids");
        }
    } else if (path == "/hux-game-queues/v1/queues/{id}") {
        Fuzz::Check(queueIds.contains(body.Member("id").AsSigned()), "a queue by id is one of the list");
    } else if (path == "/hux-game-queues/v1/queues/type/{queueType}") {
        const std::string_view type = body.Member("type").AsString();
        Fuzz::Check(type == "RANKED_SOLO_5x5" || type == "NORMAL", "a queue by type is one of the list");
    } else if (path.starts_with("/hux-game-queues/v1/game-type-config/")) {
        Fuzz::Check(configIds.contains(body.Member("id").AsSigned()), "a game type config is a known one");
    } else {
        Fuzz::Check(body.FindMember("subcategories") != nullptr, "a custom game has its subcategories");
    }
}

// Serve offers request to one record and checks the answer; answers whether the record took it.
bool Serve(const HostEndpointRecord& record, HostRequest& request, bool started) {
    const uint64_t inUse = ReadMemoryStats().BytesInUse();
    HostResponse response;
    std::memset(&response, 0xA5, sizeof(response));  // the entry must not rely on a zeroed block
    record.entry(&response, &request);

    const HostResponseRelease release = response.release;
    Fuzz::Check(release != nullptr, "every answer carries its release function");
    const char* const error = response.error;
    const char* const text = response.text;
    const uint32_t status = response.status;
    Fuzz::Check(text != nullptr && text[0] == '\0', "routes answer no text");
    Fuzz::Check(response.headers == nullptr && response.headerCount == 0, "routes answer no headers");
    Fuzz::Check(response.read == nullptr && response.close == nullptr, "routes do not stream");
    Fuzz::Check(response.mode == 0 && response.flag == 0, "routes answer mode and flag 0");

    const bool taken = RouteTakes(record, request);
    if (error != nullptr) {
        const std::string_view message(error);
        Fuzz::Check(!message.empty(), "an error has a message");
        Fuzz::Check(response.errorOwned == 1, "an error message is an owned copy");
        Fuzz::Check(response.body.kind == HOST_VALUE_NULL, "an error has no body");
        Fuzz::Check((message == kInvalidFunction && status == 404) == !taken,
                    "a record refuses exactly the requests its route does not take");
        Fuzz::Check(status == 0 || status == 404 || status == 500, "an error's status is 0, 404 or 500");
        if (status == 500) {
            Fuzz::Check(!started && message == "Missing configuration data",
                        "only the plugin without configuration answers an internal error");
        }
    } else {
        Fuzz::Check(taken, "only a record whose route takes the request answers it");
        Fuzz::Check(status == 0, "an answer without error has no status");
        const ConversionStatus body = FromHostValue(response.body, "<result>");
        Fuzz::Check(body.Ok(), "an answer's body reads back");
        Fuzz::Check(started, "the plugin without configuration answers nothing but errors");
        CheckBody(record.path, body.Value());
    }

    release(&response);
    Fuzz::Check(Fuzz::AllZero(response), "a released answer is zero");
    Fuzz::Check(ReadMemoryStats().BytesInUse() == inUse, "a released answer frees every counted byte");
    return taken;
}

void ServeEverywhere(HuxHost::DevHost& host, const Request& drawn, bool started) {
    std::vector<const char*> headers;
    headers.reserve(drawn.headerTexts.size());
    for (const std::string& text : drawn.headerTexts) {
        headers.push_back(text.c_str());
    }
    for (const HostEndpointRecord* record = host.Block().endpoints->endpoints; record != nullptr;
         record = record->next) {
        HostRequest request;
        std::memset(&request, 0, sizeof(request));
        request.method = drawn.method;
        request.url = drawn.url.c_str();
        request.endpoint = record;
        request.headers = headers.empty() ? nullptr : headers.data();
        request.headerCount = static_cast<uint32_t>(headers.size() / 2);
        request.contentType = drawn.contentType.empty() ? nullptr : drawn.contentType.c_str();
        request.body = drawn.body.empty() ? nullptr : drawn.body.data();
        request.bodyLength = static_cast<uint32_t>(drawn.body.size());
        request.hostHandle = HuxHost::DevHost::kDefaultHostHandle;
        request.functionName = request.method == static_cast<uint32_t>(MethodCode::Function)
                                   ? drawn.functionName.c_str()
                                   : nullptr;
        Serve(*record, request, started);
    }
    host.ClearRecords();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Fuzz::QuietLogger();
    const Hosts& hosts = TheHosts();
    Fuzz::Reader reader(data, size);
    const Request request = DrawRequest(reader);
    ServeEverywhere(*hosts.started, request, true);
    ServeEverywhere(*hosts.loaded, request, false);
    return 0;
}
