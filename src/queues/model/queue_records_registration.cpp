// queue_records_registration.cpp - the registration blocks of the published queue records and enums.
#include "queues/model/queue_records_registration.h"

#include "binding/type_builder.h"
#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues::Api {

void RegisterApiRecords(TypeRegistry& registry, std::string_view namePrefix,
                        std::span<const std::string> tags) {
    const std::string prefix(namePrefix);

    Register<QueueGameCategory>(registry, prefix + "QueueGameCategory")
        .Value("None", QueueGameCategory::None)
        .Value("Custom", QueueGameCategory::Custom)
        .Value("PvP", QueueGameCategory::PvP)
        .Value("VersusAi", QueueGameCategory::VersusAi)
        .Tags(tags);

    Register<QueueAvailability>(registry, prefix + "QueueAvailability")
        .Value("Available", QueueAvailability::Available)
        .Value("PlatformDisabled", QueueAvailability::PlatformDisabled)
        .Value("DoesntMeetRequirements", QueueAvailability::DoesntMeetRequirements)
        .Tags(tags);

    Register<QueueReward>(registry, prefix + "QueueReward")
        .Field("isIpEnabled", &QueueReward::isIpEnabled)
        .Field("isXpEnabled", &QueueReward::isXpEnabled)
        .Field("isChampionPointsEnabled", &QueueReward::isChampionPointsEnabled)
        .Field("partySizeIpRewards", &QueueReward::partySizeIpRewards)
        .Tags(tags);

    Register<QueueGameTypeConfig>(registry, prefix + "QueueGameTypeConfig")
        .Field("id", &QueueGameTypeConfig::id)
        .Field("name", &QueueGameTypeConfig::name)
        .Field("maxAllowableBans", &QueueGameTypeConfig::maxAllowableBans)
        .Field("allowTrades", &QueueGameTypeConfig::allowTrades)
        .Field("exclusivePick", &QueueGameTypeConfig::exclusivePick)
        .Field("duplicatePick", &QueueGameTypeConfig::duplicatePick)
        .Field("teamChampionPool", &QueueGameTypeConfig::teamChampionPool)
        .Field("crossTeamChampionPool", &QueueGameTypeConfig::crossTeamChampionPool)
        .Field("advancedLearningQuests", &QueueGameTypeConfig::advancedLearningQuests)
        .Field("battleBoost", &QueueGameTypeConfig::battleBoost)
        .Field("deathMatch", &QueueGameTypeConfig::deathMatch)
        .Field("doNotRemove", &QueueGameTypeConfig::doNotRemove)
        .Field("learningQuests", &QueueGameTypeConfig::learningQuests)
        .Field("onboardCoopBeginner", &QueueGameTypeConfig::onboardCoopBeginner)
        .Field("reroll", &QueueGameTypeConfig::reroll)
        .Field("mainPickTimerDuration", &QueueGameTypeConfig::mainPickTimerDuration)
        .Field("postPickTimerDuration", &QueueGameTypeConfig::postPickTimerDuration)
        .Field("banTimerDuration", &QueueGameTypeConfig::banTimerDuration)
        .Field("pickMode", &QueueGameTypeConfig::pickMode)
        .Field("banMode", &QueueGameTypeConfig::banMode)
        .Field("gameModeOverride", &QueueGameTypeConfig::gameModeOverride)
        .Field("numPlayersPerTeamOverride", &QueueGameTypeConfig::numPlayersPerTeamOverride)
        .Tags(tags);

    Register<Queue>(registry, prefix + "Queue")
        .Field("id", &Queue::id)
        .Field("mapId", &Queue::mapId)
        .Field("name", &Queue::name)
        .Field("shortName", &Queue::shortName)
        .Field("description", &Queue::description)
        .Field("detailedDescription", &Queue::detailedDescription)
        .Field("type", &Queue::type)
        .Field("gameMode", &Queue::gameMode)
        .Field("gameMutator", &Queue::gameMutator)
        .Field("assetMutator", &Queue::assetMutator)
        .Field("category", &Queue::category)
        .Field("gameTypeConfig", &Queue::gameTypeConfig)
        .Field("numPlayersPerTeam", &Queue::numPlayersPerTeam)
        .Field("minimumParticipantListSize", &Queue::minimumParticipantListSize)
        .Field("maximumParticipantListSize", &Queue::maximumParticipantListSize)
        .Field("minLevel", &Queue::minLevel)
        .Field("maxLevel", &Queue::maxLevel)
        .Field("maxSummonerLevelForFirstWinOfTheDay", &Queue::maxSummonerLevelForFirstWinOfTheDay)
        .Field("isRanked", &Queue::isRanked)
        .Field("isTeamOnly", &Queue::isTeamOnly)
        .Field("areFreeChampionsAllowed", &Queue::areFreeChampionsAllowed)
        .Field("isTeamBuilderManaged", &Queue::isTeamBuilderManaged)
        .Field("queueAvailability", &Queue::queueAvailability)
        .Field("queueRewards", &Queue::queueRewards)
        .Field("spectatorEnabled", &Queue::spectatorEnabled)
        .Field("championsRequiredToPlay", &Queue::championsRequiredToPlay)
        .Field("allowablePremadeSizes", &Queue::allowablePremadeSizes)
        .Field("showPositionSelector", &Queue::showPositionSelector)
        .Field("lastToggledOffTime", &Queue::lastToggledOffTime)
        .Field("lastToggledOnTime", &Queue::lastToggledOnTime)
        .Tags(tags);

    Register<QueueTranslation>(registry, prefix + "QueueTranslation")
        .Field("name", &QueueTranslation::name)
        .Field("shortName", &QueueTranslation::shortName)
        .Field("description", &QueueTranslation::description)
        .Field("detailedDescription", &QueueTranslation::detailedDescription)
        .Tags(tags);

    Register<QueueCustomGameSpectatorPolicy>(registry, prefix + "QueueCustomGameSpectatorPolicy")
        .Value("NotAllowed", QueueCustomGameSpectatorPolicy::NotAllowed)
        .Value("LobbyAllowed", QueueCustomGameSpectatorPolicy::LobbyAllowed)
        .Value("FriendsAllowed", QueueCustomGameSpectatorPolicy::FriendsAllowed)
        .Value("AllAllowed", QueueCustomGameSpectatorPolicy::AllAllowed)
        .Tags(tags);

    Register<QueueCustomGameSubcategory>(registry, prefix + "QueueCustomGameSubcategory")
        .Field("mapId", &QueueCustomGameSubcategory::mapId)
        .Field("gameMode", &QueueCustomGameSubcategory::gameMode)
        .Field("gameMutator", &QueueCustomGameSubcategory::gameMutator)
        .Field("mutators", &QueueCustomGameSubcategory::mutators)
        .Field("numPlayersPerTeam", &QueueCustomGameSubcategory::numPlayersPerTeam)
        .Field("minimumParticipantListSize", &QueueCustomGameSubcategory::minimumParticipantListSize)
        .Field("maximumParticipantListSize", &QueueCustomGameSubcategory::maximumParticipantListSize)
        .Field("maxPlayerCount", &QueueCustomGameSubcategory::maxPlayerCount)
        .Field("minLevel", &QueueCustomGameSubcategory::minLevel)
        .Field("maxLevel", &QueueCustomGameSubcategory::maxLevel)
        .Field("queueAvailability", &QueueCustomGameSubcategory::queueAvailability)
        .Tags(tags);

    Register<QueueCustomGame>(registry, prefix + "QueueCustomGame")
        .Field("subcategories", &QueueCustomGame::subcategories)
        .Field("queueAvailability", &QueueCustomGame::queueAvailability)
        .Field("spectatorPolicies", &QueueCustomGame::spectatorPolicies)
        .Field("spectatorSlotLimit", &QueueCustomGame::spectatorSlotLimit)
        .Field("gameServerRegions", &QueueCustomGame::gameServerRegions)
        .Tags(tags);

    Register<PlatformConfigEnabledMap>(registry, prefix + "PlatformConfigEnabledMap")
        .Field("gameMapId", &PlatformConfigEnabledMap::gameMapId)
        .Field("minPlayers", &PlatformConfigEnabledMap::minPlayers)
        .Tags(tags);

    Register<LoginDataPacket>(registry, prefix + "LoginDataPacket")
        .Field("gameTypeConfigs", &LoginDataPacket::gameTypeConfigs)
        .Tags(tags);

    // The login service lists its states in this order; the numbers are what count.
    Register<LoginSessionStates>(registry, prefix + "LoginSessionStates")
        .Value("IN_PROGRESS", LoginSessionStates::InProgress)
        .Value("ERROR", LoginSessionStates::Error)
        .Value("SUCCEEDED", LoginSessionStates::Succeeded)
        .Value("LOGGING_OUT", LoginSessionStates::LoggingOut)
        .Tags(tags);

    Register<LoginSession>(registry, prefix + "LoginSession")
        .Field("state", &LoginSession::state)
        .Field("summonerId", &LoginSession::summonerId)
        .Field("accountId", &LoginSession::accountId)
        .Field("connected", &LoginSession::connected)
        .Tags(tags);
}

}  // namespace Brix::Client::GameQueues::Api
