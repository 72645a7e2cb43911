// game_queues_plugin.h - the game queues service: the one plugin object of hux-game-queues, its state,
// its configuration inputs, its routes and its update events.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "binding/binding_property.h"
#include "binding/maybe_type.h"
#include "queues/model/custom_game_builder.h"
#include "queues/model/matchmaker_records.h"
#include "queues/model/queue_builder.h"
#include "queues/model/queue_records.h"
#include "queues/service/queue_readiness.h"
#include "runtime/framework_types.h"
#include "runtime/plugin_module.h"

namespace Brix::Client::GameQueues {

// The resources the service publishes.
inline constexpr std::string_view kQueuesUri = "/hux-game-queues/v1/queues";
inline constexpr std::string_view kCustomGameUri = "/hux-game-queues/v1/custom";
inline constexpr std::string_view kCustomGameNonDefaultUri = "/hux-game-queues/v1/custom-non-default";

// GameQueuesPlugin owns the client's knowledge of matchmaking queues: it follows nineteen platform
// configuration resources, fetches the queue definitions from the matchmaker, builds the published
// queue list and custom-game configuration once their inputs are ready, answers its seven routes and
// announces every rebuild. Every call arrives on a host thread; the service takes no lock, and its
// members are consistent whenever it waits for the host.
class GameQueuesPlugin : public PluginModule {
public:
    GameQueuesPlugin();
    ~GameQueuesPlugin() override;

    // RegisterEndpoints registers the published and matchmaker records and the seven GET routes.
    void RegisterEndpoints() override;
    // Start follows the nineteen configuration inputs, loads the queue translations and answers true.
    bool Start() override;
    // FetchQueues asks the matchmaker for its queue definitions, compressed first and plain when
    // anything about the compressed answer goes wrong.
    virtual MaybeType<std::vector<Lcds::GameQueueConfig>> FetchQueues();
    // LogEnabledQueueConfigs writes the queue cache as JSON to the developer trace. Nothing calls it: it
    // keeps its slot among the service's virtual operations, after FetchQueues.
    virtual void LogEnabledQueueConfigs();

    // Route handlers.
    MaybeType<std::vector<Api::Queue>> GetQueues();
    MaybeType<Api::Queue> GetQueueById(int32_t id);
    MaybeType<Api::Queue> GetQueueByType(const std::string& queueType);
    MaybeType<Api::QueueCustomGame> GetCustomGame();
    MaybeType<Api::QueueCustomGame> GetCustomGameNonDefault();
    MaybeType<Api::QueueGameTypeConfig> GetGameTypeConfig(uint32_t gameTypeConfigId);
    MaybeType<Api::QueueGameTypeConfig> GetGameTypeConfigForMap(uint32_t gameTypeConfigId, int32_t mapId);

    // ConfigurationInput is one row of the table of configuration inputs: the resource followed, the host
    // event that carries it, how a value is taken in (Into a member, converted or not, or Through a
    // handler of its own that tells whether the rest of the row follows), the readiness flag then set,
    // the line then logged (a number fills its %u, a flag its %s as ENABLED or DISABLED) and the gates then
    // run. Create and Update carry a value; a Delete reaches only the inputs it clears, through their
    // own handler, with the default value; any other event type is ignored.
    struct ConfigurationInput {
        enum class Gates : uint8_t { None, Queue, Custom, QueueThenCustom };
        enum class Delete : uint8_t { Ignored, Clears };
        std::string_view uri;
        std::string_view eventName;  // for the reader of the host's log; a test checks it, no code reads it
        void (*follow)(GameQueuesPlugin& plugin, const ConfigurationInput& input);
        bool GameQueuesPlugin::*ready;
        Gates gates;
        Delete onDelete = Delete::Ignored;
        const char* logLine = nullptr;
    };
    // configurationInputs is the table of the nineteen inputs, in the order Start follows them. Each
    // exact resource is fetched as it is followed, so the inputs first arrive in this order too.
    static const std::array<ConfigurationInput, 19> configurationInputs;

private:
    // Through<handler> follows an input with a handler of its own; Into<member, convert> one that stores
    // its value, or convert(value), in member.
    template <auto handler>
    static void Through(GameQueuesPlugin& plugin, const ConfigurationInput& input);
    template <auto member, auto convert = nullptr>
    static void Into(GameQueuesPlugin& plugin, const ConfigurationInput& input);
    // The inputs with logic of their own: each tells whether the rest of its row follows.
    bool OnLoginSession(PluginResourceEventType type, const Api::LoginSession& session);
    bool OnInitialConfigurationComplete(PluginResourceEventType type, bool complete);
    bool OnChampionPointQueueTypes(PluginResourceEventType type, const BindingProperty& value);
    bool OnEnabledQueueIds(PluginResourceEventType type, const BindingProperty& value);
    bool OnGameServerRegions(PluginResourceEventType type, const std::vector<std::string>& regions);

    // Readiness gates and publishing.
    QueueReadiness QueueInputsReadiness() const noexcept;
    CustomGameReadiness CustomInputsReadiness() const noexcept;
    QueueBuildInputs QueueInputs() const noexcept;
    CustomGameInputs CustomInputs() const noexcept;
    void LogQueuesNotReady() const noexcept;
    void LogCustomGameNotReady() const noexcept;
    void RefreshQueueCache();
    void RefreshCustomGame();
    void PublishQueues();
    void PublishCustomGame();
    void AnnounceQueues();
    // EnsureQueueCache makes sure queueCache holds the list when its inputs are ready, building it
    // when it is empty; the failure is the one the queue routes answer.
    MaybeType<void> EnsureQueueCache();
    // BuildQueueCache fetches (when needed) and builds the queue list into queueCache.
    MaybeType<void> BuildQueueCache();

    void LoadQueueTranslations();

    bool initialConfigurationComplete = false;
    std::unordered_set<std::string> championPointQueueTypes;
    Api::GameTypeConfigMap gameTypeConfigs;
    std::vector<MapGameTypeConfig> mapGameTypeConfigs;
    Api::QueueTranslationMap queueTranslations;
    BindingProperty queueRestriction;
    bool hasGameTypeConfigs = false;
    bool hasEnabledQueueIds = false;
    bool hasPracticeGameTypeConfigIds = false;
    bool hasPracticeGameEnabled = false;
    bool hasEnabledMaps = false;
    bool hasEnabledModes = false;
    bool hasEnabledMutators = false;
    bool hasEnabledAssetMutators = false;
    bool practiceGameEnabled = false;
    bool observerModeEnabled = false;
    std::vector<int32_t> enabledQueueIds;
    std::vector<Api::Queue> queueCache;
    std::vector<uint32_t> practiceGameTypeConfigIds;
    std::vector<int32_t> enabledMaps;
    std::vector<std::string> enabledModes;
    std::vector<std::string> enabledMutators;
    std::unordered_set<std::string> enabledAssetMutators;
    std::vector<Lcds::GameQueueConfig> matchmakerQueueConfigs;
    std::vector<int32_t> queuesRequiringTwentyChampions;
    std::vector<std::string> observableGameModes;
    std::vector<Api::QueueCustomGameSpectatorPolicy> customGameSpectatorPolicies;
    uint32_t spectatorSlotLimit = 0;
    uint32_t practiceToolMaxPlayers = 1;
    std::vector<std::string> gameServerRegions;
    bool loggedIn = false;  // the session's state beside `connected`, although nothing reads it yet
    bool connected = false;

    // A queue build may wait for the matchmaker, and the host may deliver events during that wait.
    // A gate that opens meanwhile does not touch the list being built: it is noted here, and the build
    // runs again with the new inputs once the running one has finished.
    bool queueBuildRunning = false;
    bool queueRefreshDeferred = false;
    // PublishQueues announces what its build produced; a build started elsewhere announces itself
    // when a gate was deferred into it.
    bool publishingQueues = false;
};

}  // namespace Brix::Client::GameQueues
