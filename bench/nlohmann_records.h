// nlohmann_records.h - nlohmann::json's conversions of the queue records, the peer of the plugin's
// registered conversions: the matchmaker records read from JSON, the published records written to it.
//
// They are written as the library's users write them: the field macro for the matchmaker records,
// whose every field is a plain member, and to_json by hand for the published records, whose enums
// are written by name and whose absent optional fields are written as null, as the plugin writes them.
#pragma once

#include <nlohmann/json.hpp>

#include <optional>

#include "queues/model/matchmaker_records.h"
#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues::Lcds {

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(MatchingThrottleConfig, cacheName, limit)

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(GameQueueConfig, blockedMinutesThreshold, botsCanSpawnOnBlueSide,
                                   cacheName, disallowFreeChampions, gameMode, gameMutators, gameTypeConfigId,
                                   id, mapSelectionAlgorithm, matchingThrottleConfig, maxLevel,
                                   maxSummonerLevelForFirstWinOfTheDay, maximumParticipantListSize, minLevel,
                                   minimumParticipantListSize, minimumQueueDodgeDelayTime, numPlayersPerTeam,
                                   pointsConfigKey, queueBonusKey, queueState, queueStateString,
                                   randomizeTeamSizes, ranked, supportedMapIds, teamOnly, thresholdEnabled,
                                   thresholdSize, type, typeString, lastToggledOffTime, lastToggledOnTime)

}  // namespace Brix::Client::GameQueues::Lcds

namespace Brix::Client::GameQueues::Api {

NLOHMANN_JSON_SERIALIZE_ENUM(QueueGameCategory, {
                                                    {QueueGameCategory::None, "None"},
                                                    {QueueGameCategory::Custom, "Custom"},
                                                    {QueueGameCategory::PvP, "PvP"},
                                                    {QueueGameCategory::VersusAi, "VersusAi"},
                                                })

NLOHMANN_JSON_SERIALIZE_ENUM(QueueAvailability,
                             {
                                 {QueueAvailability::Available, "Available"},
                                 {QueueAvailability::PlatformDisabled, "PlatformDisabled"},
                                 {QueueAvailability::DoesntMeetRequirements, "DoesntMeetRequirements"},
                             })

// NOLINTBEGIN(readability-identifier-naming): nlohmann::json finds the conversions by these names.

// OptionalToJson writes an optional field: its value, or null when it has none.
template <class T>
nlohmann::json OptionalToJson(const std::optional<T>& field) {
    return field.has_value() ? nlohmann::json(*field) : nlohmann::json(nullptr);
}

inline void to_json(nlohmann::json& j, const QueueReward& reward) {
    j["isIpEnabled"] = reward.isIpEnabled;
    j["isXpEnabled"] = reward.isXpEnabled;
    j["isChampionPointsEnabled"] = reward.isChampionPointsEnabled;
    j["partySizeIpRewards"] = reward.partySizeIpRewards;
}

inline void to_json(nlohmann::json& j, const QueueGameTypeConfig& config) {
    j["id"] = config.id;
    j["name"] = config.name;
    j["maxAllowableBans"] = config.maxAllowableBans;
    j["allowTrades"] = config.allowTrades;
    j["exclusivePick"] = config.exclusivePick;
    j["duplicatePick"] = config.duplicatePick;
    j["teamChampionPool"] = config.teamChampionPool;
    j["crossTeamChampionPool"] = config.crossTeamChampionPool;
    j["advancedLearningQuests"] = config.advancedLearningQuests;
    j["battleBoost"] = config.battleBoost;
    j["deathMatch"] = config.deathMatch;
    j["doNotRemove"] = config.doNotRemove;
    j["learningQuests"] = config.learningQuests;
    j["onboardCoopBeginner"] = config.onboardCoopBeginner;
    j["reroll"] = config.reroll;
    j["mainPickTimerDuration"] = config.mainPickTimerDuration;
    j["postPickTimerDuration"] = config.postPickTimerDuration;
    j["banTimerDuration"] = config.banTimerDuration;
    j["pickMode"] = config.pickMode;
    j["banMode"] = config.banMode;
    j["gameModeOverride"] = OptionalToJson(config.gameModeOverride);
    j["numPlayersPerTeamOverride"] = OptionalToJson(config.numPlayersPerTeamOverride);
}

inline void to_json(nlohmann::json& j, const Queue& queue) {
    j["id"] = queue.id;
    j["mapId"] = queue.mapId;
    j["name"] = queue.name;
    j["shortName"] = queue.shortName;
    j["description"] = queue.description;
    j["detailedDescription"] = queue.detailedDescription;
    j["type"] = queue.type;
    j["gameMode"] = queue.gameMode;
    j["gameMutator"] = queue.gameMutator;
    j["assetMutator"] = queue.assetMutator;
    j["category"] = queue.category;
    j["gameTypeConfig"] = queue.gameTypeConfig;
    j["numPlayersPerTeam"] = queue.numPlayersPerTeam;
    j["minimumParticipantListSize"] = queue.minimumParticipantListSize;
    j["maximumParticipantListSize"] = queue.maximumParticipantListSize;
    j["minLevel"] = queue.minLevel;
    j["maxLevel"] = queue.maxLevel;
    j["maxSummonerLevelForFirstWinOfTheDay"] = queue.maxSummonerLevelForFirstWinOfTheDay;
    j["isRanked"] = queue.isRanked;
    j["isTeamOnly"] = queue.isTeamOnly;
    j["areFreeChampionsAllowed"] = queue.areFreeChampionsAllowed;
    j["isTeamBuilderManaged"] = queue.isTeamBuilderManaged;
    j["queueAvailability"] = queue.queueAvailability;
    j["queueRewards"] = queue.queueRewards;
    j["spectatorEnabled"] = queue.spectatorEnabled;
    j["championsRequiredToPlay"] = queue.championsRequiredToPlay;
    j["allowablePremadeSizes"] = queue.allowablePremadeSizes;
    j["showPositionSelector"] = queue.showPositionSelector;
    j["lastToggledOffTime"] = queue.lastToggledOffTime;
    j["lastToggledOnTime"] = queue.lastToggledOnTime;
}

// NOLINTEND(readability-identifier-naming)

}  // namespace Brix::Client::GameQueues::Api
