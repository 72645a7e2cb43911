// queue_readiness.cpp - the queue-list readiness rule and its warning.
#include "queues/service/queue_readiness.h"

#include "logging/logger.h"

namespace Brix::Client::GameQueues {

bool QueueListReady(const QueueReadiness& readiness) noexcept {
    return (readiness.hasGameTypeConfigs && readiness.hasEnabledQueueIds &&
            readiness.hasEnabledAssetMutators) ||
           readiness.initialConfigurationComplete;
}

void LogQueuesNotReady(const QueueReadiness& readiness) noexcept {
    Log(LogLevel::Warn, kPluginLogGroup, "Queues configuration is not available yet:%s%s",
        readiness.hasGameTypeConfigs ? "" : " (Game Type Configs)",
        readiness.hasEnabledQueueIds ? "" : " (Platform Enabled Queues)");
}

}  // namespace Brix::Client::GameQueues
