// scenario_loader.h - reading a scenario from JSON or YAML text, checking all of it first.
#pragma once

#include <string>
#include <string_view>

#include "binding/maybe_type.h"
#include "scenario.h"

namespace HuxHost {

// ScenarioFormat is the notation of a scenario text.
enum class ScenarioFormat {
    Json,
    Yaml,
};

// FormatOfPath is Yaml for a name ending in ".yaml" or ".yml", Json otherwise.
ScenarioFormat FormatOfPath(std::string_view path);

// ParseScenario reads and checks a whole scenario text; source names it in every message. A failure
// carries one message naming the source, the place and the problem, and no scenario:
//     "bad.json:3:14: Missing a comma or '}' after an object member."   (a syntax error: line, column)
//     "bad.yaml: matchmaker.answer: expected \"compressed\", \"plain\" or \"failing\", found \"zip\""
// The document is an object with the keys "description" (text), "resources" (an object of resource
// URI to value), "matchmaker" ({"answer", "queues", "delayYields", "error": {"status", "message"}}),
// "translations" (an object) and "timeline" (a list of {"update": uri, "value": v} or
// {"delete": uri}); unknown keys are refused, so that a misspelt key does not go unnoticed.
Brix::MaybeType<Scenario> ParseScenario(std::string_view text, std::string_view source,
                                        ScenarioFormat format);

// LoadScenarioFile reads the file at path and parses it in the format its name says. Only a regular file
// of at most 64 MiB is read: a folder, a device or a pipe is refused at once, and so is a larger file.
Brix::MaybeType<Scenario> LoadScenarioFile(const std::string& path);

}  // namespace HuxHost
