// custom_game_builder.cpp - the rules of the custom-game configurations and the per-map overrides.
#include "queues/model/custom_game_builder.h"

#include <algorithm>
#include <utility>

#include "binding/failure.h"
#include "logging/logger.h"

namespace Brix::Client::GameQueues {

namespace {

using Api::QueueAvailability;
using Api::QueueCustomGame;
using Api::QueueCustomGameSpectatorPolicy;
using Api::QueueCustomGameSubcategory;
using Api::QueueGameTypeConfig;

constexpr std::string_view kClassicMode = "CLASSIC";
constexpr std::string_view kKeldMode = "KELD";
constexpr std::string_view kVornekMode = "VORNEK";
constexpr std::string_view kPracticeToolMutator = "PracticeTool";
constexpr std::string_view kOverrideName = "GAME_MUTATOR_OVERRIDE_MARROW";
constexpr int32_t kThreeVersusThreeMap = 10;
constexpr int32_t kFiveVersusFiveMap = 11;
constexpr int32_t kOverrideMap = 12;
constexpr int64_t kOverriddenGameTypeConfigId = 7;
constexpr int32_t kOverridePlayersPerTeam = 2;

template <class Range, class Value>
bool Contains(const Range& range, const Value& value) {
    return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

bool Enabled(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Subcategory is a lobby of one player, levels 1 to 30, with no player cap.
QueueCustomGameSubcategory Subcategory(int32_t mapId, std::string_view gameMode,
                                       std::vector<QueueGameTypeConfig> mutators, int32_t numPlayersPerTeam) {
    QueueCustomGameSubcategory subcategory;
    subcategory.mapId = mapId;
    subcategory.gameMode = std::string(gameMode);
    subcategory.mutators = std::move(mutators);
    subcategory.numPlayersPerTeam = numPlayersPerTeam;
    subcategory.minimumParticipantListSize = 1;
    subcategory.maximumParticipantListSize = 1;
    subcategory.maxPlayerCount = 0;
    subcategory.minLevel = 1;
    subcategory.maxLevel = 30;
    subcategory.queueAvailability = QueueAvailability::Available;
    return subcategory;
}

// ReplaceWithOverride swaps every copy of the currently known configuration 7 for the map override.
void ReplaceWithOverride(std::vector<QueueGameTypeConfig>& mutators, const CustomGameInputs& inputs,
                         const std::vector<MapGameTypeConfig>& mapGameTypeConfigs) {
    const MapGameTypeConfig* mapOverride =
        FindMapGameTypeConfig(mapGameTypeConfigs, kOverriddenGameTypeConfigId, kOverrideMap);
    const auto known = inputs.gameTypeConfigs.find(kOverriddenGameTypeConfigId);
    if (mapOverride == nullptr || known == inputs.gameTypeConfigs.end()) {
        return;
    }
    std::replace(mutators.begin(), mutators.end(), known->second, mapOverride->gameTypeConfig);
}

}  // namespace

bool CustomGameReady(const CustomGameReadiness& readiness) noexcept {
    return readiness.initialConfigurationComplete ||
           (readiness.hasGameTypeConfigs && readiness.hasPracticeGameTypeConfigIds &&
            readiness.hasPracticeGameEnabled && readiness.hasEnabledMaps && readiness.hasEnabledModes &&
            readiness.hasEnabledMutators);
}

void LogCustomGameNotReady(const CustomGameReadiness& readiness) noexcept {
    auto fragment = [](bool received, const char* missing) { return received ? "" : missing; };
    Log(LogLevel::Warn, kPluginLogGroup, "Custom configuration is not available yet:%s%s%s%s%s%s",
        fragment(readiness.hasGameTypeConfigs, " (Game Type Configs)"),
        fragment(readiness.hasPracticeGameTypeConfigIds, " (Custom Game Type Configs)"),
        fragment(readiness.hasPracticeGameEnabled, " (Customs Enabled)"),
        fragment(readiness.hasEnabledMaps, " (Maps)"), fragment(readiness.hasEnabledModes, " (Modes)"),
        fragment(readiness.hasEnabledMutators, " (Mutators)"));
}

std::vector<QueueGameTypeConfig> CustomGameTypeConfigs(const Api::GameTypeConfigMap& gameTypeConfigs,
                                                       const std::vector<uint32_t>& customGameTypeConfigIds) {
    std::vector<QueueGameTypeConfig> configs;
    for (uint32_t id : customGameTypeConfigIds) {
        const auto found = gameTypeConfigs.find(int64_t{id});
        if (found != gameTypeConfigs.end()) {
            configs.push_back(found->second);
        }
    }
    return configs;
}

std::vector<MapGameTypeConfig> BuildMapGameTypeConfigs(const CustomGameInputs& inputs) {
    std::vector<MapGameTypeConfig> overrides;
    const auto known = inputs.gameTypeConfigs.find(kOverriddenGameTypeConfigId);
    if (Contains(inputs.enabledMaps, kOverrideMap) &&
        Contains(inputs.customGameTypeConfigIds, static_cast<uint32_t>(kOverriddenGameTypeConfigId)) &&
        known != inputs.gameTypeConfigs.end()) {
        QueueGameTypeConfig config = known->second;
        config.name = std::string(kOverrideName);
        config.gameModeOverride = std::string(kVornekMode);
        config.numPlayersPerTeamOverride = kOverridePlayersPerTeam;
        overrides.push_back({kOverrideMap, std::move(config)});
    }
    return overrides;
}

MaybeType<QueueCustomGame> BuildCustomGame(const CustomGameInputs& inputs,
                                           const std::vector<MapGameTypeConfig>& mapGameTypeConfigs) {
    if (!CustomGameReady(inputs.readiness)) {
        LogCustomGameNotReady(inputs.readiness);
        return InternalServerError(kMissingConfigurationData);
    }
    QueueCustomGame custom;
    custom.queueAvailability =
        inputs.customsEnabled ? QueueAvailability::Available : QueueAvailability::PlatformDisabled;
    const std::vector<QueueGameTypeConfig> configs =
        CustomGameTypeConfigs(inputs.gameTypeConfigs, inputs.customGameTypeConfigIds);
    custom.spectatorPolicies =
        inputs.observerModeEnabled
            ? inputs.customSpectatorPolicies
            : std::vector<QueueCustomGameSpectatorPolicy>{QueueCustomGameSpectatorPolicy::NotAllowed};
    custom.spectatorSlotLimit = inputs.spectatorSlotLimit;
    if (!inputs.gameServerRegions.empty()) {
        custom.gameServerRegions = inputs.gameServerRegions;
    }

    const bool classic = Enabled(inputs.enabledModes, kClassicMode);
    if (classic && Contains(inputs.enabledMaps, kFiveVersusFiveMap)) {
        custom.subcategories.push_back(Subcategory(kFiveVersusFiveMap, kClassicMode, configs, 5));
    }
    if (classic && Contains(inputs.enabledMaps, kThreeVersusThreeMap)) {
        custom.subcategories.push_back(Subcategory(kThreeVersusThreeMap, kClassicMode, configs, 3));
    }
    if (Contains(inputs.enabledMaps, kOverrideMap) && Enabled(inputs.enabledModes, kKeldMode)) {
        QueueCustomGameSubcategory keld = Subcategory(kOverrideMap, kKeldMode, configs, 5);
        if (Enabled(inputs.enabledModes, kVornekMode)) {
            ReplaceWithOverride(keld.mutators, inputs, mapGameTypeConfigs);
        }
        custom.subcategories.push_back(std::move(keld));
    }
    return custom;
}

MaybeType<QueueCustomGame> BuildNonDefaultCustomGame(const CustomGameInputs& inputs) {
    if (!CustomGameReady(inputs.readiness)) {
        LogCustomGameNotReady(inputs.readiness);
        return InternalServerError(kMissingConfigurationData);
    }
    QueueCustomGame practice;
    practice.queueAvailability = QueueAvailability::Available;
    practice.spectatorSlotLimit = 0;
    if (Enabled(inputs.enabledMutators, kPracticeToolMutator)) {
        QueueCustomGameSubcategory subcategory;
        subcategory.mapId = kFiveVersusFiveMap;
        subcategory.gameMode = std::string(kClassicMode);
        subcategory.gameMutator = std::string(kPracticeToolMutator);
        subcategory.mutators = CustomGameTypeConfigs(inputs.gameTypeConfigs, inputs.customGameTypeConfigIds);
        subcategory.numPlayersPerTeam = 1;
        subcategory.minimumParticipantListSize = 1;
        subcategory.maximumParticipantListSize = 1;
        subcategory.maxPlayerCount = static_cast<int32_t>(inputs.practiceToolMaxPlayers);
        subcategory.minLevel = 9;
        subcategory.maxLevel = 30;
        subcategory.queueAvailability = QueueAvailability::Available;
        practice.subcategories.push_back(std::move(subcategory));
    }
    return practice;
}

const MapGameTypeConfig* FindMapGameTypeConfig(const std::vector<MapGameTypeConfig>& mapGameTypeConfigs,
                                               int64_t gameTypeConfigId, int32_t mapId) noexcept {
    const auto found = std::find_if(
        mapGameTypeConfigs.begin(), mapGameTypeConfigs.end(), [&](const MapGameTypeConfig& entry) {
            return entry.mapId == mapId && entry.gameTypeConfig.id == gameTypeConfigId;
        });
    return found == mapGameTypeConfigs.end() ? nullptr : &*found;
}

const Api::QueueGameTypeConfig* FindGameTypeConfigForMap(
    const Api::GameTypeConfigMap& gameTypeConfigs, const std::vector<MapGameTypeConfig>& mapGameTypeConfigs,
    uint32_t gameTypeConfigId, int32_t mapId) noexcept {
    const int64_t id = int64_t{gameTypeConfigId};
    if (const MapGameTypeConfig* mapOverride = FindMapGameTypeConfig(mapGameTypeConfigs, id, mapId)) {
        return &mapOverride->gameTypeConfig;
    }
    const auto found = gameTypeConfigs.find(id);
    return found == gameTypeConfigs.end() ? nullptr : &found->second;
}

}  // namespace Brix::Client::GameQueues
