// queue_vocabulary_test.cpp - queue categories and the position-selector rule.
#include "queues/model/queue_vocabulary.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace Brix::Client::GameQueues {
namespace {

using Api::QueueGameCategory;

TEST(QueueVocabulary, CategoriesIncludingTheBotExceptions) {
    const std::vector<std::pair<std::string_view, std::optional<QueueGameCategory>>> cases = {
        {"NONE", QueueGameCategory::Custom},
        {"BOT_3x3", QueueGameCategory::VersusAi},
        {"KELD_BOT", QueueGameCategory::VersusAi},
        {"FEATURED_BOT", QueueGameCategory::VersusAi},
        {"QIX_BOT", QueueGameCategory::PvP},
        {"NORMAL", QueueGameCategory::PvP},
        {"normal", std::nullopt},
        {"RANKED_SOLO_5X5", std::nullopt}};
    for (const auto& [type, category] : cases) {
        EXPECT_EQ(FindQueueCategory(type), category) << type;
    }
}

TEST(QueueVocabulary, PositionSelectorNeedsDraftPickOnMapEleven) {
    EXPECT_TRUE(ShowsPositionSelector("TeamBuilderDraftPickStrategy", 11));
    EXPECT_TRUE(ShowsPositionSelector("DraftModeSinglePickStrategy", 11));
    EXPECT_FALSE(ShowsPositionSelector("draftmodesinglepickstrategy", 11));
}

}  // namespace
}  // namespace Brix::Client::GameQueues
