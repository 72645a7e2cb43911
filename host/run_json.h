// run_json.h - the report of `hux-host run --json`: one machine-readable document.
#pragma once

#include <cstdint>
#include <string>

#include "binding/binding_property.h"
#include "run_report.h"

namespace HuxHost {

// kRunJsonFormat is the version of the document's layout, its "format" member: it grows when a member
// changes meaning or goes away.
inline constexpr uint32_t kRunJsonFormat = 1;

// RunJson is the report as one object, without its "format":
//     {"plugin": {"path", "shortName", "version", "endpoints"},
//      "scenario": {"source", "description", "timelineSteps", "timelineUnfollowed"},
//      "started": bool, "yields": n,
//      "logLines": n, "logLevel": name, "lateTranslationErrors": n,
//      "log": [{"level", "levelName", "message", "count"}] (the distinct lines of logLevel and worse,
//                among the first 1000 distinct ones),
//      "eventsSent": n, "events": [{"name", "eventType", "uri", "summary", ("queues", "available")}]
//                (the first 1000 events),
//      "queues": [{"id", "type", "mapId", "gameMode", "category", "queueAvailability", "name"}] or null
//                when no queue list was published,
//      "routes": [{"path", "url", "status", ("error"), "summary", ("body")}] (the body with
//                options.bodies, when the answer had one),
//      "memory": {"beforeStop", "afterStop"}: {"bytesInUse", "blocksInUse", "allocations", "releases",
//                "bytesAllocated", "bytesReleased", "peakBytes", "peakBlocks"}}
Brix::BindingProperty RunJson(const RunReport& report, const ReportOptions& options);

// RunJsonText is RunJson's object as indented JSON text, its first member "format": kRunJsonFormat (the
// others follow in ascending order of their names), ended by a line feed.
std::string RunJsonText(const RunReport& report, const ReportOptions& options);

}  // namespace HuxHost
