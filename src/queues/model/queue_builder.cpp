// queue_builder.cpp - the rules that make a published queue out of a matchmaker queue.
#include "queues/model/queue_builder.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "logging/logger.h"
#include "queues/model/premade_sizes.h"
#include "queues/model/queue_id_table.h"
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

// ObservableTypes holds the distinct observable queue types in ascending order, so that each queue's
// type is looked up in logarithmic time.
class ObservableTypes {
public:
    explicit ObservableTypes(std::span<const std::string> types) : sorted(types.begin(), types.end()) {
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    }

    bool Contains(std::string_view type) const {
        return std::binary_search(sorted.begin(), sorted.end(), type);
    }

private:
    std::vector<std::string_view> sorted;
};

// ListLookups are the sets that every queue of one list build is looked up in, made once per list
// from the inputs (which must outlive them).
struct ListLookups {
    ListLookups(const QueueBuildInputs& inputs, bool spectating)
        : spectatingOn(spectating),
          observableQueueTypes(spectating ? std::span<const std::string>(inputs.observableQueueTypes)
                                          : std::span<const std::string>()),
          queuesRequiringTwentyChampions(inputs.queuesRequiringTwentyChampions),
          premadeSizes(inputs.queueRestriction) {}

    bool spectatingOn;
    ObservableTypes observableQueueTypes;  // none when nothing is spectatable
    QueueIdSet queuesRequiringTwentyChampions;
    PremadeSizeSettings premadeSizes;
};

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

// FindTranslation is the translation of the queue with the id, or null.
const Api::QueueTranslation* FindTranslation(const Api::QueueTranslationMap& translations, int32_t id) {
    const auto found = translations.find(id);
    return found != translations.end() ? &found->second : nullptr;
}

// BuildListedQueue is BuildQueue with the list's lookups made already, building into queue (a default
// record) where it is kept, so that the record is not moved on its way into the list.
MaybeType<void> BuildListedQueue(const Lcds::GameQueueConfig& matchmakerQueue, const QueueBuildInputs& inputs,
                                 const ListLookups& lookups, const Api::QueueTranslation* translation,
                                 Api::Queue& queue) {
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
    queue.spectatorEnabled = lookups.spectatingOn && lookups.observableQueueTypes.Contains(queue.type);

    queue.queueRewards.isIpEnabled = true;
    queue.queueRewards.isXpEnabled = true;
    queue.queueRewards.isChampionPointsEnabled = inputs.championPointQueueTypes.contains(queue.type);

    // Unsigned arithmetic: an absurd team size wraps instead of overflowing.
    queue.championsRequiredToPlay = lookups.queuesRequiringTwentyChampions.Contains(queue.id)
                                        ? kChampionsForTwentyChampionQueues
                                        : matchmakerQueue.numPlayersPerTeam * 2u + 6u;

    if (translation != nullptr) {
        queue.name = translation->name;
        queue.shortName = translation->shortName;
        queue.description = translation->description;
        queue.detailedDescription = translation->detailedDescription;
    } else {
        Log(LogLevel::Error, kPluginLogGroup, "Translations not found for queue id %i.", queue.id);
    }

    MaybeType<std::vector<int32_t>> premadeSizes = lookups.premadeSizes.AllowableSizes(
        queue.id, queue.minimumParticipantListSize, queue.maximumParticipantListSize);
    if (!premadeSizes) {
        return premadeSizes.Error();
    }
    queue.allowablePremadeSizes = std::move(premadeSizes).Value();

    queue.showPositionSelector = ShowsPositionSelector(queue.gameTypeConfig.pickMode, queue.mapId);
    queue.lastToggledOffTime = matchmakerQueue.lastToggledOffTime;
    queue.lastToggledOnTime = matchmakerQueue.lastToggledOnTime;
    return {};
}

}  // namespace

bool SpectatingOn(bool observerModeEnabled, const std::vector<std::string>& observableQueueTypes) {
    return observerModeEnabled && !observableQueueTypes.empty() &&
           !Contains(observableQueueTypes, std::string("NONE"));
}

MaybeType<Api::Queue> BuildQueue(const Lcds::GameQueueConfig& matchmakerQueue, const QueueBuildInputs& inputs,
                                 bool spectatingOn) {
    Api::Queue queue;
    MaybeType<void> built = BuildListedQueue(matchmakerQueue, inputs, ListLookups(inputs, spectatingOn),
                                             FindTranslation(inputs.translations, matchmakerQueue.id), queue);
    if (!built) {
        return built.Error();
    }
    return queue;
}

MaybeType<std::vector<Api::Queue>> BuildQueueList(const std::vector<Lcds::GameQueueConfig>& matchmakerQueues,
                                                  const QueueBuildInputs& inputs) {
    const ListLookups lookups(inputs, SpectatingOn(inputs.observerModeEnabled, inputs.observableQueueTypes));
    const QueueIdSet enabledQueueIds(inputs.hasEnabledQueueIds
                                         ? std::span<const int32_t>(inputs.enabledQueueIds)
                                         : std::span<const int32_t>());
    // Every queue's translation is looked up before the queues are built: the lookups do not depend on
    // each other, so their memory reads overlap instead of stalling one queue build after another.
    std::vector<const Api::QueueTranslation*> translations;
    translations.reserve(matchmakerQueues.size());
    for (const Lcds::GameQueueConfig& matchmakerQueue : matchmakerQueues) {
        translations.push_back(FindTranslation(inputs.translations, matchmakerQueue.id));
    }
    std::vector<Api::Queue> queues;
    queues.reserve(matchmakerQueues.size());
    for (std::size_t index = 0; index < matchmakerQueues.size(); ++index) {
        Api::Queue& queue = queues.emplace_back();
        MaybeType<void> built =
            BuildListedQueue(matchmakerQueues[index], inputs, lookups, translations[index], queue);
        if (!built) {
            return built.Error();
        }
        // A received enabled-queue list replaces the state-based availability of every queue. It is
        // applied while the queue is at hand; a failing queue discards the whole list anyway.
        if (inputs.hasEnabledQueueIds) {
            queue.queueAvailability = enabledQueueIds.Contains(queue.id)
                                          ? QueueAvailability::Available
                                          : QueueAvailability::PlatformDisabled;
        }
    }
    return queues;
}

}  // namespace Brix::Client::GameQueues
