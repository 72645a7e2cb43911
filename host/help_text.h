// help_text.h - hux-host's help: the general usage and each command's own page, with examples.
#pragma once

#include <optional>
#include <string_view>

#include "command_line.h"

namespace HuxHost {

// HelpText is the help of topic, or the general help without one.
std::string_view HelpText(std::optional<Command> topic);

}  // namespace HuxHost
