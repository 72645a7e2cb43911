// queue_endpoints.cpp - the route handlers and the update events of the queue list and custom games.
#include "logging/logger.h"
#include "logging/message_formatter.h"
#include "queues/service/game_queues_plugin.h"

namespace Brix::Client::GameQueues {

MaybeType<Api::Queue> GameQueuesPlugin::GetQueueById(int32_t id) {
    MaybeType<void> ready = EnsureQueueCache();
    if (!ready) {
        return InternalServerError(ready.Error().Message());
    }
    for (const Api::Queue& queue : queueCache) {
        if (queue.id == id) {
            return queue;
        }
    }
    Log(LogLevel::Warn, kPluginLogGroup, "No queue found with id %d", id);
    return NotFound(FormatMessage("No queue found with id %1", id));
}

MaybeType<Api::Queue> GameQueuesPlugin::GetQueueByType(const std::string& queueType) {
    MaybeType<void> ready = EnsureQueueCache();
    if (!ready) {
        return InternalServerError(ready.Error().Message());
    }
    for (const Api::Queue& queue : queueCache) {
        if (queue.type == queueType) {
            return queue;
        }
    }
    Log(LogLevel::Warn, kPluginLogGroup, "No queue found with queue type %s", queueType.c_str());
    return NotFound(FormatMessage("No queue found with type %1", queueType));
}

MaybeType<Api::QueueCustomGame> GameQueuesPlugin::GetCustomGame() {
    return BuildCustomGame(CustomInputs(), mapGameTypeConfigs);
}

MaybeType<Api::QueueCustomGame> GameQueuesPlugin::GetCustomGameNonDefault() {
    return BuildNonDefaultCustomGame(CustomInputs());
}

MaybeType<Api::QueueGameTypeConfig> GameQueuesPlugin::GetGameTypeConfig(uint32_t gameTypeConfigId) {
    auto found = gameTypeConfigs.find(int64_t{gameTypeConfigId});
    if (found == gameTypeConfigs.end()) {
        return NotFound(FormatMessage("No game type config found with id %1", gameTypeConfigId));
    }
    return found->second;
}

MaybeType<Api::QueueGameTypeConfig> GameQueuesPlugin::GetGameTypeConfigForMap(uint32_t gameTypeConfigId,
                                                                              int32_t mapId) {
    const Api::QueueGameTypeConfig* config =
        FindGameTypeConfigForMap(gameTypeConfigs, mapGameTypeConfigs, gameTypeConfigId, mapId);
    if (config == nullptr) {
        return NotFound(FormatMessage("No game type config found with id %1", gameTypeConfigId));
    }
    return *config;
}

void GameQueuesPlugin::PublishQueues() {
    if (!queueCache.empty()) {
        return;
    }
    if (queueBuildRunning) {
        // Called from inside a running build's wait (a reconnect, say): that build runs once more
        // and announces its list.
        queueRefreshDeferred = true;
        return;
    }
    const bool outer = !publishingQueues;
    publishingQueues = true;
    MaybeType<void> ready = EnsureQueueCache();
    publishingQueues = !outer;
    if (!ready) {
        Log(LogLevel::Error, kPluginLogGroup, "Failed to get queues: %s", ready.Error().Message().c_str());
        return;
    }
    AnnounceQueues();
}

void GameQueuesPlugin::AnnounceQueues() {
    Log(LogLevel::Always, kPluginLogGroup, "Queues configuration has been updated");
    PublishResourceUpdate(kQueuesUri, queueCache);
}

void GameQueuesPlugin::PublishCustomGame() {
    mapGameTypeConfigs = BuildMapGameTypeConfigs(CustomInputs());
    MaybeType<Api::QueueCustomGame> custom = GetCustomGame();
    if (custom) {
        Log(LogLevel::Always, kPluginLogGroup, "Custom game configuration has been updated");
        PublishResourceUpdate(kCustomGameUri, custom.Value());
    }
    MaybeType<Api::QueueCustomGame> nonDefault = GetCustomGameNonDefault();
    if (nonDefault) {
        Log(LogLevel::Always, kPluginLogGroup, "Non default custom game configuration has been updated");
        PublishResourceUpdate(kCustomGameNonDefaultUri, nonDefault.Value());
    }
}

}  // namespace Brix::Client::GameQueues
