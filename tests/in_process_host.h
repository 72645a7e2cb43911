// in_process_host.h - a development host for a plugin module compiled into the test itself.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dev_host.h"
#include "host_calls.h"
#include "runtime/plugin_loader.h"
#include "runtime/plugin_module.h"

namespace HuxTest {

// LoadInProcess is the entry function of a plugin whose module is Module, named "bridge-test".
template <class Module>
void LoadInProcess(HostLoadBlock* block) {
    Brix::LoadPlugin<Module>(block, "bridge-test");
}

// InProcessHost loads a Module through its load block, like any plugin, and lets the test reach the
// module itself besides the host's scripts and records. The module lives from Load to Stop.
template <class Module = Brix::PluginModule>
class InProcessHost {
public:
    InProcessHost() { host.Load(); }

    // Start starts the plugin, failing the test when it does not start.
    void Start() {
        ASSERT_TRUE(host.Start());
        host.ClearCalls();
    }

    Module& Plugin() {
        void* instance = host.Block().instance;
        return *static_cast<Module*>(static_cast<Brix::PluginModule*>(instance));
    }

    HuxHost::DevHost host{&LoadInProcess<Module>};
};

}  // namespace HuxTest
