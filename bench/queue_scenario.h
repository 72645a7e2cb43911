// queue_scenario.h - the benchmarks' data: a live platform's queue list and inputs, in every form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "binding/binding_property.h"
#include "binding/type_registry.h"
#include "queues/model/matchmaker_records.h"
#include "queues/model/queue_builder.h"
#include "queues/model/queue_records.h"

namespace Brix::Bench {

namespace GameQueues = Client::GameQueues;

// kRecordedQueueCount is the number of queues the recorded platform offers; kLargeQueueCount the size
// of the larger list that the readers and conversions are measured on (the queue list build goes on to
// 10,000 queues).
inline constexpr std::size_t kRecordedQueueCount = 41;
inline constexpr std::size_t kLargeQueueCount = 1000;

// QueueScenario is one matchmaker queue list with the platform settings it is built with, read from
// the recorded platform in data/platform_scenario.json. A list longer than the recording repeats its
// queues under fresh ids (the id plus 10000 per round), each with the translation, enabled state and
// restrictions of the queue it repeats, so that every size builds the same mix of queues.
struct QueueScenario {
    // The matchmaker's answer in each form the plugin meets it in.
    BindingProperty queueList;     // the list as a generic value
    std::string json;              // compact JSON text, as the compressed answer carries it
    std::string msgPack;           // MessagePack bytes
    std::string yaml;              // block-style YAML text
    std::string gzip;              // gzip of json
    std::string compressedAnswer;  // Base64 of gzip, the answer of "getAllQueuesCompressed"

    std::vector<GameQueues::Lcds::GameQueueConfig> matchmakerQueues;
    std::vector<GameQueues::Api::Queue> queues;  // the published list built from them

    // The platform settings a queue build reads.
    GameQueues::TextSet championPointQueueTypes;
    GameQueues::Api::GameTypeConfigMap gameTypeConfigs;
    bool observerModeEnabled = false;
    std::vector<std::string> observableQueueTypes;
    std::vector<int32_t> queuesRequiringTwentyChampions;
    GameQueues::Api::QueueTranslationMap translations;
    BindingProperty queueRestriction;
    GameQueues::TextSet enabledAssetMutators;
    std::vector<int32_t> enabledQueueIds;

    GameQueues::QueueBuildInputs Inputs() const;
};

// Scenario is the scenario with queueCount queues, made on first use and kept; a recording that is
// missing or inconsistent ends the process with a message, since no benchmark result would mean
// anything then.
const QueueScenario& Scenario(std::size_t queueCount);

// QueueRegistry is a registry holding the matchmaker and the published records as the plugin
// registers them.
const TypeRegistry& QueueRegistry();

}  // namespace Brix::Bench
