// queue_build_fuzzer.cpp - the queue list and custom-game builds over matchmaker records and platform
// settings drawn from the fuzz bytes.
//
// The input draws the matchmaker's queues (ids, types, states, maps, mutators, sizes as the matchmaker
// may send them, 32-bit extremes included) and every platform setting the builds read: game type
// configurations, the queue restriction namespace with its premade-size members, translations, the
// enabled lists and the custom-game inputs. Texts come from the vocabulary the builders know or from
// the input itself. Each build is a pure call, and its result is checked rule by rule against the
// inputs; the premade-size texts are checked against the standard library's stoi.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"
#include "fuzz/fuzz_support.h"
#include "queues/model/custom_game_builder.h"
#include "queues/model/matchmaker_records.h"
#include "queues/model/premade_sizes.h"
#include "queues/model/queue_builder.h"
#include "queues/model/queue_records.h"
#include "queues/model/queue_vocabulary.h"

namespace {

using namespace Brix;
using namespace Brix::Client::GameQueues;

constexpr std::size_t kMaxQueues = 8;
constexpr std::size_t kMaxList = 5;
constexpr std::size_t kMaxTextLength = 24;

constexpr std::array<std::string_view, 10> kQueueTypes = {
    "NORMAL", "RANKED_SOLO_5x5",   "BOT",           "QIX",   "QIX_BOT", "CUSTOM",
    "NONE",   "KELD_UNRANKED_5x5", "TARN_UNRANKED", "normal"};
constexpr std::array<std::string_view, 5> kModes = {"CLASSIC", "KELD", "VORNEK", "PRACTICETOOL", "QIX"};
constexpr std::array<std::string_view, 6> kQueueStates = {"ON", "OFF", "on", "ON ", "", "DISABLED"};
constexpr std::array<std::string_view, 14> kMutators = {"AdvancedLearningQuests",
                                                        "LearningQuests",
                                                        "OnboardCoopBeginner",
                                                        "BattleBoost",
                                                        "ReRoll",
                                                        "DEATHMATCH",
                                                        "DoNotRemove",
                                                        "QIX",
                                                        "Pellar",
                                                        "6v6",
                                                        "CounterPick",
                                                        "PracticeTool",
                                                        "AssetTarn",
                                                        "AssetKeld"};
constexpr std::array<std::string_view, 4> kPickModes = {
    "DraftModeSinglePickStrategy", "TeamBuilderDraftPickStrategy", "TarnPickStrategy", ""};
constexpr std::array<int32_t, 8> kQueueIds = {420, 430, 440, 450, 7, 0, -1, 2147483647};
constexpr std::array<int32_t, 8> kGameTypeConfigIds = {2, 7, 17, 18, 20, 22, 23, -7};
constexpr std::array<int32_t, 5> kMapIds = {11, 12, 10, 0, -12};
constexpr std::array<std::string_view, 8> kPremadeTexts = {"1,2,5",       "1,,2", " 3,4abc", "2147483648",
                                                           "-2147483649", "+-1",  "1,2,",    "0x10,007"};

// ---- drawing inputs ------------------------------------------------------------------------------

std::string DrawText(Fuzz::Reader& reader, std::span<const std::string_view> vocabulary) {
    const uint8_t choice = reader.Byte();
    if (choice % 4 == 3) {
        return std::string(reader.Text(kMaxTextLength));
    }
    return std::string(vocabulary[choice / 4 % vocabulary.size()]);
}

std::vector<std::string> DrawTexts(Fuzz::Reader& reader, std::span<const std::string_view> vocabulary) {
    std::vector<std::string> texts(reader.Below(kMaxList + 1));
    for (std::string& text : texts) {
        text = DrawText(reader, vocabulary);
    }
    return texts;
}

int32_t DrawInt(Fuzz::Reader& reader, std::span<const int32_t> common) {
    const uint8_t choice = reader.Byte();
    if (choice % 4 == 3) {
        return reader.Number<int32_t>();
    }
    return common[choice / 4 % common.size()];
}

std::vector<int32_t> DrawInts(Fuzz::Reader& reader, std::span<const int32_t> common) {
    std::vector<int32_t> numbers(reader.Below(kMaxList + 1));
    for (int32_t& number : numbers) {
        number = DrawInt(reader, common);
    }
    return numbers;
}

// DrawSize is a small size most of the time, else any 32-bit value the matchmaker may send.
uint32_t DrawSize(Fuzz::Reader& reader) {
    const uint8_t choice = reader.Byte();
    return choice % 4 == 3 ? reader.Number<uint32_t>() : choice / 4 % 8;
}

Lcds::GameQueueConfig DrawMatchmakerQueue(Fuzz::Reader& reader) {
    Lcds::GameQueueConfig queue;
    queue.id = DrawInt(reader, kQueueIds);
    queue.type = DrawText(reader, kQueueTypes);
    queue.gameMode = DrawText(reader, kModes);
    queue.queueState = DrawText(reader, kQueueStates);
    queue.supportedMapIds = DrawInts(reader, kMapIds);
    queue.gameTypeConfigId = DrawInt(reader, kGameTypeConfigIds);
    queue.gameMutators = DrawTexts(reader, kMutators);
    queue.numPlayersPerTeam = DrawSize(reader);
    queue.minimumParticipantListSize = DrawSize(reader);
    queue.maximumParticipantListSize = DrawSize(reader);
    queue.minLevel = DrawSize(reader);
    queue.maxLevel = DrawSize(reader);
    queue.maxSummonerLevelForFirstWinOfTheDay = DrawSize(reader);
    const uint8_t flags = reader.Byte();
    queue.ranked = (flags & 1) != 0;
    queue.teamOnly = (flags & 2) != 0;
    queue.disallowFreeChampions = (flags & 4) != 0;
    if ((flags & 8) != 0) {
        queue.lastToggledOffTime = reader.Number<uint64_t>();
        queue.lastToggledOnTime = reader.Number<uint64_t>();
    }
    return queue;
}

Api::GameTypeConfigMap DrawGameTypeConfigs(Fuzz::Reader& reader) {
    Api::GameTypeConfigMap configs;
    for (std::size_t count = reader.Below(kMaxList + 1); count > 0; --count) {
        Api::QueueGameTypeConfig config;
        config.id = reader.Bool() ? int64_t{DrawInt(reader, kGameTypeConfigIds)} : reader.Number<int64_t>();
        config.name = std::string(reader.Text(kMaxTextLength));
        config.pickMode = DrawText(reader, kPickModes);
        const uint8_t flags = reader.Byte();
        config.maxAllowableBans = flags;
        config.reroll = (flags & 1) != 0;
        config.deathMatch = (flags & 2) != 0;
        configs.insert_or_assign(config.id, config);
    }
    return configs;
}

// DrawPremadeMember is a premade-size setting in any of the forms the platform may deliver.
void DrawPremadeMember(Fuzz::Reader& reader, BindingProperty& member) {
    switch (reader.Byte() % 8) {
        case 0:
            member.SetString(reader.Pick(kPremadeTexts));
            return;
        case 1:
        case 2:
            member.SetString(reader.Text(kMaxTextLength));
            return;
        case 3:
            member.SetSigned(int64_t{DrawInt(reader, kQueueIds)});
            return;
        case 4:
            member.SetUnsigned(reader.Number<uint64_t>());
            return;
        case 5:
            member.SetFloat(reader.Number<double>());
            return;
        case 6:
            member.SetBool(reader.Bool());
            return;
        default:
            member.AppendElement().SetSigned(int64_t{2});
            return;
    }
}

// DrawRestriction is the whole queue restriction namespace: mostly a structure of premade-size
// members named after drawn queue ids, sometimes another kind altogether.
BindingProperty DrawRestriction(Fuzz::Reader& reader) {
    BindingProperty restriction;
    const uint8_t shape = reader.Byte();
    if (shape % 8 == 7) {
        restriction.SetString("AllowablePremadeSizesForQueueId420");
        return restriction;
    }
    restriction.MakeStructure();
    for (std::size_t count = shape % 6; count > 0; --count) {
        const std::string name =
            reader.Bool() ? "AllowablePremadeSizesForQueueId" + std::to_string(DrawInt(reader, kQueueIds))
                          : std::string(reader.Text(kMaxTextLength));
        DrawPremadeMember(reader, restriction.MemberForWriting(name));
    }
    return restriction;
}

Api::QueueTranslationMap DrawTranslations(Fuzz::Reader& reader) {
    Api::QueueTranslationMap translations;
    for (std::size_t count = reader.Below(kMaxList + 1); count > 0; --count) {
        const int32_t id = DrawInt(reader, kQueueIds);
        Api::QueueTranslation& translation = translations[id];
        translation.name = std::string(reader.Text(kMaxTextLength));
        translation.shortName = std::string(reader.Text(kMaxTextLength));
    }
    return translations;
}

TextSet ToSet(const std::vector<std::string>& texts) {
    return {texts.begin(), texts.end()};
}

// ---- the expected answers ------------------------------------------------------------------------

template <class Range, class Value>
bool Contains(const Range& range, const Value& value) {
    return std::find(std::begin(range), std::end(range), value) != std::end(range);
}

// StoiSizes reads a premade-size text with the standard library: each piece as std::stoi reads it,
// its exceptions standing for the two failures.
MaybeType<std::vector<int32_t>> StoiSizes(const std::string& text) {
    std::vector<int32_t> sizes;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string piece =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        try {
            sizes.push_back(std::stoi(piece));
        } catch (const std::invalid_argument&) {
            return InternalServerError(kInvalidPremadeSize);
        } catch (const std::out_of_range&) {
            return InternalServerError(kPremadeSizeOutOfRange);
        }
        if (comma == std::string::npos) {
            return sizes;
        }
        start = comma + 1;
    }
}

// ExpectedPremadeSizes is what a queue's premade sizes must be: the setting's text read like stoi,
// else the fixed sizes of queue 440, else the participant range, cut to its first
// kMaxDefaultPremadeSizes sizes.
MaybeType<std::vector<int32_t>> ExpectedPremadeSizes(const BindingProperty& restriction, int32_t id,
                                                     int32_t minimum, int32_t maximum) {
    const BindingProperty* member =
        restriction.FindMember("AllowablePremadeSizesForQueueId" + std::to_string(id));
    const std::string text = member != nullptr ? member->ToText() : std::string();
    if (!text.empty()) {
        return StoiSizes(text);
    }
    if (id == 440) {
        return std::vector<int32_t>{1, 2, 3, 5};
    }
    std::vector<int32_t> sizes;
    for (int64_t size = minimum; size <= maximum && sizes.size() < kMaxDefaultPremadeSizes; ++size) {
        sizes.push_back(static_cast<int32_t>(size));
    }
    return sizes;
}

struct QueueInputsHeld {
    TextSet championPointQueueTypes;
    Api::GameTypeConfigMap gameTypeConfigs;
    bool observerModeEnabled = false;
    std::vector<std::string> observableQueueTypes;
    std::vector<int32_t> queuesRequiringTwentyChampions;
    Api::QueueTranslationMap translations;
    BindingProperty queueRestriction;
    TextSet enabledAssetMutators;
    std::vector<int32_t> enabledQueueIds;
    bool hasEnabledQueueIds = false;

    QueueBuildInputs View() const {
        return {championPointQueueTypes,
                gameTypeConfigs,
                observerModeEnabled,
                observableQueueTypes,
                queuesRequiringTwentyChampions,
                translations,
                queueRestriction,
                enabledAssetMutators,
                enabledQueueIds,
                hasEnabledQueueIds};
    }
};

// CheckQueue checks one built queue against its matchmaker queue and the inputs, rule by rule.
void CheckQueue(const Api::Queue& queue, const Lcds::GameQueueConfig& source, const QueueInputsHeld& inputs,
                const std::vector<int32_t>& premadeSizes) {
    Fuzz::Check(queue.id == source.id && queue.type == source.type && queue.gameMode == source.gameMode,
                "id, type and mode are the matchmaker's");
    Fuzz::Check(queue.mapId == (source.supportedMapIds.empty() ? 0 : source.supportedMapIds.front()),
                "the map is the first supported one");
    const bool available =
        inputs.hasEnabledQueueIds ? Contains(inputs.enabledQueueIds, source.id) : source.queueState == "ON";
    Fuzz::Check(queue.queueAvailability == (available ? Api::QueueAvailability::Available
                                                      : Api::QueueAvailability::PlatformDisabled),
                "availability follows the enabled list, else the state");

    const auto config = inputs.gameTypeConfigs.find(int64_t{source.gameTypeConfigId});
    Api::QueueGameTypeConfig expectedConfig =
        config != inputs.gameTypeConfigs.end() ? config->second : Api::QueueGameTypeConfig{};
    std::string gameMutator;
    for (const std::string& mutator : source.gameMutators) {
        expectedConfig.advancedLearningQuests |= mutator == "AdvancedLearningQuests";
        expectedConfig.learningQuests |= mutator == "LearningQuests";
        expectedConfig.onboardCoopBeginner |= mutator == "OnboardCoopBeginner";
        expectedConfig.battleBoost |= mutator == "BattleBoost";
        expectedConfig.reroll |= mutator == "ReRoll";
        expectedConfig.deathMatch |= mutator == "DEATHMATCH";
        expectedConfig.doNotRemove |= mutator == "DoNotRemove";
        if (mutator == "QIX" || mutator == "Pellar" || mutator == "6v6" || mutator == "CounterPick" ||
            mutator == "PracticeTool") {
            gameMutator = mutator;
        }
    }
    Fuzz::Check(queue.gameTypeConfig == expectedConfig, "the game type configuration, its flags raised");
    Fuzz::Check(queue.gameMutator == gameMutator, "the last game mutator listed");
    const auto asset =
        std::find_if(source.gameMutators.begin(), source.gameMutators.end(),
                     [&](const std::string& name) { return inputs.enabledAssetMutators.contains(name); });
    Fuzz::Check(queue.assetMutator == (asset != source.gameMutators.end() ? *asset : std::string()),
                "the first enabled asset mutator");

    Fuzz::Check(
        static_cast<uint32_t>(queue.numPlayersPerTeam) == source.numPlayersPerTeam &&
            static_cast<uint32_t>(queue.minimumParticipantListSize) == source.minimumParticipantListSize &&
            static_cast<uint32_t>(queue.maximumParticipantListSize) == source.maximumParticipantListSize &&
            queue.minLevel == source.minLevel && queue.maxLevel == source.maxLevel &&
            queue.maxSummonerLevelForFirstWinOfTheDay == source.maxSummonerLevelForFirstWinOfTheDay,
        "sizes and levels are copied bit for bit");
    Fuzz::Check(queue.isRanked == source.ranked && queue.isTeamOnly == source.teamOnly &&
                    queue.areFreeChampionsAllowed == !source.disallowFreeChampions,
                "the flags are copied");
    Fuzz::Check(
        queue.isTeamBuilderManaged == (source.gameTypeConfigId >= 18 && source.gameTypeConfigId <= 22),
        "team builder queues are the game types 18 to 22");
    const std::optional<Api::QueueGameCategory> category = FindQueueCategory(source.type);
    Fuzz::Check(queue.category == category.value_or(Api::QueueGameCategory::PvP),
                "the type's category, else PvP");
    const bool spectating = inputs.observerModeEnabled && !inputs.observableQueueTypes.empty() &&
                            !Contains(inputs.observableQueueTypes, std::string("NONE"));
    Fuzz::Check(queue.spectatorEnabled == (spectating && Contains(inputs.observableQueueTypes, source.type)),
                "spectating needs observer mode and an observable type");
    Fuzz::Check(queue.queueRewards.isIpEnabled && queue.queueRewards.isXpEnabled &&
                    queue.queueRewards.isChampionPointsEnabled ==
                        inputs.championPointQueueTypes.contains(source.type) &&
                    queue.queueRewards.partySizeIpRewards.empty(),
                "the rewards");
    Fuzz::Check(queue.championsRequiredToPlay == (Contains(inputs.queuesRequiringTwentyChampions, source.id)
                                                      ? 20u
                                                      : source.numPlayersPerTeam * 2u + 6u),
                "champions required");
    const auto translation = inputs.translations.find(source.id);
    Fuzz::Check(queue.name == (translation != inputs.translations.end() ? translation->second.name : "") &&
                    queue.description ==
                        (translation != inputs.translations.end() ? translation->second.description : ""),
                "the texts are the queue's translation");
    Fuzz::Check(queue.allowablePremadeSizes == premadeSizes, "the premade sizes");
    Fuzz::Check(queue.allowablePremadeSizes.size() <= std::max(kMaxDefaultPremadeSizes, kMaxTextLength),
                "premade sizes are bounded by the setting's text or the default bound");
    Fuzz::Check(queue.showPositionSelector == ShowsPositionSelector(expectedConfig.pickMode, queue.mapId),
                "the position selector");
    Fuzz::Check(queue.lastToggledOffTime == source.lastToggledOffTime &&
                    queue.lastToggledOnTime == source.lastToggledOnTime,
                "the toggle times are copied");
}

void CheckQueueList(const std::vector<Lcds::GameQueueConfig>& matchmakerQueues,
                    const QueueInputsHeld& inputs) {
    const MaybeType<std::vector<Api::Queue>> built = BuildQueueList(matchmakerQueues, inputs.View());

    std::vector<std::vector<int32_t>> premadeSizes;
    std::optional<Failure> failure;
    for (const Lcds::GameQueueConfig& source : matchmakerQueues) {
        MaybeType<std::vector<int32_t>> sizes = ExpectedPremadeSizes(
            inputs.queueRestriction, source.id, static_cast<int32_t>(source.minimumParticipantListSize),
            static_cast<int32_t>(source.maximumParticipantListSize));
        if (!sizes) {
            failure = sizes.Error();
            break;
        }
        premadeSizes.push_back(std::move(sizes).Value());
    }
    if (failure) {
        Fuzz::Check(!built.HasValue(), "a malformed premade-size setting fails the build");
        Fuzz::Check(built.Error().Message() == failure->Message() && built.Error().StatusCode() == 500,
                    "the build fails with the first malformed setting's message and status 500");
        return;
    }
    Fuzz::Check(built.HasValue(), "a build without a malformed setting succeeds");
    const std::vector<Api::Queue>& queues = built.Value();
    Fuzz::Check(queues.size() == matchmakerQueues.size(), "one queue per matchmaker queue");
    for (std::size_t i = 0; i < queues.size(); ++i) {
        CheckQueue(queues[i], matchmakerQueues[i], inputs, premadeSizes[i]);
    }
}

// ---- custom games --------------------------------------------------------------------------------

void CheckCustomGames(Fuzz::Reader& reader, const Api::GameTypeConfigMap& gameTypeConfigs,
                      bool observerModeEnabled) {
    const uint8_t flags = reader.Byte();
    CustomGameReadiness readiness;
    readiness.hasGameTypeConfigs = (flags & 1) != 0;
    readiness.hasPracticeGameTypeConfigIds = (flags & 2) != 0;
    readiness.hasPracticeGameEnabled = (flags & 4) != 0;
    readiness.hasEnabledMaps = (flags & 8) != 0;
    readiness.hasEnabledModes = (flags & 16) != 0;
    readiness.hasEnabledMutators = (flags & 32) != 0;
    readiness.initialConfigurationComplete = (flags & 64) != 0;
    std::vector<uint32_t> customIds;
    for (int32_t id : DrawInts(reader, kGameTypeConfigIds)) {
        customIds.push_back(static_cast<uint32_t>(id));
    }
    std::sort(customIds.begin(), customIds.end());
    const std::vector<int32_t> maps = DrawInts(reader, kMapIds);
    const std::vector<std::string> modes = DrawTexts(reader, kModes);
    const std::vector<std::string> mutators = DrawTexts(reader, kMutators);
    std::vector<Api::QueueCustomGameSpectatorPolicy> policies(reader.Below(kMaxList + 1));
    for (Api::QueueCustomGameSpectatorPolicy& policy : policies) {
        policy = static_cast<Api::QueueCustomGameSpectatorPolicy>(reader.Below(4));
    }
    const auto slotLimit = reader.Number<uint32_t>();
    const auto maxPlayers = reader.Number<uint32_t>();
    const std::vector<std::string> regions = DrawTexts(reader, kModes);
    const CustomGameInputs inputs{readiness, gameTypeConfigs, customIds,  (flags & 128) != 0,
                                  maps,      modes,           mutators,   observerModeEnabled,
                                  policies,  slotLimit,       maxPlayers, regions};

    const bool ready = CustomGameReady(readiness);
    const std::vector<Api::QueueGameTypeConfig> configs = CustomGameTypeConfigs(gameTypeConfigs, customIds);
    Fuzz::Check(configs.size() <= customIds.size(), "one configuration per known custom id at most");

    const std::vector<MapGameTypeConfig> overrides = BuildMapGameTypeConfigs(inputs);
    const bool overridden = Contains(maps, 12) && Contains(customIds, 7u) && gameTypeConfigs.contains(7);
    Fuzz::Check(overrides.size() == (overridden ? 1u : 0u),
                "one map override, when map 12 offers configuration 7");
    for (const MapGameTypeConfig& entry : overrides) {
        Fuzz::Check(entry.mapId == 12 && entry.gameTypeConfig.id == 7 &&
                        entry.gameTypeConfig.name == "GAME_MUTATOR_OVERRIDE_MARROW" &&
                        entry.gameTypeConfig.gameModeOverride == "VORNEK" &&
                        entry.gameTypeConfig.numPlayersPerTeamOverride == 2,
                    "the override of configuration 7 on map 12");
    }

    const MaybeType<Api::QueueCustomGame> custom = BuildCustomGame(inputs, overrides);
    const MaybeType<Api::QueueCustomGame> practice = BuildNonDefaultCustomGame(inputs);
    if (!ready) {
        Fuzz::Check(!custom && custom.Error().Message() == kMissingConfigurationData &&
                        custom.Error().StatusCode() == 500,
                    "custom games wait for their inputs");
        Fuzz::Check(!practice && practice.Error().Message() == kMissingConfigurationData &&
                        practice.Error().StatusCode() == 500,
                    "the practice tool waits for its inputs");
    } else {
        Fuzz::Check(custom.HasValue() && practice.HasValue(), "ready custom games build");
        const Api::QueueCustomGame& game = custom.Value();
        Fuzz::Check(game.subcategories.size() <= 3, "three custom subcategories at most");
        for (const Api::QueueCustomGameSubcategory& subcategory : game.subcategories) {
            Fuzz::Check(subcategory.mutators.size() == configs.size(),
                        "each subcategory offers every configuration");
            Fuzz::Check(Contains(maps, subcategory.mapId), "subcategories are on enabled maps");
        }
        Fuzz::Check(game.spectatorPolicies ==
                        (observerModeEnabled ? policies
                                             : std::vector{Api::QueueCustomGameSpectatorPolicy::NotAllowed}),
                    "spectator policies follow observer mode");
        Fuzz::Check(game.gameServerRegions.has_value() == !regions.empty(), "regions only when known");
        const Api::QueueCustomGame& tool = practice.Value();
        Fuzz::Check(tool.subcategories.size() == (Contains(mutators, "PracticeTool") ? 1u : 0u),
                    "the practice tool subcategory follows its mutator");
        for (const Api::QueueCustomGameSubcategory& subcategory : tool.subcategories) {
            Fuzz::Check(subcategory.maxPlayerCount == static_cast<int32_t>(maxPlayers) &&
                            subcategory.mutators.size() == configs.size(),
                        "the practice tool's player cap and configurations");
        }
    }

    for (uint32_t id : customIds) {
        for (int32_t map : maps) {
            const Api::QueueGameTypeConfig* found =
                FindGameTypeConfigForMap(gameTypeConfigs, overrides, id, map);
            const MapGameTypeConfig* entry = FindMapGameTypeConfig(overrides, int64_t{id}, map);
            const auto known = gameTypeConfigs.find(int64_t{id});
            if (entry != nullptr) {
                Fuzz::Check(found == &entry->gameTypeConfig, "a map's override comes first");
            } else {
                Fuzz::Check(found == (known != gameTypeConfigs.end() ? &known->second : nullptr),
                            "else the configuration of that id");
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    Fuzz::QuietLogger();
    Fuzz::Reader reader(data, size);

    std::vector<Lcds::GameQueueConfig> matchmakerQueues(reader.Below(kMaxQueues + 1));
    for (Lcds::GameQueueConfig& queue : matchmakerQueues) {
        queue = DrawMatchmakerQueue(reader);
    }
    QueueInputsHeld inputs;
    inputs.queueRestriction = DrawRestriction(reader);
    inputs.gameTypeConfigs = DrawGameTypeConfigs(reader);
    inputs.championPointQueueTypes = ToSet(DrawTexts(reader, kQueueTypes));
    inputs.observerModeEnabled = reader.Bool();
    inputs.observableQueueTypes = DrawTexts(reader, kQueueTypes);
    inputs.queuesRequiringTwentyChampions = DrawInts(reader, kQueueIds);
    inputs.translations = DrawTranslations(reader);
    inputs.enabledAssetMutators = ToSet(DrawTexts(reader, kMutators));
    inputs.hasEnabledQueueIds = reader.Bool();
    inputs.enabledQueueIds = DrawInts(reader, kQueueIds);

    CheckQueueList(matchmakerQueues, inputs);
    CheckCustomGames(reader, inputs.gameTypeConfigs, inputs.observerModeEnabled);
    return 0;
}
