// plugin_loader.cpp - handing a freshly created plugin object to the host.
#include "runtime/plugin_loader.h"

namespace Brix {

void RunHandshake(std::unique_ptr<PluginModule> module, HostLoadBlock* block,
                  std::string_view shortName) noexcept {
    try {
        module->Handshake(block, shortName);
    } catch (...) {
        // The block is written last, so a handshake that did not finish left it untouched.
        return;
    }
    // From here on the host owns the module: its Stop callback destroys it.
    static_cast<void>(module.release());
}

}  // namespace Brix
