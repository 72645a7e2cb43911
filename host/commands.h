// commands.h - hux-host's commands, each answering the program's exit status.
#pragma once

#include <string>

#include "binding/maybe_type.h"
#include "command_line.h"
#include "scenario.h"

namespace HuxHost {

// Exit statuses of hux-host.
inline constexpr int kExitDone = 0;
inline constexpr int kExitPluginFailed = 1;  // not loaded, refused to start, or a failed route (get)
inline constexpr int kExitBadInput = 2;      // a wrong command line or a malformed scenario

int RunCommand(const CommandLine& line);
int GetCommand(const CommandLine& line);
int ServeCommand(const CommandLine& line);

// CommandScenario is the scenario of --scenario, or the built-in one without it.
Brix::MaybeType<Scenario> CommandScenario(const CommandLine& line);

// CommandPluginPath is the library of --plugin, or the one beside hux-host without it.
std::string CommandPluginPath(const CommandLine& line);

// Complain prints "hux-host: <message>" on standard error.
void Complain(const std::string& message);

}  // namespace HuxHost
