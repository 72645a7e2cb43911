// shared_memory.h - memory that a death test's child process shares with the test.
#pragma once

#include <cstddef>
#include <string>

namespace HuxTest {

// SharedMemory is size bytes that the child process of a death test writes into and the test reads
// afterwards. Where the child is a fork it is a shared mapping; where it is the test program started
// again (Windows), it is a named mapping that the new process opens by its name.
class SharedMemory {
public:
    SharedMemory(const std::string& name, std::size_t size);
    ~SharedMemory();
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    void* Get() const { return memory; }

private:
    void* memory = nullptr;
    void* handle = nullptr;
    std::size_t size;
};

}  // namespace HuxTest
