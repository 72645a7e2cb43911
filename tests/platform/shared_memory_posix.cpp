// shared_memory_posix.cpp - an anonymous shared mapping, which a forked child keeps.
#include <sys/mman.h>

#include "shared_memory.h"

namespace HuxTest {

SharedMemory::SharedMemory(const std::string& /*name*/, std::size_t bytes) : size(bytes) {
    void* mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    memory = mapped == MAP_FAILED ? nullptr : mapped;
}

SharedMemory::~SharedMemory() {
    if (memory != nullptr) {
        munmap(memory, size);
    }
}

}  // namespace HuxTest
