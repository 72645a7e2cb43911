// log_target.cpp - filters, line template and registration of a log target.
#include "logging/log_target.h"

#include "logging/logger_internal.h"

namespace Brix {

LogTarget::LogTarget(uint64_t include, uint64_t exclude, std::string_view newTemplate)
    : includeMask(include), excludeMask(exclude), lineTemplate(newTemplate) {}

LogTarget::~LogTarget() {
    LogTarget::Unregister();
}

bool LogTarget::Unregister() {
    std::lock_guard loggerGuard(LoggerInternal::Lock());
    std::lock_guard targetGuard(lock);
    if (!IsRegistered()) {
        return false;
    }
    LoggerInternal::Detach(*this);
    registered.store(false, std::memory_order_release);
    return true;
}

std::string LogTarget::LineTemplate() const {
    std::lock_guard guard(lock);
    return lineTemplate;
}

void LogTarget::Write(const LogRecord& /*record*/) {}

bool LogTarget::Register() {
    std::lock_guard loggerGuard(LoggerInternal::Lock());
    std::lock_guard targetGuard(lock);
    if (IsRegistered() || !LoggerInternal::Attach(*this)) {
        return false;
    }
    registered.store(true, std::memory_order_release);
    return true;
}

void LogTarget::SetMasks(uint64_t newInclude, uint64_t newExclude) {
    // Under the logger's lock, so a dispatch never sees one new mask and one old one.
    std::lock_guard guard(LoggerInternal::Lock());
    includeMask.store(newInclude, std::memory_order_relaxed);
    excludeMask.store(newExclude, std::memory_order_relaxed);
}

void LogTarget::SetLineTemplate(std::string_view newTemplate) {
    std::lock_guard guard(lock);
    lineTemplate.assign(newTemplate);
}

bool LogTarget::Accepts(int32_t recordLevel, uint64_t groupMask) const {
    if (recordLevel < Level()) {
        return false;
    }
    if (groupMask == 0) {
        return true;
    }
    if ((groupMask & ExcludeMask()) != 0) {
        return false;
    }
    uint64_t include = IncludeMask();
    return include == 0 || (groupMask & include) != 0;
}

}  // namespace Brix
