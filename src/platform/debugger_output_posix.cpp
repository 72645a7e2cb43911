// debugger_output_posix.cpp - POSIX systems have no debugger output channel.
#include "platform/debugger_output.h"

namespace Brix::Platform {

void WriteToDebugger(const char* /*line*/) noexcept {}

}  // namespace Brix::Platform
