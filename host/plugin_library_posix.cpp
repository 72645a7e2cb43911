// plugin_library_posix.cpp - opening and closing plugin libraries with dlopen.
#include "plugin_library.h"

#include <dlfcn.h>

namespace HuxHost {

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, const std::string& entrySymbol,
                                                   std::string& error) {
    // The library stays mapped after the last close, as a game client keeps its plugins until it exits:
    // a plugin keeps process-wide objects made on first use (the value model's page source, for one)
    // for the life of the process, and unloading it would only orphan them.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
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
