// run_text.h - the report of `hux-host run` as text for people.
#pragma once

#include <string>

#include "run_report.h"

namespace HuxHost {

// RunText is the report in sections, each opened by a line "== Title (counts)": Log, Events, Queues,
// Routes and Memory, after a short head naming the plugin and the scenario.
std::string RunText(const RunReport& report);

}  // namespace HuxHost
