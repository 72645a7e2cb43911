// shared_memory_windows.cpp - a named file mapping backed by the paging file.
#include <windows.h>

#include "shared_memory.h"

namespace HuxTest {

SharedMemory::SharedMemory(const std::string& name, std::size_t bytes) : size(bytes) {
    const std::string fullName = "Local\\hux-test-" + name;
    handle = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size),
                                fullName.c_str());
    if (handle != nullptr) {
        memory = MapViewOfFile(handle, FILE_MAP_ALL_ACCESS, 0, 0, size);
    }
}

SharedMemory::~SharedMemory() {
    if (memory != nullptr) {
        UnmapViewOfFile(memory);
    }
    if (handle != nullptr) {
        CloseHandle(handle);
    }
}

}  // namespace HuxTest
