// plugin_log_target.h - the log target that hands records to the host, and its installation.
#pragma once

#include <memory>
#include <string_view>

#include "abi/host_abi.h"
#include "logging/log_target.h"

namespace Brix {

// PluginLogTarget: hands every record it receives to the host's log function as the record's level
// and message. Its line template is kept but not applied: the host formats its own lines.
class PluginLogTarget : public LogTarget {
public:
    explicit PluginLogTarget(const HostApi* hostApi);
    ~PluginLogTarget() override;

    std::string_view ClassName() const override { return "PluginLogTarget"; }
    void Write(const LogRecord& record) override;

private:
    const HostApi* api;
};

// InstallPluginLogTarget: routes the log to the host. Unless a PluginLogTarget is registered
// already, unregisters the three built-in targets, sets the logger's minimum level to 0 and its
// excluded groups to XTR, replaces `slot` by a new target for `api` (destroying the one it held)
// with the default line template and level 0, and registers it. Answers whether it installed one.
bool InstallPluginLogTarget(const HostApi* api, std::unique_ptr<PluginLogTarget>& slot) noexcept;

}  // namespace Brix
