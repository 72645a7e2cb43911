// command_line.h - hux-host's command line: the command and its options.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "binding/maybe_type.h"

namespace HuxHost {

// Command is what hux-host is asked to do.
enum class Command {
    Run,
    Get,
    Serve,
    Help,
    Version,
};

// kDefaultPort is the port serve listens on unless told otherwise.
inline constexpr uint16_t kDefaultPort = 8765;

// kDefaultEventStreams and kMaxEventStreams bound the event streams serve keeps open at once: each one
// holds a thread of its own.
inline constexpr uint32_t kDefaultEventStreams = 128;
inline constexpr uint32_t kMaxEventStreams = 512;

// CommandLine is a parsed command line. Empty paths mean the defaults: the plugin beside hux-host and
// the built-in default scenario.
struct CommandLine {
    Command command = Command::Run;
    std::optional<Command> helpTopic;  // Help: the command asked about, none for the general help
    std::string pluginPath;
    std::string scenarioPath;
    bool json = false;                             // run
    int32_t logLevel = 1;                          // run: the least level of the log lines shown (WARN)
    bool quiet = false;                            // run: the tables only
    bool bodies = false;                           // run --json: the routes' answer bodies too
    std::string routePath;                         // get
    uint16_t port = kDefaultPort;                  // serve; 0 picks a free port
    uint32_t exitAfterSeconds = 0;                 // serve; 0 serves until interrupted
    uint32_t eventStreams = kDefaultEventStreams;  // serve: the most event streams open at once
};

// ParseCommandLine reads the arguments after the program's name:
//     [COMMAND] [OPTIONS]   with COMMAND run (the default), get PATH, serve or help [COMMAND]
//     --version             the versions of hux-host, the plugin and the plugin API
// Options take their value as the next argument or after "=" (--port=8080). "--help" or "-h" anywhere
// asks for the help of the command given. A failure's message says what is wrong with which argument.
Brix::MaybeType<CommandLine> ParseCommandLine(std::span<const std::string_view> arguments);

// CommandName is "run", "get", "serve", "help" or "--version".
std::string_view CommandName(Command command);

}  // namespace HuxHost
