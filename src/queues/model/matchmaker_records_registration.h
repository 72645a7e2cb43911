// matchmaker_records_registration.h - registration of the matchmaker records and their wire classes.
#pragma once

#include <span>
#include <string>

#include "binding/type_registry.h"
#include "binding/wire_class_names.h"

namespace Brix::Client::GameQueues::Lcds {

// RegisterLcdsRecords registers GameQueuesLcdsMatchingThrottleConfig, GameQueuesLcdsGameQueueConfig
// and GameQueuesLcdsAllowSpectators, in that order, each carrying tags. Before each type it enters the
// type's wire class name in wireClasses, by binding name and by static type identity.
void RegisterLcdsRecords(TypeRegistry& registry, WireClassNames& wireClasses,
                         std::span<const std::string> tags);

}  // namespace Brix::Client::GameQueues::Lcds
