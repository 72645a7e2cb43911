// queue_vocabulary_test.cpp - queue categories and the position-selector rule.
#include "queues/model/queue_vocabulary.h"

#include <gtest/gtest.h>

#include <set>

namespace Brix::Client::GameQueues {
namespace {

using Api::QueueGameCategory;

TEST(QueueVocabulary, CategoriesIncludingTheBotExceptions) {
    std::set<std::string_view> names;
    for (const QueueTypeCategory& row : QueueTypeCategories()) {
        names.insert(row.first);
    }
    EXPECT_EQ(names.size(), 42u);
    EXPECT_EQ(FindQueueCategory("NONE"), QueueGameCategory::Custom);
    EXPECT_EQ(FindQueueCategory("BOT_3x3"), QueueGameCategory::VersusAi);
    EXPECT_EQ(FindQueueCategory("KELD_BOT"), QueueGameCategory::VersusAi);
    EXPECT_EQ(FindQueueCategory("FEATURED_BOT"), QueueGameCategory::VersusAi);
    EXPECT_EQ(FindQueueCategory("QIX_BOT"), QueueGameCategory::PvP);
    EXPECT_EQ(FindQueueCategory("GRISK_BOT"), QueueGameCategory::PvP);
    for (std::string_view unknown : {"normal", "NORMAL ", "RANKED_SOLO_5X5", ""}) {
        EXPECT_EQ(FindQueueCategory(unknown), std::nullopt) << unknown;
    }
}

TEST(QueueVocabulary, PositionSelectorNeedsDraftPickOnMapEleven) {
    EXPECT_TRUE(ShowsPositionSelector("TeamBuilderDraftPickStrategy", 11));
    EXPECT_TRUE(ShowsPositionSelector("DraftModeSinglePickStrategy", 11));
    EXPECT_FALSE(ShowsPositionSelector("TeamBuilderDraftPickStrategy", 12));
    EXPECT_FALSE(ShowsPositionSelector("draftmodesinglepickstrategy", 11));
}

}  // namespace
}  // namespace Brix::Client::GameQueues
