// plugin_library.cpp - opening and closing plugin libraries.
#include "plugin_library.h"

#include <dlfcn.h>

namespace HuxHost {

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, const std::string& entrySymbol,
                                                   std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown error");
        return nullptr;
    }
    void* symbol = dlsym(handle, entrySymbol.c_str());
    if (symbol == nullptr) {
        error = path + " has no entry function " + entrySymbol;
        dlclose(handle);
        return nullptr;
    }
    // A function address travels through dlsym as a data address; POSIX guarantees the round trip.
    auto entry = reinterpret_cast<HostLoadFunction>(symbol);
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, entry, path));
}

PluginLibrary::PluginLibrary(void* libraryHandle, HostLoadFunction entryFunction, std::string libraryPath)
    : handle(libraryHandle), entry(entryFunction), path(std::move(libraryPath)) {}

PluginLibrary::~PluginLibrary() {
    dlclose(handle);
}

}  // namespace HuxHost
