// queue_builder.cpp - the rules that make a published queue out of a matchmaker queue.
#include "queues/model/queue_builder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

#include "logging/logger.h"
#include "queues/model/premade_sizes.h"
#include "queues/model/queue_vocabulary.h"

namespace Brix::Client::GameQueues {

namespace {

using Api::QueueAvailability;
using Api::QueueGameCategory;
using Api::QueueGameTypeConfig;

// FlagMutator raises one flag of the queue's game type configuration.
struct FlagMutator {
    std::string_view name;
    bool QueueGameTypeConfig::*flag;
};

constexpr std::array<FlagMutator, 7> kFlagMutators{{
    {"AdvancedLearningQuests", &QueueGameTypeConfig::advancedLearningQuests},
    {"LearningQuests", &QueueGameTypeConfig::learningQuests},
    {"OnboardCoopBeginner", &QueueGameTypeConfig::onboardCoopBeginner},
    {"BattleBoost", &QueueGameTypeConfig::battleBoost},
    {"ReRoll", &QueueGameTypeConfig::reroll},
    {"DEATHMATCH", &QueueGameTypeConfig::deathMatch},
    {"DoNotRemove", &QueueGameTypeConfig::doNotRemove},
}};

// Mutators that name the queue's special mode; the queue's game mutator is the last one it lists.
constexpr std::array<std::string_view, 5> kGameMutators{"QIX", "Pellar", "6v6", "CounterPick",
                                                        "PracticeTool"};

constexpr std::array<int32_t, 5> kTeamBuilderGameTypeConfigIds{18, 19, 20, 21, 22};

constexpr int32_t kChampionsForTwentyChampionQueues = 20;

template <class Range, class Value>
bool Contains(const Range& range, const Value& value) {
    return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

void ApplyMutators(Api::Queue& queue, const std::vector<std::string>& mutators) {
    for (const std::string& mutator : mutators) {
        for (const FlagMutator& flagMutator : kFlagMutators) {
            if (flagMutator.name == mutator) {
                queue.gameTypeConfig.*flagMutator.flag = true;
            }
        }
        if (Contains(kGameMutators, std::string_view(mutator))) {
            queue.gameMutator = mutator;
        }
    }
}

std::string FirstAssetMutator(const std::vector<std::string>& mutators, const TextSet& enabledAssetMutators) {
    for (const std::string& mutator : mutators) {
        if (enabledAssetMutators.contains(mutator)) {
            return mutator;
        }
    }
    return {};
}

QueueGameCategory CategoryOf(const std::string& queueType) {
    const std::optional<QueueGameCategory> category = FindQueueCategory(queueType);
    if (!category) {
        Log(LogLevel::Warn, kPluginLogGroup,
            "Category not found for queue type %s. defaulting to PvP category", queueType.c_str());
        return QueueGameCategory::PvP;
    }
    return *category;
}

}  // namespace

bool SpectatingOn(bool observerModeEnabled, const std::vector<std::string>& observableQueueTypes) {
    return observerModeEnabled && !observableQueueTypes.empty() &&
           !Contains(observableQueueTypes, std::string("NONE"));
}

MaybeType<Api::Queue> BuildQueue(const Lcds::GameQueueConfig& matchmakerQueue, const QueueBuildInputs& inputs,
                                 bool spectatingOn) {
    Api::Queue queue;
    queue.id = matchmakerQueue.id;
    queue.queueAvailability = matchmakerQueue.queueState == "ON" ? QueueAvailability::Available
                                                                 : QueueAvailability::PlatformDisabled;

    if (matchmakerQueue.supportedMapIds.empty()) {
        Log(LogLevel::Error, kPluginLogGroup, "Queue %d had no supported maps.", queue.id);
    } else {
        queue.mapId = matchmakerQueue.supportedMapIds.front();
    }

    queue.type = matchmakerQueue.type;
    queue.gameMode = matchmakerQueue.gameMode;

    const auto config = inputs.gameTypeConfigs.find(int64_t{matchmakerQueue.gameTypeConfigId});
    if (config != inputs.gameTypeConfigs.end()) {
        queue.gameTypeConfig = config->second;
    }

    ApplyMutators(queue, matchmakerQueue.gameMutators);
    queue.assetMutator = FirstAssetMutator(matchmakerQueue.gameMutators, inputs.enabledAssetMutators);

    // The matchmaker's unsigned sizes land in the published signed fields bit for bit.
    queue.numPlayersPerTeam = static_cast<int32_t>(matchmakerQueue.numPlayersPerTeam);
    queue.minimumParticipantListSize = static_cast<int32_t>(matchmakerQueue.minimumParticipantListSize);
    queue.maximumParticipantListSize = static_cast<int32_t>(matchmakerQueue.maximumParticipantListSize);
    queue.minLevel = matchmakerQueue.minLevel;
    queue.maxLevel = matchmakerQueue.maxLevel;
    queue.maxSummonerLevelForFirstWinOfTheDay = matchmakerQueue.maxSummonerLevelForFirstWinOfTheDay;
    queue.isRanked = matchmakerQueue.ranked;
    queue.isTeamOnly = matchmakerQueue.teamOnly;
    queue.areFreeChampionsAllowed = !matchmakerQueue.disallowFreeChampions;

    queue.isTeamBuilderManaged = Contains(kTeamBuilderGameTypeConfigIds, matchmakerQueue.gameTypeConfigId);
    queue.category = CategoryOf(queue.type);
    queue.spectatorEnabled = spectatingOn && Contains(inputs.observableQueueTypes, queue.type);

    queue.queueRewards.isIpEnabled = true;
    queue.queueRewards.isXpEnabled = true;
    queue.queueRewards.isChampionPointsEnabled = inputs.championPointQueueTypes.contains(queue.type);

    // Unsigned arithmetic: an absurd team size wraps instead of overflowing.
    queue.championsRequiredToPlay = Contains(inputs.queuesRequiringTwentyChampions, queue.id)
                                        ? kChampionsForTwentyChampionQueues
                                        : matchmakerQueue.numPlayersPerTeam * 2u + 6u;

    const auto translation = inputs.translations.find(queue.id);
    if (translation != inputs.translations.end()) {
        queue.name = translation->second.name;
        queue.shortName = translation->second.shortName;
        queue.description = translation->second.description;
        queue.detailedDescription = translation->second.detailedDescription;
    } else {
        Log(LogLevel::Error, kPluginLogGroup, "Translations not found for queue id %i.", queue.id);
    }

    MaybeType<std::vector<int32_t>> premadeSizes =
        AllowablePremadeSizes(inputs.queueRestriction, queue.id, queue.minimumParticipantListSize,
                              queue.maximumParticipantListSize);
    if (!premadeSizes) {
        return premadeSizes.Error();
    }
    queue.allowablePremadeSizes = std::move(premadeSizes).Value();

    queue.showPositionSelector = ShowsPositionSelector(queue.gameTypeConfig.pickMode, queue.mapId);
    queue.lastToggledOffTime = matchmakerQueue.lastToggledOffTime;
    queue.lastToggledOnTime = matchmakerQueue.lastToggledOnTime;
    return queue;
}

MaybeType<std::vector<Api::Queue>> BuildQueueList(const std::vector<Lcds::GameQueueConfig>& matchmakerQueues,
                                                  const QueueBuildInputs& inputs) {
    const bool spectatingOn = SpectatingOn(inputs.observerModeEnabled, inputs.observableQueueTypes);
    std::vector<Api::Queue> queues;
    queues.reserve(matchmakerQueues.size());
    for (const Lcds::GameQueueConfig& matchmakerQueue : matchmakerQueues) {
        MaybeType<Api::Queue> queue = BuildQueue(matchmakerQueue, inputs, spectatingOn);
        if (!queue) {
            return queue.Error();
        }
        queues.push_back(std::move(queue).Value());
    }
    if (inputs.hasEnabledQueueIds) {
        for (Api::Queue& queue : queues) {
            queue.queueAvailability = Contains(inputs.enabledQueueIds, queue.id)
                                          ? QueueAvailability::Available
                                          : QueueAvailability::PlatformDisabled;
        }
    }
    return queues;
}

}  // namespace Brix::Client::GameQueues
