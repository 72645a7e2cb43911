// stop_signals.h - the requests to stop a running server: Ctrl-C and a termination request.
#pragma once

#include <chrono>
#include <string>

namespace HuxHost {

// CatchStopSignals makes Ctrl-C and termination requests stop nothing by themselves: from now on they
// are kept for WaitForStopSignal. A client that goes away mid-answer no longer ends the process either.
// Call it before any thread starts, so that every thread inherits the arrangement.
void CatchStopSignals();

// WaitForStopSignal waits up to timeout for a stop request and names it ("interrupted", "terminated");
// empty when none came.
std::string WaitForStopSignal(std::chrono::milliseconds timeout);

}  // namespace HuxHost
