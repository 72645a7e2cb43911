// plugin_library.h - a plugin shared library (dlopen on POSIX systems, LoadLibrary on Windows) and its
// entry function.
#pragma once

#include <memory>
#include <string>

#include "abi/host_abi.h"

namespace HuxHost {

// PluginLibrary owns one handle of a loaded library; the handle is closed when the object goes away,
// but the library itself stays loaded until the process ends.
class PluginLibrary {
public:
    // Open loads the library at path and finds entrySymbol in it. On failure it answers null and
    // says why in error.
    static std::unique_ptr<PluginLibrary> Open(const std::string& path, const std::string& entrySymbol,
                                               std::string& error);

    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    HostLoadFunction Entry() const noexcept { return entry; }
    const std::string& Path() const noexcept { return path; }

private:
    PluginLibrary(void* handle, HostLoadFunction entry, std::string path);

    void* handle;
    HostLoadFunction entry;
    std::string path;
};

}  // namespace HuxHost
