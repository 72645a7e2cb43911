// debugger_output.h - the platform's debugger output channel.
#pragma once

namespace Brix::Platform {

// WriteToDebugger sends one NUL-terminated line to the debugger attached to the process
// (OutputDebugStringA on Windows); on systems without such a channel it does nothing.
void WriteToDebugger(const char* line) noexcept;

}  // namespace Brix::Platform
