// matchmaker_records.h - the matchmaking service's records as they arrive over LCDS.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Brix::Client::GameQueues::Lcds {

// The types of this namespace (and containers of them) carry "#%08X" static type names.
template <class T>
constexpr bool UsesHashedTypeName(T*) {
    return true;
}

// MatchingThrottleConfig: the matchmaker's throttle settings of a queue; carried, never read.
struct MatchingThrottleConfig {
    std::string cacheName;
    int64_t limit = 0;

    bool operator==(const MatchingThrottleConfig&) const = default;
};

// GameQueueConfig: one matchmaker queue definition. Field names are the wire's property names.
struct GameQueueConfig {
    uint32_t blockedMinutesThreshold = 0;
    bool botsCanSpawnOnBlueSide = false;
    std::string cacheName;
    bool disallowFreeChampions = false;
    std::string gameMode;
    std::vector<std::string> gameMutators;
    int32_t gameTypeConfigId = 0;
    int32_t id = 0;
    std::string mapSelectionAlgorithm;
    MatchingThrottleConfig matchingThrottleConfig;
    uint32_t maxLevel = 0;
    uint32_t maxSummonerLevelForFirstWinOfTheDay = 0;
    uint32_t maximumParticipantListSize = 0;
    uint32_t minLevel = 0;
    uint32_t minimumParticipantListSize = 0;
    uint32_t minimumQueueDodgeDelayTime = 0;
    uint32_t numPlayersPerTeam = 0;
    std::string pointsConfigKey;
    std::string queueBonusKey;
    std::string queueState;
    std::string queueStateString;
    bool randomizeTeamSizes = false;
    bool ranked = false;
    std::vector<int32_t> supportedMapIds;
    bool teamOnly = false;
    bool thresholdEnabled = false;
    int64_t thresholdSize = 0;
    std::string type;
    std::string typeString;
    uint64_t lastToggledOffTime = 0;
    uint64_t lastToggledOnTime = 0;

    bool operator==(const GameQueueConfig&) const = default;
};

// AllowSpectators: the platform's setting for spectating custom games ("NONE", "LOBBYONLY",
// "DROPINONLY", "ALL" on the wire).
enum class AllowSpectators : int32_t {
    None = 0,
    LobbyOnly = 1,
    DropInOnly = 2,
    All = 3,
};

}  // namespace Brix::Client::GameQueues::Lcds
