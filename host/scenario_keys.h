// scenario_keys.h - finding a key given twice in one object of a scenario text, which the readers
// would otherwise merge without a word.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scenario_loader.h"

namespace HuxHost {

// RepeatedKey is a key found twice in one object, and the place of that object ("matchmaker.queues[2]",
// empty for the document itself).
struct RepeatedKey {
    std::string place;
    std::string key;
};

// FindRepeatedKey answers the first key that appears twice in one object (a JSON object or a YAML
// mapping) of text, which the reader of format has already read without error.
std::optional<RepeatedKey> FindRepeatedKey(std::string_view text, ScenarioFormat format);

// PlaceOfKey is the place of the member key of the object at place: dotted for a plain name,
// ["key"] for any other.
std::string PlaceOfKey(std::string_view place, std::string_view key);

}  // namespace HuxHost
