// queue_builder.h - turning the matchmaker's queue definitions into published queues.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "binding/binding_property.h"
#include "binding/maybe_type.h"
#include "queues/model/matchmaker_records.h"
#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues {

// TextSet: a set of vocabulary texts (queue types, mutators), matched exactly.
using TextSet = std::unordered_set<std::string>;

// QueueBuildInputs: everything a queue build reads besides the matchmaker's records. The builder
// keeps no reference beyond the call; the caller's values must outlive it.
struct QueueBuildInputs {
    const TextSet& championPointQueueTypes;
    const Api::GameTypeConfigMap& gameTypeConfigs;
    bool observerModeEnabled;
    const std::vector<std::string>& observableQueueTypes;
    const std::vector<int32_t>& queuesRequiringTwentyChampions;
    const Api::QueueTranslationMap& translations;
    const BindingProperty& queueRestriction;  // the whole "QueueRestriction" settings namespace
    const TextSet& enabledAssetMutators;
    const std::vector<int32_t>& enabledQueueIds;
    bool hasEnabledQueueIds;  // the enabled queue list has arrived and overrides the queue states
};

// SpectatingOn: observer mode is on and the observable list is neither empty nor holds "NONE".
bool SpectatingOn(bool observerModeEnabled, const std::vector<std::string>& observableQueueTypes);

// BuildQueue turns one matchmaker queue into a published queue. spectatingOn is worked out once per
// list (SpectatingOn); the enabled queue list of the inputs is not applied here. Logs a queue without
// maps or translations (error) and an unknown queue type (warning). Fails only on a malformed
// premade-size setting, with its message (see ParsePremadeSizes). It indexes the settings it looks
// queues up in for this one queue; BuildQueueList indexes them once for the whole list.
MaybeType<Api::Queue> BuildQueue(const Lcds::GameQueueConfig& matchmakerQueue, const QueueBuildInputs& inputs,
                                 bool spectatingOn);

// BuildQueueList builds one queue per matchmaker queue, in the matchmaker's order, then, once the
// enabled queue list has arrived, makes exactly the listed queues Available and every other one
// PlatformDisabled. The first failing queue ends the build with its failure.
MaybeType<std::vector<Api::Queue>> BuildQueueList(const std::vector<Lcds::GameQueueConfig>& matchmakerQueues,
                                                  const QueueBuildInputs& inputs);

}  // namespace Brix::Client::GameQueues
