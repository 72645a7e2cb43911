// plugin_identity.h - who a plugin is: its names and its type.
#pragma once

#include <string>
#include <string_view>

namespace Brix {

// PluginType is a kind ("backend", "frontend") and a qualifier.
struct PluginType {
    std::string kind;
    std::string qualifier;

    // ToText is the form a type takes in messages: kind, ":" and qualifier.
    std::string ToText() const { return kind + ':' + qualifier; }
};

// PluginIdentity: full name, short name, type kind and type qualifier, in that order.
struct PluginIdentity {
    std::string fullName;
    std::string shortName;
    std::string typeKind;
    std::string typeQualifier;
};

// GetFullNameFromShortNameAndType prefixes the short name with "tnk-be-" for kind "backend",
// "tnk-fe-" for kind "frontend" and "tnk-xx-" for any other kind, which is also logged as an error.
std::string GetFullNameFromShortNameAndType(std::string_view shortName, const PluginType& type);

}  // namespace Brix
