// run_text.h - the report of `hux-host run` as text for people.
#pragma once

#include <string>

#include "run_report.h"

namespace HuxHost {

// RunText is the report in sections, each opened by a line "== Title (counts)": Log, Events, Queues,
// Routes and Memory, after a short head naming the plugin and the scenario. The log lists the lines of
// options.logLevel and worse, a repeated line once with " (xN)" after it. With options.quiet, only the
// Queues and Routes sections are written.
std::string RunText(const RunReport& report, const ReportOptions& options);

}  // namespace HuxHost
