// custom_game_builder.h - the custom-game configurations (default and practice tool), the per-map game
// type overrides and the per-map game type lookup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "binding/maybe_type.h"
#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues {

// kMissingConfigurationData is the message of a build whose inputs have not all arrived.
inline constexpr std::string_view kMissingConfigurationData = "Missing configuration data";

// CustomGameReadiness: which custom-game inputs have arrived, and whether the platform has finished
// its first delivery (after which missing inputs keep their defaults).
struct CustomGameReadiness {
    bool hasGameTypeConfigs = false;
    bool hasPracticeGameTypeConfigIds = false;
    bool hasPracticeGameEnabled = false;
    bool hasEnabledMaps = false;
    bool hasEnabledModes = false;
    bool hasEnabledMutators = false;
    bool initialConfigurationComplete = false;
};

// MapGameTypeConfig: a game type configuration that applies on one map only.
struct MapGameTypeConfig {
    int32_t mapId = 0;
    Api::QueueGameTypeConfig gameTypeConfig;

    bool operator==(const MapGameTypeConfig&) const = default;
};

// CustomGameInputs: everything the custom-game builds read. The builders keep no reference beyond
// the call; the caller's values must outlive it.
struct CustomGameInputs {
    CustomGameReadiness readiness;
    const Api::GameTypeConfigMap& gameTypeConfigs;
    const std::vector<uint32_t>& customGameTypeConfigIds;  // sorted ascending
    bool customsEnabled;
    const std::vector<int32_t>& enabledMaps;
    const std::vector<std::string>& enabledModes;
    const std::vector<std::string>& enabledMutators;
    bool observerModeEnabled;
    const std::vector<Api::QueueCustomGameSpectatorPolicy>& customSpectatorPolicies;
    uint32_t spectatorSlotLimit;
    uint32_t practiceToolMaxPlayers;
    const std::vector<std::string>& gameServerRegions;
};

// CustomGameReady: all six inputs have arrived, or the initial configuration is complete.
bool CustomGameReady(const CustomGameReadiness& readiness) noexcept;

// LogCustomGameNotReady writes the warning that names each custom-game input still missing (none
// when all have arrived).
void LogCustomGameNotReady(const CustomGameReadiness& readiness) noexcept;

// CustomGameTypeConfigs: a copy of each known configuration named by the custom ids, in id order;
// unknown ids are skipped, repeated ids repeat their configuration.
std::vector<Api::QueueGameTypeConfig> CustomGameTypeConfigs(
    const Api::GameTypeConfigMap& gameTypeConfigs, const std::vector<uint32_t>& customGameTypeConfigIds);

// BuildMapGameTypeConfigs makes the per-map override list: when map 12 is enabled and configuration 7
// is offered for custom games and known, its copy renamed "GAME_MUTATOR_OVERRIDE_MARROW" with game
// mode "VORNEK" and two players a team, for map 12. Otherwise the list is empty.
std::vector<MapGameTypeConfig> BuildMapGameTypeConfigs(const CustomGameInputs& inputs);

// BuildCustomGame builds the default custom-game configuration. In the map 12 subcategory, the
// override of mapGameTypeConfigs (when "VORNEK" is enabled) replaces every copy of configuration 7 as
// it is currently known; when configuration 7 is no longer known, nothing is replaced. Not ready:
// logs LogCustomGameNotReady's warning and fails with kMissingConfigurationData (status 500).
MaybeType<Api::QueueCustomGame> BuildCustomGame(const CustomGameInputs& inputs,
                                                const std::vector<MapGameTypeConfig>& mapGameTypeConfigs);

// BuildNonDefaultCustomGame builds the practice tool configuration; readiness as BuildCustomGame.
MaybeType<Api::QueueCustomGame> BuildNonDefaultCustomGame(const CustomGameInputs& inputs);

// FindMapGameTypeConfig is the first override for mapId whose configuration has the id, or null.
const MapGameTypeConfig* FindMapGameTypeConfig(const std::vector<MapGameTypeConfig>& mapGameTypeConfigs,
                                               int64_t gameTypeConfigId, int32_t mapId) noexcept;

// FindGameTypeConfigForMap is the configuration to use for (gameTypeConfigId, mapId): the map's
// override when there is one, else the known configuration of that id, else null. The id is widened
// without sign extension.
const Api::QueueGameTypeConfig* FindGameTypeConfigForMap(
    const Api::GameTypeConfigMap& gameTypeConfigs, const std::vector<MapGameTypeConfig>& mapGameTypeConfigs,
    uint32_t gameTypeConfigId, int32_t mapId) noexcept;

}  // namespace Brix::Client::GameQueues
