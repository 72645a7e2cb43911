// plugin_entry.cpp - the exported entry function of the hux-game-queues library.
#include "abi/host_abi.h"
#include "queues/service/game_queues_plugin.h"
#include "runtime/plugin_loader.h"

// load_hux_game_queues creates the game queues service and runs the handshake with the host.
extern "C" __attribute__((visibility("default"))) void load_hux_game_queues(HostLoadBlock* block) {
    Brix::LoadPlugin<Brix::Client::GameQueues::GameQueuesPlugin>(block, "hux-game-queues");
}
