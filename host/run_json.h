// run_json.h - the report of `hux-host run --json`: one machine-readable document.
#pragma once

#include "binding/binding_property.h"
#include "run_report.h"

namespace HuxHost {

// RunJson is the report as one object:
//     {"plugin": {"path", "shortName", "version", "endpoints"},
//      "scenario": {"source", "description", "timelineSteps", "timelineUnfollowed"},
//      "started": bool, "yields": n,
//      "logLines": n, "log": [{"level", "levelName", "message"}] (the first 1000 lines),
//      "eventsSent": n, "events": [{"name", "eventType", "uri", "summary", ("queues", "available")}]
//                (the first 1000 events),
//      "queues": [{"id", "type", "mapId", "gameMode", "category", "queueAvailability", "name"}] or null
//                when no queue list was published,
//      "routes": [{"path", "url", "status", ("error"), "summary"}],
//      "memory": {"beforeStop", "afterStop"}: {"bytesInUse", "blocksInUse", "allocations", "releases",
//                "bytesAllocated", "bytesReleased", "peakBytes", "peakBlocks"}}
Brix::BindingProperty RunJson(const RunReport& report);

}  // namespace HuxHost
