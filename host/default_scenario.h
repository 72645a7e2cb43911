// default_scenario.h - the scenario built into hux-host: scenarios/default.json, compiled in.
#pragma once

#include <string_view>

namespace HuxHost {

// kDefaultScenarioSource names the built-in scenario in reports and messages.
inline constexpr std::string_view kDefaultScenarioSource = "default";

// DefaultScenarioText is the text of scenarios/default.json as it was when hux-host was built.
std::string_view DefaultScenarioText();

}  // namespace HuxHost
