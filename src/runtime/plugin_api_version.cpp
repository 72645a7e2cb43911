// plugin_api_version.cpp - version text and compatibility.
#include "runtime/plugin_api_version.h"

#include "hux_version.h"

namespace Brix {

std::string PluginApiVersion::ToText() const {
    std::string text = std::to_string(major) + '.' + std::to_string(minor) + '.' + std::to_string(patch);
    if (!prerelease.empty()) {
        text += '-';
        text += prerelease;
    }
    if (!build.empty()) {
        text += '+';
        text += build;
    }
    return text;
}

const PluginApiVersion& PluginApi() noexcept {
    static const PluginApiVersion kVersion{HUX_VERSION_MAJOR, HUX_VERSION_MINOR, HUX_VERSION_PATCH, {}, {}};
    return kVersion;
}

bool IsCompatible(const PluginApiVersion& plugin, const PluginApiVersion& host) noexcept {
    if (host.major != plugin.major) {
        return false;
    }
    if (host.minor != plugin.minor) {
        return host.minor > plugin.minor;
    }
    return host.patch >= plugin.patch;
}

}  // namespace Brix
