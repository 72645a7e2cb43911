// subscription_counts.cpp - counting subscriptions per event name.
#include "runtime/subscription_counts.h"

namespace Brix {

bool SubscriptionCounts::Add(std::string_view eventName) {
    auto counted = counts.find(eventName);
    if (counted == counts.end()) {
        counted = counts.emplace(std::string(eventName), 0).first;
    }
    return ++counted->second == 1;
}

bool SubscriptionCounts::Remove(std::string_view eventName) {
    auto counted = counts.find(eventName);
    if (counted == counts.end()) {
        return false;
    }
    if (--counted->second > 0) {
        return false;
    }
    counts.erase(counted);
    return true;
}

uint32_t SubscriptionCounts::Count(std::string_view eventName) const {
    auto counted = counts.find(eventName);
    return counted == counts.end() ? 0 : counted->second;
}

}  // namespace Brix
