// plugin_identity.cpp - full names from short names and plugin types.
#include "runtime/plugin_identity.h"

#include "logging/logger.h"
#include "logging/message_formatter.h"

namespace Brix {

std::string GetFullNameFromShortNameAndType(std::string_view shortName, const PluginType& type) {
    std::string_view prefix = "tnk-xx-";
    if (type.kind == "backend") {
        prefix = "tnk-be-";
    } else if (type.kind == "frontend") {
        prefix = "tnk-fe-";
    } else {
        const std::string message =
            FormatMessage("GetFullNameFromShortNameAndType(\"%1\", \"%2\") called with an unknown type",
                          shortName, type.ToText());
        Log(LogLevel::Error, kPluginLogGroup, "            Plugin Manager| %s", message.c_str());
    }
    std::string fullName(prefix);
    fullName += shortName;
    return fullName;
}

}  // namespace Brix
