// plugin_library_windows.cpp - opening plugin libraries with LoadLibrary.
#include <windows.h>

#include "plugin_library.h"

namespace HuxHost {

namespace {

// SystemMessage is the system's text for an error code, without its trailing line break.
std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<char*>(&text), 0,
        nullptr);  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
    std::string message = length != 0 ? std::string(text, length) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::string& path, const std::string& entrySymbol,
                                                   std::string& error) {
    // The handle is never freed: a game client keeps its plugins until it exits, and a plugin keeps
    // process-wide objects made on first use for the life of the process.
    HMODULE handle = LoadLibraryA(path.c_str());
    if (handle == nullptr) {
        error = "cannot load " + path + ": " + SystemMessage(GetLastError());
        return nullptr;
    }
    FARPROC symbol = GetProcAddress(handle, entrySymbol.c_str());
    if (symbol == nullptr) {
        error = path + " has no entry function " + entrySymbol;
        return nullptr;
    }
    // GetProcAddress hands every function out under one type; the entry has the host's signature. The
    // cast goes through the generic function type, which converts to any other.
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
    auto entry = reinterpret_cast<HostLoadFunction>(reinterpret_cast<void (*)()>(symbol));
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle, entry, path));
}

PluginLibrary::PluginLibrary(void* libraryHandle, HostLoadFunction entryFunction, std::string libraryPath)
    : handle(libraryHandle), entry(entryFunction), path(std::move(libraryPath)) {}

PluginLibrary::~PluginLibrary() = default;

}  // namespace HuxHost
