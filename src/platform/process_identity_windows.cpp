// process_identity_windows.cpp - the executable's module file name and the thread identifier.
#include <windows.h>

#include "platform/process_identity.h"

namespace Brix::Platform {

std::size_t ReadExecutablePath(char* buffer, std::size_t capacity) noexcept {
    if (capacity == 0) {
        return 0;
    }
    // The module of a null handle is the executable that started the process, not this library.
    const DWORD length = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(capacity));
    if (length == 0 || length >= capacity) {
        buffer[0] = '\0';
        return 0;
    }
    return length;
}

uint64_t CurrentThreadId() noexcept {
    return GetCurrentThreadId();
}

}  // namespace Brix::Platform
