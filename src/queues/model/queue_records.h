// queue_records.h - the published queue records and enums: queues, game type configurations, custom
// games and the platform-configuration shapes the service reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace Brix::Client::GameQueues::Api {

// The types of this namespace (and containers of them) carry "#%08X" static type names.
template <class T>
constexpr bool UsesHashedTypeName(T*) {
    return true;
}

// QueueGameCategory: the broad kind of a queue, decided by its queue type.
enum class QueueGameCategory : int32_t {
    None = 0,
    Custom = 1,
    PvP = 2,
    VersusAi = 3,
};

// QueueAvailability: whether a queue (or custom games as a whole) may be entered.
enum class QueueAvailability : int32_t {
    Available = 0,
    PlatformDisabled = 1,
    DoesntMeetRequirements = 2,
};

// QueueCustomGameSpectatorPolicy: who may watch a custom game.
enum class QueueCustomGameSpectatorPolicy : int32_t {
    NotAllowed = 0,
    LobbyAllowed = 1,
    FriendsAllowed = 2,
    AllAllowed = 3,
};

// LoginSessionStates: the state of the host's login session. Registered names are the wire's
// ("IN_PROGRESS", "SUCCEEDED", "LOGGING_OUT", "ERROR").
enum class LoginSessionStates : int32_t {
    InProgress = 0,
    Succeeded = 1,
    LoggingOut = 2,
    Error = 3,
};

// QueueReward: the rewards a queue grants.
struct QueueReward {
    bool isIpEnabled = false;
    bool isXpEnabled = false;
    bool isChampionPointsEnabled = false;
    std::vector<int32_t> partySizeIpRewards;  // never filled by the plugin

    bool operator==(const QueueReward&) const = default;
};

// QueueGameTypeConfig: how champion select runs for a queue or a custom game.
struct QueueGameTypeConfig {
    int64_t id = 0;
    std::string name;
    int32_t maxAllowableBans = 0;
    bool allowTrades = false;
    bool exclusivePick = false;
    bool duplicatePick = false;
    bool teamChampionPool = false;
    bool crossTeamChampionPool = false;
    bool advancedLearningQuests = false;
    bool battleBoost = false;
    bool deathMatch = false;
    bool doNotRemove = false;
    bool learningQuests = false;
    bool onboardCoopBeginner = false;
    bool reroll = false;
    int32_t mainPickTimerDuration = 0;
    int32_t postPickTimerDuration = 0;
    int32_t banTimerDuration = 0;
    std::string pickMode;
    std::string banMode;
    std::optional<std::string> gameModeOverride;
    std::optional<int32_t> numPlayersPerTeamOverride;

    bool operator==(const QueueGameTypeConfig&) const = default;
};

// Queue: one published queue.
struct Queue {
    int32_t id = 0;
    int32_t mapId = 0;
    std::string name;
    std::string shortName;
    std::string description;
    std::string detailedDescription;
    std::string type;
    std::string gameMode;
    std::string gameMutator;
    std::string assetMutator;
    QueueGameCategory category = QueueGameCategory::None;
    QueueGameTypeConfig gameTypeConfig;
    int32_t numPlayersPerTeam = 0;
    int32_t minimumParticipantListSize = 0;
    int32_t maximumParticipantListSize = 0;
    uint32_t minLevel = 0;
    uint32_t maxLevel = 0;
    uint32_t maxSummonerLevelForFirstWinOfTheDay = 0;
    bool isRanked = false;
    bool isTeamOnly = false;
    bool areFreeChampionsAllowed = false;
    bool isTeamBuilderManaged = false;
    QueueAvailability queueAvailability = QueueAvailability::Available;
    QueueReward queueRewards;
    bool spectatorEnabled = false;
    uint32_t championsRequiredToPlay = 0;
    std::vector<int32_t> allowablePremadeSizes;
    bool showPositionSelector = false;
    uint64_t lastToggledOffTime = 0;
    uint64_t lastToggledOnTime = 0;

    bool operator==(const Queue&) const = default;
};

// QueueTranslation: the localized texts of one queue.
struct QueueTranslation {
    std::string name;
    std::string shortName;
    std::string description;
    std::string detailedDescription;

    bool operator==(const QueueTranslation&) const = default;
};

// QueueCustomGameSubcategory: one map and mode combination offered for custom games.
struct QueueCustomGameSubcategory {
    int32_t mapId = 0;
    std::string gameMode;
    std::string gameMutator;
    std::vector<QueueGameTypeConfig> mutators;
    int32_t numPlayersPerTeam = 0;
    int32_t minimumParticipantListSize = 0;
    int32_t maximumParticipantListSize = 0;
    int32_t maxPlayerCount = 0;
    uint32_t minLevel = 0;
    uint32_t maxLevel = 0;
    QueueAvailability queueAvailability = QueueAvailability::Available;

    bool operator==(const QueueCustomGameSubcategory&) const = default;
};

// QueueCustomGame: the whole custom-game configuration.
struct QueueCustomGame {
    std::vector<QueueCustomGameSubcategory> subcategories;
    QueueAvailability queueAvailability = QueueAvailability::Available;
    std::vector<QueueCustomGameSpectatorPolicy> spectatorPolicies;
    uint32_t spectatorSlotLimit = 0;
    std::optional<std::vector<std::string>> gameServerRegions;  // absent when no region is known

    bool operator==(const QueueCustomGame&) const = default;
};

// PlatformConfigEnabledMap: one element of the platform's list of enabled maps.
struct PlatformConfigEnabledMap {
    int32_t gameMapId = 0;
    int32_t minPlayers = 0;
};

// LoginDataPacket: the platform-configuration login data, as far as game type configurations go.
struct LoginDataPacket {
    std::vector<QueueGameTypeConfig> gameTypeConfigs;
};

// LoginSession: the host's login session resource, as far as the plugin reads it.
struct LoginSession {
    LoginSessionStates state = LoginSessionStates::InProgress;
    uint64_t summonerId = 0;
    uint64_t accountId = 0;
    bool connected = false;
};

// GameTypeConfigMap: game type configurations keyed by their id.
using GameTypeConfigMap = std::unordered_map<int64_t, QueueGameTypeConfig>;

// QueueTranslationMap: localized queue texts keyed by queue id.
using QueueTranslationMap = std::unordered_map<int32_t, QueueTranslation>;

}  // namespace Brix::Client::GameQueues::Api
