// enabled_queue_changes.h - what changed between two sorted lists of enabled queue ids.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Brix::Client::GameQueues {

// SortedSymmetricDifference is every id that occurs in one of two ascending lists more often than
// in the other, ascending: equal elements are stepped past together, otherwise the smaller is
// emitted, and whatever remains of either list at the end is emitted.
std::vector<int32_t> SortedSymmetricDifference(const std::vector<int32_t>& left,
                                               const std::vector<int32_t>& right);

// JoinQueueIds renders ids in decimal, joined by ", " ("2, 4"; empty for no ids).
std::string JoinQueueIds(const std::vector<int32_t>& ids);

}  // namespace Brix::Client::GameQueues
