// logger_internal.h - the logger's lock and target list, as seen by target registration.
#pragma once

#include <mutex>

namespace Brix {

class LogTarget;

namespace LoggerInternal {

// Lock: the logger's lock. It outlives the logger, so creation, destruction and every call are
// serialised by it. Taken before any target's lock.
std::recursive_mutex& Lock() noexcept;

// Attach: appends `target` to the logger's targets, creating the logger when there is none. The
// caller holds Lock(). Answers false when the logger cannot be created.
bool Attach(LogTarget& target) noexcept;

// Detach: removes `target` from the logger's targets, when there is a logger. The caller holds Lock().
void Detach(LogTarget& target) noexcept;

}  // namespace LoggerInternal

}  // namespace Brix
