// run_report.h - one whole run of the plugin on a scenario, and what it gave: the report that
// `hux-host run` prints as text or JSON.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"
#include "plugin_session.h"
#include "scenario.h"
#include "value_summary.h"

namespace HuxHost {

// LoggedLine is one line the plugin logged.
struct LoggedLine {
    int32_t level = 0;
    std::string message;
};

// PublishedEvent is one event the plugin sent.
struct PublishedEvent {
    std::string name;
    std::string uri;
    std::string eventType;
    std::string summary;
    std::optional<QueueCounts> queues;  // for a queue list
};

// RouteResult is the answer of one of the plugin's routes.
struct RouteResult {
    std::string pathTemplate;
    std::string url;
    uint32_t status = 0;
    std::optional<std::string> error;
    std::string summary;  // of the answer, or its error
};

// kListedEntries bounds the log lines and the events a report lists: a long timeline is counted whole,
// but only its first lines and events are kept.
inline constexpr std::size_t kListedEntries = 1000;

// RunReport is everything a run shows, in the order it is shown.
struct RunReport {
    std::string pluginPath;
    std::string shortName;
    std::string version;
    uint32_t endpointCount = 0;
    std::string scenarioSource;
    std::string scenarioDescription;
    bool started = false;
    std::size_t timelineSteps = 0;
    std::size_t timelineUnfollowed = 0;  // steps whose resource the plugin does not follow
    std::size_t yields = 0;              // turns the plugin gave the host's loop

    std::vector<LoggedLine> log;         // the first kListedEntries lines
    std::size_t logLines = 0;            // every line logged
    std::vector<PublishedEvent> events;  // the first kListedEntries events, summarized
    std::size_t eventsSent = 0;          // every event sent
    bool queuesPublished = false;
    std::vector<QueueRow> queues;  // the last published queue list
    std::vector<RouteResult> routes;
    MemoryStats beforeStop;
    MemoryStats afterStop;
};

// RunScenario starts the plugin of session on scenario, delivers the timeline, calls every GET route of
// the endpoint table (a path parameter filled from the first published queue: its id, type, game type
// configuration id and map id; without a published queue, from the scenario's first queue definition)
// and stops the plugin. A plugin that refuses to start is stopped at
// once; the report then holds what it logged and `started` is false. The host's records are read and
// dropped after Start and after each step, so that a run keeps summaries, not every event's payload.
RunReport RunScenario(PluginSession& session, const Scenario& scenario);

// LevelName is the name of a log level: "OKAY", "WARN", "ERROR", "ALWAYS", or its number.
std::string LevelName(int32_t level);

// SampleUrl fills the "{name}" groups of a path template from a queue.
std::string SampleUrl(std::string_view pathTemplate, const Brix::BindingProperty& queue);

}  // namespace HuxHost
