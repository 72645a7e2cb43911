// matchmaker_records_registration.cpp - the registration blocks of the matchmaker records.
#include "queues/model/matchmaker_records_registration.h"

#include <string_view>

#include "binding/static_type.h"
#include "binding/type_builder.h"
#include "queues/model/matchmaker_records.h"

namespace Brix::Client::GameQueues::Lcds {

namespace {

// RegisterWithWireClass enters T's two wire class rows and starts T's registration under bindingName.
template <class T>
auto RegisterWithWireClass(TypeRegistry& registry, WireClassNames& wireClasses,
                           const std::string& bindingName, const std::string& wireClass) {
    wireClasses.Add(bindingName, StaticType<T>().id, wireClass);
    return Register<T>(registry, bindingName);
}

}  // namespace

void RegisterLcdsRecords(TypeRegistry& registry, WireClassNames& wireClasses,
                         std::span<const std::string> tags) {
    RegisterWithWireClass<MatchingThrottleConfig>(registry, wireClasses,
                                                  "GameQueuesLcdsMatchingThrottleConfig",
                                                  "com.brixworks.platform.matchmaking.MatchingThrottleConfig")
        .Field("cacheName", &MatchingThrottleConfig::cacheName)
        .Field("limit", &MatchingThrottleConfig::limit)
        .Tags(tags);

    RegisterWithWireClass<GameQueueConfig>(registry, wireClasses, "GameQueuesLcdsGameQueueConfig",
                                           "com.brixworks.platform.matchmaking.GameQueueConfig")
        .Field("blockedMinutesThreshold", &GameQueueConfig::blockedMinutesThreshold)
        .Field("botsCanSpawnOnBlueSide", &GameQueueConfig::botsCanSpawnOnBlueSide)
        .Field("cacheName", &GameQueueConfig::cacheName)
        .Field("disallowFreeChampions", &GameQueueConfig::disallowFreeChampions)
        .Field("gameMode", &GameQueueConfig::gameMode)
        .Field("gameMutators", &GameQueueConfig::gameMutators)
        .Field("gameTypeConfigId", &GameQueueConfig::gameTypeConfigId)
        .Field("id", &GameQueueConfig::id)
        .Field("mapSelectionAlgorithm", &GameQueueConfig::mapSelectionAlgorithm)
        .Field("matchingThrottleConfig", &GameQueueConfig::matchingThrottleConfig)
        .Field("maxLevel", &GameQueueConfig::maxLevel)
        .Field("maxSummonerLevelForFirstWinOfTheDay", &GameQueueConfig::maxSummonerLevelForFirstWinOfTheDay)
        .Field("maximumParticipantListSize", &GameQueueConfig::maximumParticipantListSize)
        .Field("minLevel", &GameQueueConfig::minLevel)
        .Field("minimumParticipantListSize", &GameQueueConfig::minimumParticipantListSize)
        .Field("minimumQueueDodgeDelayTime", &GameQueueConfig::minimumQueueDodgeDelayTime)
        .Field("numPlayersPerTeam", &GameQueueConfig::numPlayersPerTeam)
        .Field("pointsConfigKey", &GameQueueConfig::pointsConfigKey)
        .Field("queueBonusKey", &GameQueueConfig::queueBonusKey)
        .Field("queueState", &GameQueueConfig::queueState)
        .Field("queueStateString", &GameQueueConfig::queueStateString)
        .Field("randomizeTeamSizes", &GameQueueConfig::randomizeTeamSizes)
        .Field("ranked", &GameQueueConfig::ranked)
        .Field("supportedMapIds", &GameQueueConfig::supportedMapIds)
        .Field("teamOnly", &GameQueueConfig::teamOnly)
        .Field("thresholdEnabled", &GameQueueConfig::thresholdEnabled)
        .Field("thresholdSize", &GameQueueConfig::thresholdSize)
        .Field("type", &GameQueueConfig::type)
        .Field("typeString", &GameQueueConfig::typeString)
        .Field("lastToggledOffTime", &GameQueueConfig::lastToggledOffTime)
        .Field("lastToggledOnTime", &GameQueueConfig::lastToggledOnTime)
        .Tags(tags);

    RegisterWithWireClass<AllowSpectators>(registry, wireClasses, "GameQueuesLcdsAllowSpectators",
                                           "com.brixworks.platform.game.AllowSpectators")
        .Value("NONE", AllowSpectators::None)
        .Value("LOBBYONLY", AllowSpectators::LobbyOnly)
        .Value("DROPINONLY", AllowSpectators::DropInOnly)
        .Value("ALL", AllowSpectators::All)
        .Tags(tags);
}

}  // namespace Brix::Client::GameQueues::Lcds
