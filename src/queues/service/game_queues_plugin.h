// game_queues_plugin.h - the game queues service: the one plugin object of hux-game-queues.
#pragma once

#include "runtime/plugin_module.h"

namespace Brix::Client::GameQueues {

// GameQueuesPlugin owns the client's knowledge of matchmaking queues. The host creates it through
// the exported entry function and drives it through the runtime's callbacks.
class GameQueuesPlugin : public PluginModule {
public:
    GameQueuesPlugin();
    ~GameQueuesPlugin() override;

    // RegisterEndpoints registers the service's records and routes during the handshake.
    void RegisterEndpoints() override;

    // Start begins the service's work once the host has started the plugin.
    bool Start() override;
};

}  // namespace Brix::Client::GameQueues
