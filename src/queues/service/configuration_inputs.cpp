// configuration_inputs.cpp - the nineteen configuration resources the service follows: what each
// update stores, logs and triggers.
#include <algorithm>
#include <string>
#include <type_traits>

#include "logging/logger.h"
#include "queues/service/comma_separated_set.h"
#include "queues/service/enabled_queue_changes.h"
#include "queues/service/game_queues_plugin.h"
#include "queues/service/observer_policies.h"

namespace Brix::Client::GameQueues {

namespace {

// Namespaced is the resource of one platform configuration key.
std::string Namespaced(std::string_view key) {
    return std::string("/hux-platform-config/v1/namespaces/").append(key);
}

// TakesValue: Create and Update carry a new value; Delete and unknown types do not.
bool TakesValue(PluginResourceEventType type) noexcept {
    return type == PluginResourceEventType::Create || type == PluginResourceEventType::Update;
}

}  // namespace

void GameQueuesPlugin::FollowConfigurationInputs() {
    // Each exact resource is fetched at once, so the handlers first run in this order.
    auto follow = [this]<class T>(std::string_view uri,
                                  void (GameQueuesPlugin::*handler)(PluginResourceEventType, T)) {
        using Value = std::remove_cvref_t<T>;
        ObserveResource<Value>(uri, [this, handler](PluginResourceEventType type, const Value& value) {
            (this->*handler)(type, value);
        });
    };
    follow("/hux-login/v1/session", &GameQueuesPlugin::OnLoginSession);
    follow("/hux-platform-config/v1/initial-configuration-complete",
           &GameQueuesPlugin::OnInitialConfigurationComplete);
    follow(Namespaced("ChampionMasteryConfig/ChampionPointQueueTypes"),
           &GameQueuesPlugin::OnChampionPointQueueTypes);
    follow(Namespaced("LoginDataPacket/gameTypeConfigs"), &GameQueuesPlugin::OnGameTypeConfigs);
    follow(Namespaced("ClientSystemStates/enabledQueueIdsList"), &GameQueuesPlugin::OnEnabledQueueIds);
    follow(Namespaced("QueueRestriction/QueuesRequiringTwentyChampions"),
           &GameQueuesPlugin::OnQueuesRequiringTwentyChampions);
    follow(Namespaced("QueueRestriction"), &GameQueuesPlugin::OnQueueRestriction);
    follow(Namespaced("ClientSystemStates/practiceGameEnabled"), &GameQueuesPlugin::OnPracticeGameEnabled);
    follow(Namespaced("ClientSystemStates/gameMapEnabledDTOList"), &GameQueuesPlugin::OnEnabledMaps);
    follow(Namespaced("Mutators/EnabledModes"), &GameQueuesPlugin::OnEnabledModes);
    follow(Namespaced("Mutators/EnabledMutators"), &GameQueuesPlugin::OnEnabledMutators);
    follow(Namespaced("Mutators/EnabledAssetMutators"), &GameQueuesPlugin::OnEnabledAssetMutators);
    follow(Namespaced("ClientSystemStates/practiceGameTypeConfigIdList"),
           &GameQueuesPlugin::OnPracticeGameTypeConfigIds);
    follow(Namespaced("ClientSystemStates/knownGeographicGameServerRegions"),
           &GameQueuesPlugin::OnGameServerRegions);
    follow(Namespaced("ClientSystemStates/MaxNumPlayersForPracticeToolGame"),
           &GameQueuesPlugin::OnPracticeToolMaxPlayers);
    follow(Namespaced("ClientSystemStates/observableGameModes"), &GameQueuesPlugin::OnObservableGameModes);
    follow(Namespaced("ClientSystemStates/observableCustomGameModes"),
           &GameQueuesPlugin::OnObservableCustomGameModes);
    follow(Namespaced("ClientSystemStates/observerModeEnabled"), &GameQueuesPlugin::OnObserverModeEnabled);
    follow(Namespaced("ClientSystemStates/spectatorSlotLimit"), &GameQueuesPlugin::OnSpectatorSlotLimit);
}

void GameQueuesPlugin::OnLoginSession(PluginResourceEventType type, const Api::LoginSession& session) {
    if (type == PluginResourceEventType::Delete) {
        loggedIn = false;
        connected = false;
        return;
    }
    if (!TakesValue(type)) {
        return;
    }
    const bool loggedInNow = session.state == Api::LoginSessionStates::Succeeded && session.accountId != 0 &&
                             session.summonerId != 0;
    const bool wasConnected = connected;
    loggedIn = loggedInNow;
    connected = session.connected;
    if (loggedInNow && !wasConnected && session.connected) {
        Log(LogLevel::Always, kPluginLogGroup, "Checking queue cache and custom readiness after reconnect.");
        PublishQueues();
        PublishCustomGame();
    }
}

void GameQueuesPlugin::OnInitialConfigurationComplete(PluginResourceEventType type, bool complete) {
    if (type == PluginResourceEventType::Delete) {
        Log(LogLevel::Always, kPluginLogGroup, "Platform config's initial configuration has been deleted");
        initialConfigurationComplete = false;
    } else if (TakesValue(type)) {
        if (!initialConfigurationComplete && complete) {
            LogQueuesNotReady();
            LogCustomGameNotReady();
            Log(LogLevel::Always, kPluginLogGroup,
                "Platform config's initial configuration is complete, any missing configuration will use "
                "defaults");
        }
        initialConfigurationComplete = complete;
    } else {
        return;
    }
    RefreshQueueCache();
    RefreshCustomGame();
}

void GameQueuesPlugin::OnChampionPointQueueTypes(PluginResourceEventType type, const BindingProperty& value) {
    if (type == PluginResourceEventType::Delete) {
        championPointQueueTypes.clear();
        RefreshQueueCache();
        return;
    }
    if (!TakesValue(type)) {
        return;
    }
    std::unordered_set<std::string> queueTypes = SplitCommaSeparatedSet(value.ToText());
    if (queueTypes == championPointQueueTypes) {
        return;
    }
    championPointQueueTypes = std::move(queueTypes);
    RefreshQueueCache();
}

void GameQueuesPlugin::OnGameTypeConfigs(PluginResourceEventType type,
                                         const std::vector<Api::QueueGameTypeConfig>& configs) {
    if (!TakesValue(type)) {
        return;
    }
    gameTypeConfigs.clear();
    for (const Api::QueueGameTypeConfig& config : configs) {
        gameTypeConfigs.insert_or_assign(config.id, config);
    }
    hasGameTypeConfigs = true;
    RefreshQueueCache();
    RefreshCustomGame();
}

void GameQueuesPlugin::OnEnabledQueueIds(PluginResourceEventType type, const BindingProperty& value) {
    if (!TakesValue(type)) {
        return;
    }
    std::vector<int32_t> ids;
    ConversionStatus status;
    ValueToNative(status, ids, value, "<value>", Registry());
    if (!status.Ok()) {
        Log(LogLevel::Error, kPluginLogGroup, "Unable to parse enabled queues, cannot update");
        return;
    }
    std::sort(ids.begin(), ids.end());
    const std::vector<int32_t> changed = SortedSymmetricDifference(ids, enabledQueueIds);
    if (changed.empty() && hasEnabledQueueIds) {
        Log(LogLevel::Always, kPluginLogGroup,
            "Received an updated enabledQueueIdsList, but there are no changes.");
        return;
    }
    Log(LogLevel::Always, kPluginLogGroup, "The queues cache is stale. The following queues have changed: %s",
        JoinQueueIds(changed).c_str());
    enabledQueueIds = std::move(ids);
    hasEnabledQueueIds = true;
    RefreshQueueCache();
}

void GameQueuesPlugin::OnQueuesRequiringTwentyChampions(PluginResourceEventType type,
                                                        const std::vector<int32_t>& ids) {
    if (!TakesValue(type)) {
        return;
    }
    queuesRequiringTwentyChampions = ids;
    RefreshQueueCache();
}

void GameQueuesPlugin::OnQueueRestriction(PluginResourceEventType type, const BindingProperty& value) {
    if (TakesValue(type)) {
        queueRestriction = value;  // read by the next queue build
    }
}

void GameQueuesPlugin::OnPracticeGameEnabled(PluginResourceEventType type, bool enabled) {
    if (!TakesValue(type)) {
        return;
    }
    practiceGameEnabled = enabled;
    hasPracticeGameEnabled = true;
    RefreshCustomGame();
}

void GameQueuesPlugin::OnEnabledMaps(PluginResourceEventType type,
                                     const std::vector<Api::PlatformConfigEnabledMap>& maps) {
    if (!TakesValue(type)) {
        return;
    }
    enabledMaps.clear();
    for (const Api::PlatformConfigEnabledMap& map : maps) {
        enabledMaps.push_back(map.gameMapId);
    }
    hasEnabledMaps = true;
    RefreshCustomGame();
}

void GameQueuesPlugin::OnEnabledModes(PluginResourceEventType type, const std::vector<std::string>& modes) {
    if (!TakesValue(type)) {
        return;
    }
    enabledModes = modes;
    hasEnabledModes = true;
    RefreshCustomGame();
}

void GameQueuesPlugin::OnEnabledMutators(PluginResourceEventType type,
                                         const std::vector<std::string>& mutators) {
    if (!TakesValue(type)) {
        return;
    }
    enabledMutators = mutators;
    hasEnabledMutators = true;
    RefreshCustomGame();
}

void GameQueuesPlugin::OnEnabledAssetMutators(PluginResourceEventType type,
                                              const std::vector<std::string>& mutators) {
    if (!TakesValue(type)) {
        return;
    }
    enabledAssetMutators = std::unordered_set<std::string>(mutators.begin(), mutators.end());
    hasEnabledAssetMutators = true;
    RefreshQueueCache();
}

void GameQueuesPlugin::OnPracticeGameTypeConfigIds(PluginResourceEventType type,
                                                   const std::vector<uint32_t>& ids) {
    if (!TakesValue(type)) {
        return;
    }
    practiceGameTypeConfigIds = ids;
    std::sort(practiceGameTypeConfigIds.begin(), practiceGameTypeConfigIds.end());
    hasPracticeGameTypeConfigIds = true;
    RefreshCustomGame();
}

void GameQueuesPlugin::OnGameServerRegions(PluginResourceEventType type,
                                           const std::vector<std::string>& regions) {
    if (!TakesValue(type)) {
        return;
    }
    const bool wasEmpty = gameServerRegions.empty();
    gameServerRegions.clear();
    for (const std::string& region : regions) {
        if (!region.empty()) {
            gameServerRegions.push_back(region);
        }
    }
    if (wasEmpty && gameServerRegions.empty()) {
        Log(LogLevel::Always, kPluginLogGroup,
            "Game server regions configuration received, but was ignored because prior and current version "
            "are "
            "empty");
        return;
    }
    Log(LogLevel::Always, kPluginLogGroup, "Game server regions configuration received.");
    RefreshCustomGame();
}

void GameQueuesPlugin::OnPracticeToolMaxPlayers(PluginResourceEventType type, uint32_t maxPlayers) {
    if (!TakesValue(type)) {
        return;
    }
    practiceToolMaxPlayers = maxPlayers;
    Log(LogLevel::Always, kPluginLogGroup, "Practice Tool player count limit configuration received: %u",
        maxPlayers);
    RefreshCustomGame();
}

void GameQueuesPlugin::OnObservableGameModes(PluginResourceEventType type,
                                             const std::vector<std::string>& modes) {
    if (!TakesValue(type)) {
        return;
    }
    observableGameModes = modes;
    Log(LogLevel::Always, kPluginLogGroup, "Spectator queue type configuration received.");
    RefreshQueueCache();
}

void GameQueuesPlugin::OnObservableCustomGameModes(PluginResourceEventType type,
                                                   Lcds::AllowSpectators setting) {
    if (!TakesValue(type)) {
        return;
    }
    customGameSpectatorPolicies = SpectatorPoliciesFor(setting);
    Log(LogLevel::Always, kPluginLogGroup, "Custom spectator policy configuration received.");
    RefreshCustomGame();
}

void GameQueuesPlugin::OnObserverModeEnabled(PluginResourceEventType type, bool enabled) {
    if (!TakesValue(type)) {
        return;
    }
    observerModeEnabled = enabled;
    Log(LogLevel::Always, kPluginLogGroup, "Spectator enabled in platform configuration recieved: %s",
        enabled ? "ENABLED" : "DISABLED");
    RefreshQueueCache();
    RefreshCustomGame();
}

void GameQueuesPlugin::OnSpectatorSlotLimit(PluginResourceEventType type, uint32_t limit) {
    if (!TakesValue(type)) {
        return;
    }
    spectatorSlotLimit = limit;
    Log(LogLevel::Always, kPluginLogGroup, "Spectator slot limit configuration received: %u", limit);
    RefreshCustomGame();
}

}  // namespace Brix::Client::GameQueues
