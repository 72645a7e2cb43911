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

// LoggedLine is one line the plugin logged, with how many times it logged it at that level.
struct LoggedLine {
    int32_t level = 0;
    std::string message;
    std::size_t count = 1;
};

// kLevelWarn and kLevelError are the levels of WARN and ERROR lines; a report shows lines of WARN and
// worse unless told otherwise.
inline constexpr int32_t kLevelWarn = 1;
inline constexpr int32_t kLevelError = 2;

// ReportOptions is how much of a report is shown: the log lines of logLevel and worse; with quiet, the
// tables alone (text); with bodies, each route's answer body too (JSON).
struct ReportOptions {
    int32_t logLevel = kLevelWarn;
    bool quiet = false;
    bool bodies = false;
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
    std::string summary;                        // of the answer, or its error
    std::optional<Brix::BindingProperty> body;  // the answer's body, when it had a readable one
};

// kListedEntries bounds the distinct log lines and the events a report lists: a long timeline is counted
// whole, but only its first distinct lines and first events are kept.
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

    std::vector<LoggedLine> log;  // the first kListedEntries distinct lines, each with its count
    std::size_t logLines = 0;     // every line logged
    // lateTranslationErrors counts the ERROR lines "Translations not found for queue id N." of queues
    // named in the last published list: the plugin built a list before the translations loaded. They
    // are counted here instead of listed in log.
    std::size_t lateTranslationErrors = 0;
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
