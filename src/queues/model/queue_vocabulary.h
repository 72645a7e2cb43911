// queue_vocabulary.h - the constant tables that interpret matchmaker queues: queue type to category,
// the pick strategies and maps that show a position selector.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues {

// QueueTypeCategory is one row of the queue type table.
using QueueTypeCategory = std::pair<std::string_view, Api::QueueGameCategory>;

// QueueTypeCategories lists every queue type the plugin knows, with its category.
std::span<const QueueTypeCategory> QueueTypeCategories() noexcept;

// FindQueueCategory is the category of queueType (exact, case-sensitive match), or nothing for a
// type outside the table.
std::optional<Api::QueueGameCategory> FindQueueCategory(std::string_view queueType) noexcept;

// ShowsPositionSelector is true only for a pick strategy that lets players choose positions
// ("DraftModeSinglePickStrategy", "TeamBuilderDraftPickStrategy") on a map that has positions (11).
bool ShowsPositionSelector(std::string_view pickMode, int32_t mapId) noexcept;

}  // namespace Brix::Client::GameQueues
