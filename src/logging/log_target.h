// log_target.h - the base of every log target: its filters, its line template and its registration.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "logging/line_template.h"
#include "logging/log_record.h"

namespace Brix {

// LogTarget: a place where accepted log records are written. A target receives a record when the
// record's level is not below the target's level and the record's groups pass the target's masks (a
// record without groups passes every mask). The base target writes nothing.
//
// Locking: the logger's lock is always taken before a target's lock. A target being written, or being
// unregistered, holds its own lock. A registered target must stay alive until it is unregistered; the
// destructor unregisters it in case it is not.
class LogTarget {
public:
    explicit LogTarget(uint64_t includeMask = 0, uint64_t excludeMask = 0,
                       std::string_view lineTemplate = kDefaultLineTemplate);
    virtual ~LogTarget();

    LogTarget(const LogTarget&) = delete;
    LogTarget& operator=(const LogTarget&) = delete;

    // Unregister: detaches the target from the logger. Answers false when it was not registered.
    virtual bool Unregister();
    // ClassName: the name of the target's class, which the logger's find-by-class-name compares.
    virtual std::string_view ClassName() const { return "LogTarget"; }
    // LineTemplate: the template the target formats its lines with.
    virtual std::string LineTemplate() const;
    // Write: writes one accepted record. Called by the logger under the logger's lock.
    virtual void Write(const LogRecord& record);
    // Flush: pushes out whatever the target holds back.
    virtual void Flush() {}

    // Register: attaches the target to the logger, after the targets registered before it. Answers
    // false when it was registered already or the logger cannot be created.
    bool Register();
    bool IsRegistered() const { return registered.load(std::memory_order_acquire); }

    void SetLevel(int32_t newLevel) { level.store(newLevel, std::memory_order_relaxed); }
    int32_t Level() const { return level.load(std::memory_order_relaxed); }
    void SetMasks(uint64_t newInclude, uint64_t newExclude);
    uint64_t IncludeMask() const { return includeMask.load(std::memory_order_relaxed); }
    uint64_t ExcludeMask() const { return excludeMask.load(std::memory_order_relaxed); }
    void SetLineTemplate(std::string_view newTemplate);

    // Accepts: whether a record of `recordLevel` and `groupMask` passes the target's filters.
    bool Accepts(int32_t recordLevel, uint64_t groupMask) const;

protected:
    // Lock: the target's own lock, held while writing and while being unregistered.
    std::recursive_mutex& Lock() const { return lock; }

private:
    mutable std::recursive_mutex lock;
    std::atomic<int32_t> level{1};
    std::atomic<uint64_t> includeMask;
    std::atomic<uint64_t> excludeMask;
    std::atomic<bool> registered{false};
    std::string lineTemplate;
};

}  // namespace Brix
