// comma_separated_set.cpp - splitting comma-separated text into a set of names.
#include "queues/service/comma_separated_set.h"

namespace Brix::Client::GameQueues {

std::unordered_set<std::string> SplitCommaSeparatedSet(std::string_view text) {
    std::unordered_set<std::string> names;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view piece = text.substr(0, comma);
        if (!piece.empty()) {
            names.emplace(piece);
        }
        if (comma == std::string_view::npos) {
            break;
        }
        text.remove_prefix(comma + 1);
    }
    return names;
}

}  // namespace Brix::Client::GameQueues
