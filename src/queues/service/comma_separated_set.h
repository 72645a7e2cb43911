// comma_separated_set.h - a set of names from a platform value written as comma-separated text.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

namespace Brix::Client::GameQueues {

// SplitCommaSeparatedSet splits text at every comma; empty pieces are dropped and no piece is trimmed
// ("A,,B" gives A and B, " A" stays " A").
std::unordered_set<std::string> SplitCommaSeparatedSet(std::string_view text);

}  // namespace Brix::Client::GameQueues
