// plugin_loader.h - what a plugin's exported entry function does: create the plugin object and run
// the handshake.
#pragma once

#include <memory>
#include <string_view>

#include "abi/host_abi.h"
#include "runtime/plugin_module.h"

namespace Brix {

// RunHandshake hands module to the host through block. On success the host owns the module (its Stop
// callback destroys it); when the handshake cannot complete the module is destroyed and the block is
// left as the host wrote it.
void RunHandshake(std::unique_ptr<PluginModule> module, HostLoadBlock* block,
                  std::string_view shortName) noexcept;

// LoadPlugin creates a Module and runs the handshake with shortName. Running out of memory while
// creating it leaves the block unchanged, which the host reads as a failed load.
template <class Module>
void LoadPlugin(HostLoadBlock* block, std::string_view shortName) noexcept {
    if (block == nullptr) {
        return;
    }
    std::unique_ptr<PluginModule> module;
    try {
        module = std::make_unique<Module>();
    } catch (...) {
        return;
    }
    RunHandshake(std::move(module), block, shortName);
}

}  // namespace Brix
