// command_line.cpp - parsing hux-host's arguments.
#include "command_line.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <limits>
#include <vector>

namespace HuxHost {

namespace {

std::optional<Command> CommandNamed(std::string_view name) {
    if (name == "run") {
        return Command::Run;
    }
    if (name == "get") {
        return Command::Get;
    }
    if (name == "serve") {
        return Command::Serve;
    }
    if (name == "help") {
        return Command::Help;
    }
    return std::nullopt;
}

template <class Number>
std::optional<Number> ParseNumber(std::string_view text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return number;
}

// Option is one "--name" argument, with the value written after "=" when there was one.
struct Option {
    std::string_view name;
    std::optional<std::string_view> inlineValue;
};

Option SplitOption(std::string_view argument) {
    const std::size_t equals = argument.find('=');
    if (equals == std::string_view::npos) {
        return {argument, std::nullopt};
    }
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

bool Takes(Command command, std::string_view option) {
    if (option == "--plugin") {
        return command != Command::Help;
    }
    if (option == "--scenario") {
        return command == Command::Run || command == Command::Get || command == Command::Serve;
    }
    if (option == "--json" || option == "--log-level" || option == "--quiet" || option == "--bodies") {
        return command == Command::Run;
    }
    return command == Command::Serve &&
           (option == "--port" || option == "--exit-after-seconds" || option == "--event-streams");
}

// LogLevelNamed is the level of a log level's name, in any case: OKAY 0, WARN 1, ERROR 2, ALWAYS 3.
std::optional<int32_t> LogLevelNamed(std::string_view name) {
    constexpr std::array<std::string_view, 4> kNames = {"okay", "warn", "error", "always"};
    for (std::size_t level = 0; level < kNames.size(); ++level) {
        if (std::ranges::equal(name, kNames[level], [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            return static_cast<int32_t>(level);
        }
    }
    return std::nullopt;
}

std::string SeeHelp(Command command) {
    return command == Command::Help ? " (see hux-host --help)"
                                    : " (see hux-host " + std::string(CommandName(command)) + " --help)";
}

}  // namespace

std::string_view CommandName(Command command) {
    switch (command) {
        case Command::Run:
            return "run";
        case Command::Get:
            return "get";
        case Command::Serve:
            return "serve";
        case Command::Help:
            return "help";
        case Command::Version:
            return "--version";
    }
    return "";
}

Brix::MaybeType<CommandLine> ParseCommandLine(std::span<const std::string_view> arguments) {
    CommandLine line;
    if (arguments.size() == 1 && arguments[0] == "--version") {
        line.command = Command::Version;
        return line;
    }
    std::size_t at = 0;
    const bool commandGiven = !arguments.empty() && !arguments[0].starts_with('-');
    if (commandGiven) {
        const std::optional<Command> command = CommandNamed(arguments[0]);
        if (!command) {
            return Brix::Failure("unknown command '" + std::string(arguments[0]) +
                                 "': the commands are run, get, serve and help (see hux-host --help)");
        }
        line.command = *command;
        at = 1;
    }
    bool help = line.command == Command::Help;
    std::vector<std::string_view> positional;
    for (; at < arguments.size(); ++at) {
        const std::string_view argument = arguments[at];
        if (argument == "--help" || argument == "-h") {
            help = true;
            continue;
        }
        if (!argument.starts_with("--")) {
            positional.push_back(argument);
            continue;
        }
        const Option option = SplitOption(argument);
        if (!Takes(line.command, option.name)) {
            return Brix::Failure("unknown option '" + std::string(option.name) + "' for " +
                                 std::string(CommandName(line.command)) + SeeHelp(line.command));
        }
        if (option.name == "--json" || option.name == "--quiet" || option.name == "--bodies") {
            if (option.inlineValue) {
                return Brix::Failure(std::string(option.name) + " takes no value");
            }
            line.json = line.json || option.name == "--json";
            line.quiet = line.quiet || option.name == "--quiet";
            line.bodies = line.bodies || option.name == "--bodies";
            continue;
        }
        std::string_view value;
        if (option.inlineValue) {
            value = *option.inlineValue;
        } else if (at + 1 < arguments.size()) {
            value = arguments[++at];
        } else {
            return Brix::Failure(std::string(option.name) + " needs a value" + SeeHelp(line.command));
        }
        if (option.name == "--plugin") {
            line.pluginPath = std::string(value);
        } else if (option.name == "--scenario") {
            line.scenarioPath = std::string(value);
        } else if (option.name == "--log-level") {
            const std::optional<int32_t> level = LogLevelNamed(value);
            if (!level) {
                return Brix::Failure("--log-level takes OKAY, WARN, ERROR or ALWAYS, not '" +
                                     std::string(value) + "'");
            }
            line.logLevel = *level;
        } else if (option.name == "--port") {
            const std::optional<uint16_t> port = ParseNumber<uint16_t>(value);
            if (!port) {
                return Brix::Failure("--port takes a port number from 0 to 65535, not '" +
                                     std::string(value) + "'");
            }
            line.port = *port;
        } else if (option.name == "--event-streams") {
            const std::optional<uint32_t> streams = ParseNumber<uint32_t>(value);
            if (!streams || *streams == 0 || *streams > kMaxEventStreams) {
                return Brix::Failure("--event-streams takes a number of streams from 1 to " +
                                     std::to_string(kMaxEventStreams) + ", not '" + std::string(value) + "'");
            }
            line.eventStreams = *streams;
        } else {
            const std::optional<uint32_t> seconds = ParseNumber<uint32_t>(value);
            if (!seconds) {
                return Brix::Failure("--exit-after-seconds takes a whole number of seconds, not '" +
                                     std::string(value) + "'");
            }
            line.exitAfterSeconds = *seconds;
        }
    }

    if (line.command == Command::Help) {
        if (positional.size() > 1) {
            return Brix::Failure("help takes at most one command" + SeeHelp(Command::Help));
        }
        if (!positional.empty()) {
            line.helpTopic = CommandNamed(positional[0]);
            if (!line.helpTopic || *line.helpTopic == Command::Help) {
                return Brix::Failure("no help on '" + std::string(positional[0]) + "'" +
                                     SeeHelp(Command::Help));
            }
        }
        return line;
    }
    if (help) {
        // "hux-host --help" is the general help, "hux-host serve --help" that of serve.
        if (commandGiven) {
            line.helpTopic = line.command;
        }
        line.command = Command::Help;
        return line;
    }
    if (line.command == Command::Get) {
        if (positional.size() != 1) {
            return Brix::Failure(positional.empty() ? "get needs the path of a route, such as "
                                                      "/hux-game-queues/v1/queues/420" +
                                                          SeeHelp(Command::Get)
                                                    : "get takes one path" + SeeHelp(Command::Get));
        }
        if (!positional[0].starts_with('/')) {
            return Brix::Failure("the path of a route starts with \"/\", not '" + std::string(positional[0]) +
                                 "'");
        }
        line.routePath = std::string(positional[0]);
        return line;
    }
    if (line.quiet && line.json) {
        return Brix::Failure("--quiet shortens the text report; --json prints the whole document" +
                             SeeHelp(Command::Run));
    }
    if (line.bodies && !line.json) {
        return Brix::Failure("--bodies adds the answer bodies to the --json document" +
                             SeeHelp(Command::Run));
    }
    if (!positional.empty()) {
        return Brix::Failure("unexpected argument '" + std::string(positional[0]) + "' for " +
                             std::string(CommandName(line.command)) + SeeHelp(line.command));
    }
    return line;
}

}  // namespace HuxHost
