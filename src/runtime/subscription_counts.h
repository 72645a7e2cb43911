// subscription_counts.h - how many subscriptions of each host event are not undone yet.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace Brix {

// SubscriptionCounts counts, per event name, the subscriptions not undone yet: only the first one of
// a name subscribes with the host, only the last one undone unsubscribes.
class SubscriptionCounts {
public:
    // Add counts one subscription of eventName and tells whether it is the first.
    bool Add(std::string_view eventName);
    // Remove undoes one subscription of eventName and tells whether it was the last; one with nothing
    // left to undo changes nothing and answers false.
    bool Remove(std::string_view eventName);
    uint32_t Count(std::string_view eventName) const;
    void Clear() noexcept { counts.clear(); }

private:
    std::map<std::string, uint32_t, std::less<>> counts;
};

}  // namespace Brix
