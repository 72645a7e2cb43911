// plugin_test_support.h - opening the built plugin libraries in end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dev_host.h"
#include "host_calls.h"
#include "plugin_library.h"

namespace HuxTest {

inline constexpr const char* kPluginPath = HUX_PLUGIN_PATH;
inline constexpr const char* kPluginEntry = "load_hux_game_queues";
inline constexpr const char* kBridgeProbePath = HUX_BRIDGE_PROBE_PATH;
inline constexpr const char* kBridgeProbeEntry = "load_bridge_probe";

// OpenLibrary opens a plugin library or fails the current test.
inline std::unique_ptr<HuxHost::PluginLibrary> OpenLibrary(const char* path = kPluginPath,
                                                           const char* entry = kPluginEntry) {
    std::string error;
    auto library = HuxHost::PluginLibrary::Open(path, entry, error);
    EXPECT_NE(library, nullptr) << error;
    return library;
}

// OpenHost opens a development host on a plugin library.
inline std::unique_ptr<HuxHost::DevHost> OpenHost(const char* path = kPluginPath,
                                                  const char* entry = kPluginEntry) {
    auto library = OpenLibrary(path, entry);
    if (library == nullptr) {
        return nullptr;
    }
    return std::make_unique<HuxHost::DevHost>(std::move(library));
}

}  // namespace HuxTest
