// queue_cache.cpp - the readiness gates, the queue cache and its build.
#include "logging/logger.h"
#include "logging/message_formatter.h"
#include "queues/service/game_queues_plugin.h"

namespace Brix::Client::GameQueues {

namespace {

// BuildScope marks a running queue build for as long as it lives.
class BuildScope {
public:
    explicit BuildScope(bool& running) noexcept : flag(running) { flag = true; }
    BuildScope(const BuildScope&) = delete;
    BuildScope& operator=(const BuildScope&) = delete;
    ~BuildScope() { flag = false; }

private:
    bool& flag;
};

}  // namespace

QueueReadiness GameQueuesPlugin::QueueInputsReadiness() const noexcept {
    return {hasGameTypeConfigs, hasEnabledQueueIds, hasEnabledAssetMutators, initialConfigurationComplete};
}

CustomGameReadiness GameQueuesPlugin::CustomInputsReadiness() const noexcept {
    return {hasGameTypeConfigs, hasPracticeGameTypeConfigIds, hasPracticeGameEnabled,      hasEnabledMaps,
            hasEnabledModes,    hasEnabledMutators,           initialConfigurationComplete};
}

QueueBuildInputs GameQueuesPlugin::QueueInputs() const noexcept {
    return {championPointQueueTypes,
            gameTypeConfigs,
            observerModeEnabled,
            observableGameModes,
            queuesRequiringTwentyChampions,
            queueTranslations,
            queueRestriction,
            enabledAssetMutators,
            enabledQueueIds,
            hasEnabledQueueIds};
}

CustomGameInputs GameQueuesPlugin::CustomInputs() const noexcept {
    return {CustomInputsReadiness(),
            gameTypeConfigs,
            practiceGameTypeConfigIds,
            practiceGameEnabled,
            enabledMaps,
            enabledModes,
            enabledMutators,
            observerModeEnabled,
            customGameSpectatorPolicies,
            spectatorSlotLimit,
            practiceToolMaxPlayers,
            gameServerRegions};
}

void GameQueuesPlugin::LogQueuesNotReady() const noexcept {
    GameQueues::LogQueuesNotReady(QueueInputsReadiness());
}

void GameQueuesPlugin::LogCustomGameNotReady() const noexcept {
    GameQueues::LogCustomGameNotReady(CustomInputsReadiness());
}

void GameQueuesPlugin::RefreshQueueCache() {
    if (!QueueListReady(QueueInputsReadiness())) {
        LogQueuesNotReady();
        return;
    }
    if (queueBuildRunning) {
        // The running build waits for the matchmaker; it builds again once it has its answer.
        queueRefreshDeferred = true;
        return;
    }
    queueCache.clear();
    PublishQueues();
}

void GameQueuesPlugin::RefreshCustomGame() {
    if (CustomGameReady(CustomInputsReadiness())) {
        PublishCustomGame();
    } else {
        LogCustomGameNotReady();
    }
}

MaybeType<std::vector<Api::Queue>> GameQueuesPlugin::GetQueues() {
    MaybeType<void> ready = EnsureQueueCache();
    if (!ready) {
        return ready.Error();
    }
    return queueCache;
}

MaybeType<void> GameQueuesPlugin::EnsureQueueCache() {
    if (!QueueListReady(QueueInputsReadiness())) {
        LogQueuesNotReady();
        return InternalServerError(kMissingConfigurationData);
    }
    if (!queueCache.empty()) {
        return {};
    }
    if (queueBuildRunning) {
        // A request that arrives while the list is being built (the build waits for the matchmaker)
        // cannot wait for it on this thread.
        return InternalServerError("The queue list is being rebuilt");
    }
    const bool announce = !publishingQueues;
    bool deferredGate = false;
    MaybeType<void> built = BuildQueueCache();
    while (built && queueRefreshDeferred) {
        // A gate opened while the build waited: build once more from the inputs as they are now.
        queueRefreshDeferred = false;
        deferredGate = true;
        queueCache.clear();
        built = BuildQueueCache();
    }
    queueRefreshDeferred = false;
    if (!built) {
        return built.Error();
    }
    if (deferredGate && announce && !queueCache.empty()) {
        // The deferred gate would have announced its list; a build started by PublishQueues is
        // announced there.
        AnnounceQueues();
    }
    return {};
}

MaybeType<void> GameQueuesPlugin::BuildQueueCache() {
    BuildScope scope(queueBuildRunning);
    if (matchmakerQueueConfigs.empty()) {
        MaybeType<std::vector<Lcds::GameQueueConfig>> fetched = FetchQueues();
        if (!fetched) {
            return InternalServerError(
                FormatMessage("Error requesting available queues: %1", fetched.Error().Message()));
        }
        matchmakerQueueConfigs = std::move(fetched).Value();
    }
    MaybeType<std::vector<Api::Queue>> queues = BuildQueueList(matchmakerQueueConfigs, QueueInputs());
    if (!queues) {
        return queues.Error();
    }
    queueCache = std::move(queues).Value();
    return {};
}

}  // namespace Brix::Client::GameQueues
