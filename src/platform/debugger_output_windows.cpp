// debugger_output_windows.cpp - the debugger output channel of Windows.
#include <windows.h>

#include "platform/debugger_output.h"

namespace Brix::Platform {

void WriteToDebugger(const char* line) noexcept {
    OutputDebugStringA(line);
}

}  // namespace Brix::Platform
