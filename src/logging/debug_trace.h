// debug_trace.h - the developer trace: a printf-style diagnostic call that discards its input.
#pragma once

namespace Brix {

// DebugTrace marks a diagnostic that developers of the framework and the service keep in the code
// ("%s: Subscribing to event: %s"). It writes nothing and nothing may depend on it; the compiler still
// checks its arguments against the format.
[[gnu::format(HUX_PRINTF_FORMAT, 1, 2)]] inline void DebugTrace(const char* /*format*/, ...) noexcept {}

}  // namespace Brix
