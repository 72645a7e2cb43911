// queue_vocabulary.cpp - the queue type, pick strategy and position-selector map tables.
#include "queues/model/queue_vocabulary.h"

#include <algorithm>
#include <array>

namespace Brix::Client::GameQueues {

namespace {

using Api::QueueGameCategory;

constexpr QueueGameCategory kCustom = QueueGameCategory::Custom;
constexpr QueueGameCategory kPvP = QueueGameCategory::PvP;
constexpr QueueGameCategory kVersusAi = QueueGameCategory::VersusAi;

// Not every "_BOT" type is played against bots: QIX_BOT and GRISK_BOT are PvP.
constexpr std::array<QueueTypeCategory, 42> kQueueTypeCategories{{
    {"CUSTOM", kCustom},
    {"NONE", kCustom},
    {"NORMAL", kPvP},
    {"BOT", kVersusAi},
    {"RANKED_SOLO_3x3", kPvP},
    {"RANKED_SOLO_5x5", kPvP},
    {"RANKED_PREMADE_3x3", kPvP},
    {"RANKED_PREMADE_5x5", kPvP},
    {"RANKED_SOLO_1x1", kPvP},
    {"RANKED_SOLO_2x2", kPvP},
    {"RANKED_FLEX_KW", kPvP},
    {"RANKED_FLEX_JX", kPvP},
    {"TARN_UNRANKED", kPvP},
    {"TARN_RANKED_SOLO", kPvP},
    {"TARN_RANKED_TEAM", kPvP},
    {"RANKED_TEAM_3x3", kPvP},
    {"RANKED_TEAM_5x5", kPvP},
    {"NORMAL_3x3", kPvP},
    {"BOT_3x3", kVersusAi},
    {"DRN_1x1", kPvP},
    {"DRN_5x5", kPvP},
    {"KELD_UNRANKED_1x1", kPvP},
    {"KELD_UNRANKED_2x2", kPvP},
    {"KELD_UNRANKED_3x3", kPvP},
    {"KELD_UNRANKED_5x5", kPvP},
    {"KELD_UNRANKED_6x6", kPvP},
    {"KELD_BOT", kVersusAi},
    {"PELLAR_5x5", kPvP},
    {"PELLAR_1x1", kPvP},
    {"VORNEK_1x1", kPvP},
    {"VORNEK_2x2", kPvP},
    {"KW_6x6", kPvP},
    {"JX_5x5", kPvP},
    {"QIX", kPvP},
    {"QIX_BOT", kPvP},
    {"FEATURED", kPvP},
    {"FEATURED_BOT", kVersusAi},
    {"GRISK_BOT", kPvP},
    {"QUELLON", kPvP},
    {"TORVEL", kPvP},
    {"BRIMBLE", kPvP},
    {"COUNTER_PICK", kPvP},
}};

constexpr std::array<std::string_view, 2> kPositionPickStrategies{
    "DraftModeSinglePickStrategy",
    "TeamBuilderDraftPickStrategy",
};

constexpr std::array<int32_t, 1> kPositionSelectorMaps{11};

}  // namespace

std::span<const QueueTypeCategory> QueueTypeCategories() noexcept {
    return kQueueTypeCategories;
}

std::optional<Api::QueueGameCategory> FindQueueCategory(std::string_view queueType) noexcept {
    const auto* found =
        std::find_if(kQueueTypeCategories.begin(), kQueueTypeCategories.end(),
                     [queueType](const QueueTypeCategory& row) { return row.first == queueType; });
    if (found == kQueueTypeCategories.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool ShowsPositionSelector(std::string_view pickMode, int32_t mapId) noexcept {
    return std::find(kPositionPickStrategies.begin(), kPositionPickStrategies.end(), pickMode) !=
               kPositionPickStrategies.end() &&
           std::find(kPositionSelectorMaps.begin(), kPositionSelectorMaps.end(), mapId) !=
               kPositionSelectorMaps.end();
}

}  // namespace Brix::Client::GameQueues
