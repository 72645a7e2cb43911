// queue_builder_test.cpp - building published queues from matchmaker queues, rule by rule.
#include "queues/model/queue_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "logging/log_test_support.h"

namespace Brix::Client::GameQueues {
namespace {

using Api::Queue;
using Api::QueueAvailability;
using Api::QueueGameCategory;
using Lcds::GameQueueConfig;
using LogLines = std::vector<std::pair<int32_t, std::string>>;

class QueueBuilder : public FreshLoggerTest {
protected:
    void SetUp() override {
        FreshLoggerTest::SetUp();
        ASSERT_TRUE(log.Register());
        translations[420] = {"Ranked Solo/Duo", "Solo/Duo", "Ranked", "Ranked games for one or two"};
        gameTypeConfigs[18].id = 18;
        gameTypeConfigs[18].pickMode = "TeamBuilderDraftPickStrategy";
        gameTypeConfigs[18].reroll = true;
    }

    // MatchmakerQueue is a queue on map 11 with five players a team, switched on.
    static GameQueueConfig MatchmakerQueue(int32_t id = 420, std::string type = "NORMAL") {
        GameQueueConfig queue;
        queue.id = id;
        queue.type = std::move(type);
        queue.queueState = "ON";
        queue.supportedMapIds = {11};
        queue.numPlayersPerTeam = 5;
        queue.minimumParticipantListSize = 1;
        queue.maximumParticipantListSize = 5;
        return queue;
    }

    QueueBuildInputs Inputs() const {
        return {championPointQueueTypes, gameTypeConfigs,   observerModeEnabled, observableQueueTypes,
                queuesRequiringTwenty,   translations,      queueRestriction,    enabledAssetMutators,
                enabledQueueIds,         hasEnabledQueueIds};
    }

    Queue Build(const GameQueueConfig& matchmakerQueue) { return BuildList({matchmakerQueue}).at(0); }

    std::vector<Queue> BuildList(const std::vector<GameQueueConfig>& matchmakerQueues) {
        MaybeType<std::vector<Queue>> queues = BuildQueueList(matchmakerQueues, Inputs());
        EXPECT_TRUE(queues.HasValue()) << (queues ? "" : queues.Error().Message());
        return queues ? queues.Value() : std::vector<Queue>(matchmakerQueues.size());
    }

    LogLines Lines() const {
        LogLines lines;
        for (const LogRecord& record : log.records) {
            lines.emplace_back(record.level, record.message);
        }
        return lines;
    }

    RecordingLogTarget log;
    TextSet championPointQueueTypes;
    Api::GameTypeConfigMap gameTypeConfigs;
    bool observerModeEnabled = false;
    std::vector<std::string> observableQueueTypes;
    std::vector<int32_t> queuesRequiringTwenty;
    Api::QueueTranslationMap translations;
    BindingProperty queueRestriction;
    TextSet enabledAssetMutators;
    std::vector<int32_t> enabledQueueIds;
    bool hasEnabledQueueIds = false;
};

TEST_F(QueueBuilder, AvailabilityFollowsTheStateUntilTheEnabledListArrives) {
    std::vector<GameQueueConfig> queues{MatchmakerQueue(1), MatchmakerQueue(2), MatchmakerQueue(3)};
    queues[1].queueState = "on";
    queues[2].queueState = "ON ";
    auto availability = [this, &queues] {
        std::vector<QueueAvailability> states;
        for (const Queue& queue : BuildList(queues)) {
            states.push_back(queue.queueAvailability);
        }
        return states;
    };
    using enum QueueAvailability;
    enabledQueueIds = {2, 3};  // not received yet
    EXPECT_EQ(availability(), (std::vector{Available, PlatformDisabled, PlatformDisabled}));
    hasEnabledQueueIds = true;
    EXPECT_EQ(availability(), (std::vector{PlatformDisabled, Available, Available}));

    enabledQueueIds = {};
    EXPECT_EQ(availability(), (std::vector{PlatformDisabled, PlatformDisabled, PlatformDisabled}));
}

TEST_F(QueueBuilder, EveryQueueIsPublishedInOrderAndProblemsAreLogged) {
    GameQueueConfig odd = MatchmakerQueue(-5, "normal");
    odd.supportedMapIds.clear();
    odd.gameTypeConfigId = 77;
    GameQueueConfig twoMaps = MatchmakerQueue(420, "QIX_BOT");
    twoMaps.supportedMapIds = {12, 11};
    const std::vector<Queue> queues = BuildList({twoMaps, odd, MatchmakerQueue(420, "KELD_BOT")});
    ASSERT_EQ(queues.size(), 3u);
    EXPECT_EQ(queues[0].mapId, 12);
    EXPECT_EQ(queues[0].category, QueueGameCategory::PvP);
    EXPECT_EQ(std::tie(queues[1].id, queues[1].mapId, queues[1].category),
              std::make_tuple(-5, 0, QueueGameCategory::PvP));
    EXPECT_EQ(queues[1].gameTypeConfig, Api::QueueGameTypeConfig{});
    EXPECT_EQ(queues[1].name + queues[1].shortName + queues[1].description + queues[1].detailedDescription,
              "");
    EXPECT_EQ(queues[2].category, QueueGameCategory::VersusAi);
    EXPECT_EQ(queues[2].detailedDescription, "Ranked games for one or two");
    EXPECT_EQ(Lines(), (LogLines{{2, "Queue -5 had no supported maps."},
                                 {1, "Category not found for queue type normal. defaulting to PvP category"},
                                 {2, "Translations not found for queue id -5."}}));
    EXPECT_EQ(log.records.at(0).groupMask, kPluginLogGroup);
}

TEST_F(QueueBuilder, MutatorsRaiseFlagsAndNameTheGameAndAssetMutators) {
    GameQueueConfig queue = MatchmakerQueue();
    queue.gameTypeConfigId = 18;
    queue.gameMutators = {
        "DEATHMATCH",          "qix",         "FLEMMIX",     "LearningQuests", "AdvancedLearningQuests",
        "OnboardCoopBeginner", "BattleBoost", "DoNotRemove", "Ombrel"};
    // Flags are raised only, never lowered (reroll stays), and the input configuration is not changed.
    Api::QueueGameTypeConfig raised = gameTypeConfigs[18];
    raised.deathMatch = raised.learningQuests = raised.advancedLearningQuests = raised.onboardCoopBeginner =
        raised.battleBoost = raised.doNotRemove = true;
    const Queue built = Build(queue);
    EXPECT_EQ(built.gameTypeConfig, raised);
    EXPECT_FALSE(gameTypeConfigs[18].deathMatch);
    EXPECT_EQ(built.gameMutator + built.assetMutator, "");
    enabledAssetMutators = {"Ombrel", "FLEMMIX", "QIX"};
    EXPECT_EQ(Build(queue).assetMutator, "FLEMMIX");
    queue.gameMutators = {"QIX", "CounterPick"};
    EXPECT_EQ(Build(queue).gameMutator, "CounterPick");
    queue.gameMutators = {"PracticeTool", "6v6", "Pellar", "Other"};
    EXPECT_EQ(Build(queue).gameMutator, "Pellar");
}

TEST_F(QueueBuilder, TeamBuilderIdsPositionSelectorAndSignedConfigIds) {
    GameQueueConfig queue = MatchmakerQueue();
    for (int32_t id : {17, 18, 22, 23}) {
        queue.gameTypeConfigId = id;
        EXPECT_EQ(Build(queue).isTeamBuilderManaged, id == 18 || id == 22) << id;
    }
    queue.gameTypeConfigId = 18;
    EXPECT_TRUE(Build(queue).showPositionSelector);
    queue.supportedMapIds = {12, 11};
    EXPECT_FALSE(Build(queue).showPositionSelector);

    gameTypeConfigs[-3].name = "NEGATIVE";
    queue.gameTypeConfigId = -3;
    EXPECT_EQ(Build(queue).gameTypeConfig.name, "NEGATIVE");
}

TEST_F(QueueBuilder, SpectatingNeedsObserverModeAndAListWithoutNone) {
    const std::vector<GameQueueConfig> queues{MatchmakerQueue(1, "NORMAL"), MatchmakerQueue(2, "BOT")};
    const std::vector<std::tuple<bool, std::vector<std::string>, bool, bool>> cases = {
        {false, {"NORMAL"}, false, false},
        {true, {"NORMAL"}, true, false},
        {true, {"NONE", "NORMAL"}, false, false},
        {true, {"TARN", "BOT", "NORMAL", "BOT"}, true, true},
        {true, {"normal", "BOT "}, false, false}};
    for (const auto& [observer, types, normal, bot] : cases) {
        observerModeEnabled = observer;
        observableQueueTypes = types;
        const std::vector<Queue> built = BuildList(queues);
        EXPECT_EQ(std::make_pair(built[0].spectatorEnabled, built[1].spectatorEnabled),
                  std::make_pair(normal, bot));
    }
}

TEST_F(QueueBuilder, RewardsChampionsRequiredAndWrappedNumbers) {
    championPointQueueTypes = {"RANKED_SOLO_5x5"};
    queuesRequiringTwenty = {440};
    const Queue ranked = Build(MatchmakerQueue(420, "RANKED_SOLO_5x5"));
    EXPECT_EQ(ranked.queueRewards, (Api::QueueReward{true, true, true, {}}));
    EXPECT_EQ(ranked.championsRequiredToPlay, 16u);
    GameQueueConfig flex = MatchmakerQueue(440, "ranked_solo_5x5");
    flex.numPlayersPerTeam = 3;
    const Queue twenty = Build(flex);
    EXPECT_FALSE(twenty.queueRewards.isChampionPointsEnabled);
    EXPECT_EQ(twenty.championsRequiredToPlay, 20u);
    flex.id = 460;
    EXPECT_EQ(Build(flex).championsRequiredToPlay, 12u);
    flex.numPlayersPerTeam = 0x80000000u;  // wraps instead of overflowing
    EXPECT_EQ(Build(flex).championsRequiredToPlay, 6u);
    queuesRequiringTwenty = {-4};
    EXPECT_EQ(Build(MatchmakerQueue(-4)).championsRequiredToPlay, 20u);
    // Matchmaker numbers outside the published range wrap.
    flex.numPlayersPerTeam = 4294967295u;
    flex.maximumParticipantListSize = 2147483648u;
    flex.lastToggledOffTime = 18446744073709551615u;
    const Queue wrapped = Build(flex);
    EXPECT_EQ(
        std::tie(wrapped.numPlayersPerTeam, wrapped.maximumParticipantListSize, wrapped.lastToggledOffTime),
        std::make_tuple(-1, -2147483647 - 1, 18446744073709551615u));
}

}  // namespace
}  // namespace Brix::Client::GameQueues
