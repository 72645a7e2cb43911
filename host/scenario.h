// scenario.h - a scenario: what the development host serves the plugin and what it delivers later.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "binding/binding_property.h"
#include "runtime/framework_types.h"

namespace HuxHost {

// MatchmakerAnswer is how the matchmaker answers the two queue-list calls: the compressed call with
// Base64 of gzip of the JSON list, only the plain call with the list (the compressed one is unknown to
// it), or both calls with an error.
enum class MatchmakerAnswer {
    Compressed,
    Plain,
    Failing,
};

// MatchmakerScript is the matchmaker of a scenario.
struct MatchmakerScript {
    MatchmakerAnswer answer = MatchmakerAnswer::Failing;
    Brix::BindingProperty queues;  // a collection of queue definitions, for Compressed and Plain
    // delayYields: the answer arrives as a stream whose first delayYields reads bring no bytes yet, so
    // the plugin gives the host that many turns of its loop before it has the list.
    uint32_t delayYields = 0;
    uint32_t errorStatus = 503;  // Failing: the status and message of both answers
    std::string errorMessage = "Service unavailable";
};

// TimelineStep is one resource change delivered after Start: an Update with a new value, or a Delete.
struct TimelineStep {
    Brix::PluginResourceEventType type = Brix::PluginResourceEventType::Update;
    std::string uri;
    Brix::BindingProperty value;
};

// Scenario is everything the host plays for the plugin. A scenario without a matchmaker leaves the
// matchmaker's calls unanswered (404 "Not found"); one without translations leaves their document
// unanswered the same way.
struct Scenario {
    std::string source;  // the file it came from, or "default" for the built-in one
    std::string description;
    std::vector<std::pair<std::string, Brix::BindingProperty>> resources;  // URI and value, by URI
    std::optional<MatchmakerScript> matchmaker;
    std::optional<Brix::BindingProperty> translations;
    std::vector<TimelineStep> timeline;
};

}  // namespace HuxHost
