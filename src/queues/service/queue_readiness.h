// queue_readiness.h - which inputs the queue list still waits for, and the warning that names them.
#pragma once

namespace Brix::Client::GameQueues {

// QueueReadiness: the queue-list inputs that have arrived, and whether the platform has finished its
// first delivery (after which missing inputs keep their defaults).
struct QueueReadiness {
    bool hasGameTypeConfigs = false;
    bool hasEnabledQueueIds = false;
    bool hasEnabledAssetMutators = false;
    bool initialConfigurationComplete = false;
};

// QueueListReady: all three inputs have arrived, or the initial configuration is complete.
bool QueueListReady(const QueueReadiness& readiness) noexcept;

// LogQueuesNotReady writes "Queues configuration is not available yet:" followed by the missing
// inputs that have a name (the asset mutators have none).
void LogQueuesNotReady(const QueueReadiness& readiness) noexcept;

}  // namespace Brix::Client::GameQueues
