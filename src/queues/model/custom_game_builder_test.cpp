// custom_game_builder_test.cpp - the custom-game configurations, the map 12 override and its lookup.
#include "queues/model/custom_game_builder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "logging/log_test_support.h"

namespace Brix::Client::GameQueues {
namespace {

using Api::QueueAvailability;
using Api::QueueCustomGame;
using Api::QueueGameTypeConfig;
using Configs = std::vector<QueueGameTypeConfig>;
using Policy = Api::QueueCustomGameSpectatorPolicy;

class CustomGameBuilder : public FreshLoggerTest {
protected:
    void SetUp() override {
        FreshLoggerTest::SetUp();
        ASSERT_TRUE(log.Register());
        for (int64_t id : {1, 7}) {
            gameTypeConfigs[id].id = id;
            gameTypeConfigs[id].name = "CONFIG_" + std::to_string(id);
        }
    }

    CustomGameInputs Inputs() const {
        return {readiness,
                gameTypeConfigs,
                customIds,
                customsEnabled,
                enabledMaps,
                enabledModes,
                enabledMutators,
                observerModeEnabled,
                policies,
                spectatorSlotLimit,
                practiceToolMaxPlayers,
                gameServerRegions};
    }

    // Custom builds the overrides the way the publisher does, then the default configuration.
    QueueCustomGame Custom() {
        overrides = BuildMapGameTypeConfigs(Inputs());
        MaybeType<QueueCustomGame> custom = BuildCustomGame(Inputs(), overrides);
        EXPECT_TRUE(custom.HasValue());
        return custom ? custom.Value() : QueueCustomGame{};
    }

    RecordingLogTarget log;
    CustomGameReadiness readiness{true, true, true, true, true, true, false};
    Api::GameTypeConfigMap gameTypeConfigs;
    std::vector<uint32_t> customIds{1, 7};
    bool customsEnabled = true;
    std::vector<int32_t> enabledMaps{10, 11, 12};
    std::vector<std::string> enabledModes{"CLASSIC", "KELD"};
    std::vector<std::string> enabledMutators;
    bool observerModeEnabled = false;
    std::vector<Policy> policies;
    uint32_t spectatorSlotLimit = 0;
    uint32_t practiceToolMaxPlayers = 1;
    std::vector<std::string> gameServerRegions;
    std::vector<MapGameTypeConfig> overrides;
};

TEST_F(CustomGameBuilder, NotReadyLogsTheMissingInputsAndFailsUntilTheInitialConfigurationIsComplete) {
    readiness.hasEnabledMaps = false;
    EXPECT_EQ(BuildNonDefaultCustomGame(Inputs()).Error().Message(), "Missing configuration data");
    LogCustomGameNotReady(CustomGameReadiness{});
    EXPECT_EQ(log.Messages(),
              (std::vector<std::string>{
                  "Custom configuration is not available yet: (Maps)",
                  "Custom configuration is not available yet: (Game Type Configs) (Custom Game Type "
                  "Configs) (Customs Enabled) (Maps) (Modes) (Mutators)"}));
    readiness = {};
    readiness.initialConfigurationComplete = true;
    EXPECT_EQ(Custom().subcategories.size(), 3u);
    EXPECT_EQ(log.records.size(), 2u);
}

TEST_F(CustomGameBuilder, SubcategoriesInMapOrderElevenTenTwelve) {
    const Configs offered{gameTypeConfigs[1], gameTypeConfigs[7]};
    using Subcategory = Api::QueueCustomGameSubcategory;
    constexpr QueueAvailability kAvailable = QueueAvailability::Available;
    EXPECT_EQ(Custom().subcategories,
              (std::vector<Subcategory>{{11, "CLASSIC", "", offered, 5, 1, 1, 0, 1, 30, kAvailable},
                                        {10, "CLASSIC", "", offered, 3, 1, 1, 0, 1, 30, kAvailable},
                                        {12, "KELD", "", offered, 5, 1, 1, 0, 1, 30, kAvailable}}));
    enabledModes = {"KELD", "classic"};
    enabledMaps = {12, 10, 11};
    ASSERT_EQ(Custom().subcategories.size(), 1u);
    EXPECT_EQ(Custom().subcategories[0].mapId, 12);
}

TEST_F(CustomGameBuilder, OfferedConfigurationsSkipUnknownIdsAndRepeatDuplicates) {
    EXPECT_EQ(CustomGameTypeConfigs(gameTypeConfigs, {7, 99, 1, 1}),
              (Configs{gameTypeConfigs[7], gameTypeConfigs[1], gameTypeConfigs[1]}));
    gameTypeConfigs[-1].name = "NEGATIVE";  // 4294967295 is not the key -1
    EXPECT_TRUE(CustomGameTypeConfigs(gameTypeConfigs, {4294967295u}).empty());
}

TEST_F(CustomGameBuilder, AvailabilitySpectatorsAndRegions) {
    customsEnabled = false;
    policies = {Policy::LobbyAllowed, Policy::FriendsAllowed, Policy::AllAllowed, Policy::NotAllowed};
    spectatorSlotLimit = 2;
    const QueueCustomGame closed = Custom();
    EXPECT_EQ(std::tie(closed.queueAvailability, closed.spectatorPolicies, closed.spectatorSlotLimit),
              std::make_tuple(QueueAvailability::PlatformDisabled, std::vector{Policy::NotAllowed}, 2u));
    EXPECT_FALSE(closed.gameServerRegions.has_value());
    customsEnabled = observerModeEnabled = true;
    gameServerRegions = {"OSTRAK1", "PELMO1"};
    const QueueCustomGame open = Custom();
    EXPECT_EQ(std::tie(open.queueAvailability, open.spectatorPolicies, open.gameServerRegions),
              std::make_tuple(QueueAvailability::Available, policies, std::optional(gameServerRegions)));
}

TEST_F(CustomGameBuilder, PracticeToolOnlyWithItsMutator) {
    observerModeEnabled = true;
    policies = {Policy::AllAllowed};
    spectatorSlotLimit = 4;
    gameServerRegions = {"OSTRAK1"};
    enabledMutators = {"practicetool"};
    MaybeType<QueueCustomGame> practice = BuildNonDefaultCustomGame(Inputs());
    ASSERT_TRUE(practice.HasValue());
    EXPECT_EQ(practice.Value(), QueueCustomGame{});

    enabledMutators = {"PracticeTool"};
    practiceToolMaxPlayers = 5;
    practice = BuildNonDefaultCustomGame(Inputs());
    ASSERT_TRUE(practice.HasValue());
    ASSERT_EQ(practice.Value().subcategories.size(), 1u);
    const Configs offered{gameTypeConfigs[1], gameTypeConfigs[7]};
    const Api::QueueCustomGameSubcategory expected{
        11, "CLASSIC", "PracticeTool", offered, 1, 1, 1, 5, 9, 30, QueueAvailability::Available};
    EXPECT_EQ(practice.Value().subcategories[0], expected);
}

TEST_F(CustomGameBuilder, OverrideReplacesConfigurationSevenOnlyOnMapTwelveWithVornek) {
    QueueGameTypeConfig marrow = gameTypeConfigs[7];
    marrow.name = "GAME_MUTATOR_OVERRIDE_MARROW";
    marrow.gameModeOverride = "VORNEK";
    marrow.numPlayersPerTeamOverride = 2;
    EXPECT_EQ(BuildMapGameTypeConfigs(Inputs()), (std::vector<MapGameTypeConfig>{{12, marrow}}));

    EXPECT_EQ(Custom().subcategories.at(2).mutators, (Configs{gameTypeConfigs[1], gameTypeConfigs[7]}));
    enabledModes = {"CLASSIC", "KELD", "VORNEK"};
    customIds = {7, 1, 7};
    const QueueCustomGame custom = Custom();
    EXPECT_EQ(custom.subcategories.at(0).mutators,
              (Configs{gameTypeConfigs[7], gameTypeConfigs[1], gameTypeConfigs[7]}));
    EXPECT_EQ(custom.subcategories.at(2).mutators, (Configs{marrow, gameTypeConfigs[1], marrow}));
    enabledMaps = {10, 11};
    EXPECT_TRUE(BuildMapGameTypeConfigs(Inputs()).empty());
}

TEST_F(CustomGameBuilder, StaleOverrideWithoutConfigurationSevenReplacesNothing) {
    enabledModes = {"KELD", "VORNEK"};
    overrides = BuildMapGameTypeConfigs(Inputs());
    ASSERT_EQ(overrides.size(), 1u);
    gameTypeConfigs.erase(7);
    MaybeType<QueueCustomGame> custom = BuildCustomGame(Inputs(), overrides);
    ASSERT_TRUE(custom.HasValue());
    EXPECT_EQ(custom.Value().subcategories.at(0).mutators, Configs{gameTypeConfigs[1]});
    EXPECT_EQ(gameTypeConfigs.size(), 1u);
}

TEST_F(CustomGameBuilder, MapLookupPrefersTheOverride) {
    overrides = BuildMapGameTypeConfigs(Inputs());
    EXPECT_EQ(FindGameTypeConfigForMap(gameTypeConfigs, overrides, 7, 12), &overrides.at(0).gameTypeConfig);
    EXPECT_EQ(FindGameTypeConfigForMap(gameTypeConfigs, overrides, 7, 11), &gameTypeConfigs.at(7));
    EXPECT_EQ(FindGameTypeConfigForMap(gameTypeConfigs, overrides, 99, 12), nullptr);
}

}  // namespace
}  // namespace Brix::Client::GameQueues
