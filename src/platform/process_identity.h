// process_identity.h - what identifies the running program and the calling thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Brix::Platform {

// ReadExecutablePath writes the full path of the running program's executable file into buffer, NUL
// terminated, and returns its length; 0 when it cannot be read (or does not fit).
std::size_t ReadExecutablePath(char* buffer, std::size_t capacity) noexcept;

// CurrentThreadId is the operating system's identifier of the calling thread.
uint64_t CurrentThreadId() noexcept;

}  // namespace Brix::Platform
