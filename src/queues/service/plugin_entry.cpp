// plugin_entry.cpp - the exported entry function of the hux-game-queues library.
#include "abi/host_abi.h"
#include "platform/event_tracing.h"
#include "queues/service/game_queues_plugin.h"
#include "runtime/plugin_loader.h"

// The event-tracing providers are registered when the library is loaded, and unregistered when it is
// unloaded.
[[maybe_unused]] static const Brix::Platform::EventTracingStatus kEventTracing =
    Brix::Platform::StartEventTracing();

// load_hux_game_queues creates the game queues service and runs the handshake with the host. HUX_EXPORT
// is the build's mark for the library's one exported symbol.
extern "C" HUX_EXPORT void load_hux_game_queues(HostLoadBlock* block) {
    Brix::LoadPlugin<Brix::Client::GameQueues::GameQueuesPlugin>(block, "hux-game-queues");
}
