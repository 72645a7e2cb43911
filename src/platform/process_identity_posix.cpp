// process_identity_posix.cpp - /proc/self/exe and gettid.
#include <unistd.h>

#include "platform/process_identity.h"

namespace Brix::Platform {

std::size_t ReadExecutablePath(char* buffer, std::size_t capacity) noexcept {
    if (capacity == 0) {
        return 0;
    }
    // readlink cuts a path that does not fit without saying so: a path that fills the buffer is refused.
    const ssize_t read = readlink("/proc/self/exe", buffer, capacity - 1);
    const std::size_t length =
        read > 0 && static_cast<std::size_t>(read) < capacity - 1 ? static_cast<std::size_t>(read) : 0;
    buffer[length] = '\0';
    return length;
}

uint64_t CurrentThreadId() noexcept {
    static thread_local const uint64_t id = static_cast<uint64_t>(gettid());
    return id;
}

}  // namespace Brix::Platform
