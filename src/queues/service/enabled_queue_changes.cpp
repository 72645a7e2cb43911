// enabled_queue_changes.cpp - sorted symmetric difference and rendering of queue id lists.
#include "queues/service/enabled_queue_changes.h"

#include <algorithm>
#include <iterator>

namespace Brix::Client::GameQueues {

std::vector<int32_t> SortedSymmetricDifference(const std::vector<int32_t>& left,
                                               const std::vector<int32_t>& right) {
    std::vector<int32_t> difference;
    std::set_symmetric_difference(left.begin(), left.end(), right.begin(), right.end(),
                                  std::back_inserter(difference));
    return difference;
}

std::string JoinQueueIds(const std::vector<int32_t>& ids) {
    std::string text;
    for (int32_t id : ids) {
        if (!text.empty()) {
            text += ", ";
        }
        text += std::to_string(id);
    }
    return text;
}

}  // namespace Brix::Client::GameQueues
