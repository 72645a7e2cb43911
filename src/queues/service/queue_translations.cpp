// queue_translations.cpp - member names as queue ids and member values as localized queue texts.
#include "queues/service/queue_translations.h"

#include <limits>

#include "binding/conversion_status.h"
#include "binding/value_conversion.h"
#include "logging/logger.h"

namespace Brix::Client::GameQueues {

int32_t TranslationKey(std::string_view name) noexcept {
    size_t position = 0;
    while (position < name.size() &&
           (name[position] == ' ' || (name[position] >= '\t' && name[position] <= '\r'))) {
        ++position;
    }
    bool negative = false;
    if (position < name.size() && (name[position] == '+' || name[position] == '-')) {
        negative = name[position] == '-';
        ++position;
    }
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; position < name.size() && name[position] >= '0' && name[position] <= '9'; ++position) {
        magnitude = std::min(magnitude * 10 + (name[position] - '0'), kLimit);
    }
    const int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<int32_t>(value);
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
