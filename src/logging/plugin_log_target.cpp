// plugin_log_target.cpp - forwarding log records to the host's log function.
#include "logging/plugin_log_target.h"

#include <mutex>

#include "logging/console_log_targets.h"
#include "logging/logger.h"
#include "logging/logger_internal.h"

namespace Brix {

PluginLogTarget::PluginLogTarget(const HostApi* hostApi) : api(hostApi) {}

PluginLogTarget::~PluginLogTarget() {
    // Leave the logger before the host's table can be reached through a half-destroyed target.
    LogTarget::Unregister();
}

void PluginLogTarget::Write(const LogRecord& record) {
    std::lock_guard guard(Lock());
    if (api != nullptr && api->log != nullptr) {
        api->log(api, record.level, record.message.c_str());
    }
}

bool InstallPluginLogTarget(const HostApi* api, std::unique_ptr<PluginLogTarget>& slot) noexcept {
    std::lock_guard guard(LoggerInternal::Lock());
    if (LoggerControl::FindTarget("PluginLogTarget") != nullptr) {
        return false;
    }
    for (LogTarget* builtIn : {static_cast<LogTarget*>(LoggerControl::StdErrTarget()),
                               static_cast<LogTarget*>(LoggerControl::StdOutTarget()),
                               static_cast<LogTarget*>(LoggerControl::DebuggerConsoleTarget())}) {
        if (builtIn != nullptr) {
            builtIn->Unregister();
        }
    }
    LoggerControl::SetMinimumLevel(static_cast<int32_t>(LogLevel::Okay));
    LoggerControl::SetExcludedGroups(kLogGroupXtr);

    slot.reset();
    try {
        slot = std::make_unique<PluginLogTarget>(api);
    } catch (...) {
        return false;
    }
    slot->SetLineTemplate(kDefaultLineTemplate);
    slot->SetLevel(LoggerControl::MinimumLevel());
    return slot->Register();
}

}  // namespace Brix
