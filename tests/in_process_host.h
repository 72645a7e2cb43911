// in_process_host.h - a development host for a plugin module compiled into the test itself.
#pragma once

#include <gtest/gtest.h>

#include "dev_host.h"
#include "host_calls.h"
#include "runtime/plugin_loader.h"
#include "runtime/plugin_module.h"

namespace HuxTest {

// LoadInProcess is the entry function of a plugin module named "bridge-test".
inline void LoadInProcess(HostLoadBlock* block) {
    Brix::LoadPlugin<Brix::PluginModule>(block, "bridge-test");
}

// InProcessHost loads a plugin module through its load block, like any plugin, and lets the test reach
// the module itself besides the host's scripts and records. The module lives from Load to Stop.
class InProcessHost {
public:
    InProcessHost() { host.Load(); }

    // Start starts the plugin, failing the test when it does not start.
    void Start() {
        ASSERT_TRUE(host.Start());
        host.ClearCalls();
    }

    Brix::PluginModule& Plugin() { return *static_cast<Brix::PluginModule*>(host.Block().instance); }

    HuxHost::DevHost host{&LoadInProcess};
};

}  // namespace HuxTest
