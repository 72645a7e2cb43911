// plugin_api_version.h - the plugin API version, its text form and the compatibility rule.
#pragma once

#include <cstdint>
#include <string>

namespace Brix {

// PluginApiVersion identifies the plugin interface a host or a plugin implements.
struct PluginApiVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t patch = 0;
    std::string prerelease;
    std::string build;

    // ToText is "major.minor.patch", then "-prerelease" and "+build" when those are not empty.
    std::string ToText() const;
};

// PluginApi is the version this plugin implements: the project's version (hux_version.h), 18.0.0.
const PluginApiVersion& PluginApi() noexcept;

// IsCompatible: a host is compatible with a plugin when the majors are equal and the host's minor
// and patch are not older. Prerelease and build texts take no part.
bool IsCompatible(const PluginApiVersion& plugin, const PluginApiVersion& host) noexcept;

}  // namespace Brix
