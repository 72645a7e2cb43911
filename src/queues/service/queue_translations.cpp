// queue_translations.cpp - member names as queue ids and member values as localized queue texts.
#include "queues/service/queue_translations.h"

#include "binding/conversion_status.h"
#include "binding/value_conversion.h"
#include "logging/logger.h"
#include "text/decimal_text.h"

namespace Brix::Client::GameQueues {

int32_t TranslationKey(std::string_view name) noexcept {
    return Text::ParseDecimal<int32_t>(
               name, {.skipSpace = true, .allowSign = true, .allowRest = true, .saturate = true})
        .value;
}

bool StoreQueueTranslations(const BindingProperty& document, const TypeRegistry& registry,
                            Api::QueueTranslationMap& table) {
    if (document.Kind() != BindingKind::Structure) {
        LogUnreadableQueueTranslations();
        return false;
    }
    for (auto [name, value] : document.Members()) {
        Api::QueueTranslation translation;
        ConversionStatus status;
        ValueToNative(status, translation, value, "<value>", registry);
        if (!status.Ok()) {
            Log(LogLevel::Error, kPluginLogGroup,
                "Malformed queue translation data from hux-game-data/assets/v1/queues.json");
        }
        table[TranslationKey(name)] = std::move(translation);
    }
    return true;
}

void LogUnreadableQueueTranslations() {
    Log(LogLevel::Error, kPluginLogGroup, "Could not deserialize hux-game-data/assets/v1/queues.json");
}

}  // namespace Brix::Client::GameQueues
