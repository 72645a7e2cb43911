// game_queues_plugin.cpp - lifecycle of the game queues service.
#include "queues/service/game_queues_plugin.h"

namespace Brix::Client::GameQueues {

GameQueuesPlugin::GameQueuesPlugin() = default;
GameQueuesPlugin::~GameQueuesPlugin() = default;

void GameQueuesPlugin::RegisterEndpoints() {}

bool GameQueuesPlugin::Start() {
    return true;
}

}  // namespace Brix::Client::GameQueues
