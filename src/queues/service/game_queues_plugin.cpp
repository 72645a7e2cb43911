// game_queues_plugin.cpp - lifecycle of the game queues service: records and routes, start, translations.
#include "queues/service/game_queues_plugin.h"

#include "codecs/json_writer.h"
#include "logging/debug_trace.h"
#include "queues/model/matchmaker_records_registration.h"
#include "queues/model/queue_records_registration.h"
#include "queues/service/queue_translations.h"

namespace Brix::Client::GameQueues {

GameQueuesPlugin::GameQueuesPlugin() = default;
GameQueuesPlugin::~GameQueuesPlugin() = default;

void GameQueuesPlugin::RegisterEndpoints() {
    Api::RegisterApiRecords(Registry(), NamePrefix(), Tags());
    Lcds::RegisterLcdsRecords(Registry(), WireClasses(), Tags());

    auto routes = Routes();
    routes.Get("/hux-game-queues/v1/queues", this, &GameQueuesPlugin::GetQueues);
    routes.Get("/hux-game-queues/v1/queues/{id}", {"id"}, this, &GameQueuesPlugin::GetQueueById);
    routes.Get("/hux-game-queues/v1/queues/type/{queueType}", {"queueType"}, this,
               &GameQueuesPlugin::GetQueueByType);
    routes.Get("/hux-game-queues/v1/custom", this, &GameQueuesPlugin::GetCustomGame);
    routes.Get("/hux-game-queues/v1/custom-non-default", this, &GameQueuesPlugin::GetCustomGameNonDefault);
    routes.Get("/hux-game-queues/v1/game-type-config/{gameTypeConfigId}", {"gameTypeConfigId"}, this,
               &GameQueuesPlugin::GetGameTypeConfig);
    routes.Get("/hux-game-queues/v1/game-type-config/{gameTypeConfigId}/map/{mapId}",
               {"gameTypeConfigId", "mapId"}, this, &GameQueuesPlugin::GetGameTypeConfigForMap);
}

bool GameQueuesPlugin::Start() {
    for (const ConfigurationInput& input : configurationInputs) {
        input.follow(*this, input);
    }
    LoadQueueTranslations();
    return true;
}

void GameQueuesPlugin::LogEnabledQueueConfigs() {
    ConversionStatus status;
    BindingProperty queues;
    NativeToValue(status, queues, queueCache, Registry());
    DebugTrace("Enabled Queue Configs: %s", Json::Write(queues, &Registry()).c_str());
}

void GameQueuesPlugin::LoadQueueTranslations() {
    if (!queueTranslations.empty()) {
        return;
    }
    MaybeType<BindingProperty> document =
        TypedRequest<BindingProperty>(MethodCode::Get, kQueueTranslationsPath);
    if (!document) {
        LogUnreadableQueueTranslations();
        return;
    }
    StoreQueueTranslations(document.Value(), Registry(), queueTranslations);
}

}  // namespace Brix::Client::GameQueues
