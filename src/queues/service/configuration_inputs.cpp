// configuration_inputs.cpp - the nineteen configuration resources the service follows: the table of
// what each update stores, logs and triggers, and the handlers of the inputs with logic of their own.
#include <algorithm>
#include <functional>
#include <string>
#include <type_traits>

#include "logging/logger.h"
#include "queues/service/comma_separated_set.h"
#include "queues/service/enabled_queue_changes.h"
#include "queues/service/game_queues_plugin.h"
#include "queues/service/observer_policies.h"

namespace Brix::Client::GameQueues {

namespace {

using P = GameQueuesPlugin;
using Gates = P::ConfigurationInput::Gates;
using Delete = P::ConfigurationInput::Delete;

// ValueOf names the type an input takes its value as, from its handler, its conversion or its member.
template <class Value>
std::remove_cvref_t<Value> ValueOf(bool (P::*)(PluginResourceEventType, Value));
template <class Value>
std::remove_cvref_t<Value> ValueOf(bool (*)(P&, PluginResourceEventType, Value));
template <class Result, class Value>
std::remove_cvref_t<Value> ValueOf(Result (*)(Value));
template <class Member>
Member ValueOf(Member P::*);

// Keep and Convert are the handlers of the inputs that store their value in member, as it comes or
// converted.
template <auto member>
bool Keep(P& plugin, PluginResourceEventType /*type*/, const decltype(ValueOf(member))& value) {
    plugin.*member = value;
    return true;
}
template <auto member, auto convert>
bool Convert(P& plugin, PluginResourceEventType /*type*/, const decltype(ValueOf(convert))& value) {
    plugin.*member = convert(value);
    return true;
}

// LogReceived writes an input's log line: a number fills its %u, a flag its %s.
template <class Value>
void LogReceived(const char* line, const Value& value) {
    if constexpr (std::is_same_v<Value, bool>) {
        Log(LogLevel::Always, kPluginLogGroup, line, value ? "ENABLED" : "DISABLED");
    } else if constexpr (std::is_same_v<Value, uint32_t>) {
        Log(LogLevel::Always, kPluginLogGroup, line, value);
    } else {
        Log(LogLevel::Always, kPluginLogGroup, "%s", line);
    }
}

// The conversions of the inputs that do not store their value as it comes.
Api::GameTypeConfigMap ById(const std::vector<Api::QueueGameTypeConfig>& configs) {
    Api::GameTypeConfigMap byId;
    for (const Api::QueueGameTypeConfig& config : configs) {
        byId.insert_or_assign(config.id, config);
    }
    return byId;
}

std::vector<int32_t> MapIds(const std::vector<Api::PlatformConfigEnabledMap>& maps) {
    std::vector<int32_t> ids;
    ids.reserve(maps.size());
    for (const Api::PlatformConfigEnabledMap& map : maps) {
        ids.push_back(map.gameMapId);
    }
    return ids;
}

std::unordered_set<std::string> AsSet(const std::vector<std::string>& names) {
    return {names.begin(), names.end()};
}

std::vector<uint32_t> Sorted(std::vector<uint32_t> ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}

}  // namespace

template <auto handler>
void GameQueuesPlugin::Through(GameQueuesPlugin& plugin, const ConfigurationInput& input) {
    using Value = decltype(ValueOf(handler));
    plugin.ObserveResource<Value>(
        input.uri, [&plugin, &input](PluginResourceEventType type, const Value& value) {
            const bool takesValue =
                type == PluginResourceEventType::Create || type == PluginResourceEventType::Update;
            const bool clears = type == PluginResourceEventType::Delete && input.onDelete == Delete::Clears;
            if ((!takesValue && !clears) || !std::invoke(handler, plugin, type, value)) {
                return;
            }
            if (takesValue && input.ready != nullptr) {
                plugin.*input.ready = true;
            }
            if (input.logLine != nullptr) {
                LogReceived(input.logLine, value);
            }
            if (input.gates == Gates::Queue || input.gates == Gates::QueueThenCustom) {
                plugin.RefreshQueueCache();
            }
            if (input.gates == Gates::Custom || input.gates == Gates::QueueThenCustom) {
                plugin.RefreshCustomGame();
            }
        });
}

template <auto member, auto convert>
void GameQueuesPlugin::Into(GameQueuesPlugin& plugin, const ConfigurationInput& input) {
    if constexpr (std::is_null_pointer_v<decltype(convert)>) {
        Through<&Keep<member>>(plugin, input);
    } else {
        Through<&Convert<member, convert>>(plugin, input);
    }
}

// clang-format off
const std::array<P::ConfigurationInput, 19> GameQueuesPlugin::configurationInputs = {{
    // {URI, event name,
    //  how a value is taken in, readiness flag, gates, Delete, log line}
    {"/hux-login/v1/session", "OnJsonApiEvent_hux-login_v1_session",
     Through<&P::OnLoginSession>, nullptr, Gates::None, Delete::Clears},
    {"/hux-platform-config/v1/initial-configuration-complete",
     "OnJsonApiEvent_hux-platform-config_v1_initial-configuration-complete",
     Through<&P::OnInitialConfigurationComplete>, nullptr, Gates::QueueThenCustom, Delete::Clears},
    {"/hux-platform-config/v1/namespaces/ChampionMasteryConfig/ChampionPointQueueTypes",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ChampionMasteryConfig_ChampionPointQueueTypes",
     Through<&P::OnChampionPointQueueTypes>, nullptr, Gates::Queue, Delete::Clears},
    {"/hux-platform-config/v1/namespaces/LoginDataPacket/gameTypeConfigs",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_LoginDataPacket_gameTypeConfigs",
     Into<&P::gameTypeConfigs, ById>, &P::hasGameTypeConfigs, Gates::QueueThenCustom},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/enabledQueueIdsList",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_enabledQueueIdsList",
     Through<&P::OnEnabledQueueIds>, &P::hasEnabledQueueIds, Gates::Queue},
    {"/hux-platform-config/v1/namespaces/QueueRestriction/QueuesRequiringTwentyChampions",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_QueueRestriction_QueuesRequiringTwentyChampions",
     Into<&P::queuesRequiringTwentyChampions>, nullptr, Gates::Queue},
    // The restrictions are read by the next queue build.
    {"/hux-platform-config/v1/namespaces/QueueRestriction",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_QueueRestriction",
     Into<&P::queueRestriction>, nullptr, Gates::None},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/practiceGameEnabled",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_practiceGameEnabled",
     Into<&P::practiceGameEnabled>, &P::hasPracticeGameEnabled, Gates::Custom},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/gameMapEnabledDTOList",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_gameMapEnabledDTOList",
     Into<&P::enabledMaps, MapIds>, &P::hasEnabledMaps, Gates::Custom},
    {"/hux-platform-config/v1/namespaces/Mutators/EnabledModes",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_Mutators_EnabledModes",
     Into<&P::enabledModes>, &P::hasEnabledModes, Gates::Custom},
    {"/hux-platform-config/v1/namespaces/Mutators/EnabledMutators",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_Mutators_EnabledMutators",
     Into<&P::enabledMutators>, &P::hasEnabledMutators, Gates::Custom},
    {"/hux-platform-config/v1/namespaces/Mutators/EnabledAssetMutators",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_Mutators_EnabledAssetMutators",
     Into<&P::enabledAssetMutators, AsSet>, &P::hasEnabledAssetMutators, Gates::Queue},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/practiceGameTypeConfigIdList",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_practiceGameTypeConfigIdList",
     Into<&P::practiceGameTypeConfigIds, Sorted>, &P::hasPracticeGameTypeConfigIds, Gates::Custom},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/knownGeographicGameServerRegions",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_knownGeographicGameServerRegions",
     Through<&P::OnGameServerRegions>, nullptr, Gates::Custom},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/MaxNumPlayersForPracticeToolGame",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_MaxNumPlayersForPracticeToolGame",
     Into<&P::practiceToolMaxPlayers>, nullptr, Gates::Custom, Delete::Ignored,
     "Practice Tool player count limit configuration received: %u"},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/observableGameModes",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_observableGameModes",
     Into<&P::observableGameModes>, nullptr, Gates::Queue, Delete::Ignored,
     "Spectator queue type configuration received."},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/observableCustomGameModes",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_observableCustomGameModes",
     Into<&P::customGameSpectatorPolicies, SpectatorPoliciesFor>, nullptr, Gates::Custom, Delete::Ignored,
     "Custom spectator policy configuration received."},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/observerModeEnabled",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_observerModeEnabled",
     Into<&P::observerModeEnabled>, nullptr, Gates::QueueThenCustom, Delete::Ignored,
     "Spectator enabled in platform configuration recieved: %s"},
    {"/hux-platform-config/v1/namespaces/ClientSystemStates/spectatorSlotLimit",
     "OnJsonApiEvent_hux-platform-config_v1_namespaces_ClientSystemStates_spectatorSlotLimit",
     Into<&P::spectatorSlotLimit>, nullptr, Gates::Custom, Delete::Ignored,
     "Spectator slot limit configuration received: %u"},
}};
// clang-format on

// A Delete brings a default session: logged out and not connected.
bool GameQueuesPlugin::OnLoginSession(PluginResourceEventType /*type*/, const Api::LoginSession& session) {
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
    return false;
}

// A Delete brings false.
bool GameQueuesPlugin::OnInitialConfigurationComplete(PluginResourceEventType type, bool complete) {
    if (type == PluginResourceEventType::Delete) {
        Log(LogLevel::Always, kPluginLogGroup, "Platform config's initial configuration has been deleted");
    } else if (!initialConfigurationComplete && complete) {
        LogQueuesNotReady();
        LogCustomGameNotReady();
        Log(LogLevel::Always, kPluginLogGroup,
            "Platform config's initial configuration is complete, any missing configuration will use "
            "defaults");
    }
    initialConfigurationComplete = complete;
    return true;
}

bool GameQueuesPlugin::OnChampionPointQueueTypes(PluginResourceEventType type, const BindingProperty& value) {
    if (type == PluginResourceEventType::Delete) {
        championPointQueueTypes.clear();
        return true;
    }
    std::unordered_set<std::string> queueTypes = SplitCommaSeparatedSet(value.ToText());
    if (queueTypes == championPointQueueTypes) {
        return false;
    }
    championPointQueueTypes = std::move(queueTypes);
    return true;
}

bool GameQueuesPlugin::OnEnabledQueueIds(PluginResourceEventType /*type*/, const BindingProperty& value) {
    std::vector<int32_t> ids;
    ConversionStatus status;
    ValueToNative(status, ids, value, "<value>", Registry());
    if (!status.Ok()) {
        Log(LogLevel::Error, kPluginLogGroup, "Unable to parse enabled queues, cannot update");
        return false;
    }
    std::sort(ids.begin(), ids.end());
    const std::vector<int32_t> changed = SortedSymmetricDifference(ids, enabledQueueIds);
    if (changed.empty() && hasEnabledQueueIds) {
        Log(LogLevel::Always, kPluginLogGroup,
            "Received an updated enabledQueueIdsList, but there are no changes.");
        return false;
    }
    Log(LogLevel::Always, kPluginLogGroup, "The queues cache is stale. The following queues have changed: %s",
        JoinQueueIds(changed).c_str());
    enabledQueueIds = std::move(ids);
    return true;
}

bool GameQueuesPlugin::OnGameServerRegions(PluginResourceEventType /*type*/,
                                           const std::vector<std::string>& regions) {
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
        return false;
    }
    Log(LogLevel::Always, kPluginLogGroup, "Game server regions configuration received.");
    return true;
}

}  // namespace Brix::Client::GameQueues
