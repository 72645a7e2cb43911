// queue_records_registration.h - registration of the published queue records and enums.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "binding/type_registry.h"

namespace Brix::Client::GameQueues::Api {

// RegisterApiRecords registers every published record and enum under namePrefix followed by its own
// name ("HuxGameQueues" + "Queue"), each carrying tags, in the order in which they depend on each
// other: QueueGameCategory, QueueAvailability, QueueReward, QueueGameTypeConfig, Queue,
// QueueTranslation, QueueCustomGameSpectatorPolicy, QueueCustomGameSubcategory, QueueCustomGame,
// PlatformConfigEnabledMap, LoginDataPacket, LoginSessionStates, LoginSession.
void RegisterApiRecords(TypeRegistry& registry, std::string_view namePrefix,
                        std::span<const std::string> tags);

}  // namespace Brix::Client::GameQueues::Api
