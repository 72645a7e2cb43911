// scenario_script.h - a scenario turned into the development host's scripts and deliveries.
#pragma once

#include <string_view>

#include "dev_host.h"
#include "scenario.h"

namespace HuxHost {

// The resources and calls a scenario scripts besides its own resources.
inline constexpr std::string_view kTranslationsUri = "/hux-game-data/assets/v1/queues.json";
inline constexpr std::string_view kMatchmakerDestination = "matchmakerService";
inline constexpr std::string_view kCompressedQueuesMethod = "getAllQueuesCompressed";
inline constexpr std::string_view kPlainQueuesMethod = "getAllQueues";

// ScriptScenario makes host answer as scenario says: every resource on a GET of its URI, the
// translations document on its GET, and the matchmaker's two queue-list calls:
//   compressed: getAllQueuesCompressed with Base64 of gzip of the list's JSON ("java.lang.String"), and
//               getAllQueues with the list itself ("java.util.ArrayList"), as a real matchmaker offers both;
//   plain:      getAllQueues only; the compressed call is unknown (404 "Not found");
//   failing:    both calls with the scenario's error status and message.
// With a delay, each answer with a list is streamed and its first delayYields reads bring no bytes.
void ScriptScenario(const Scenario& scenario, DevHost& host);

// PlayStep delivers one timeline step to the plugin, after changing the host's own copy of the resource
// so that a later GET of it agrees with the event; answers whether the plugin follows the resource.
bool PlayStep(const TimelineStep& step, DevHost& host);

}  // namespace HuxHost
