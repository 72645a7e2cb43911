// queue_translations.h - reading the game-data document of localized queue texts into the table.
#pragma once

#include <cstdint>
#include <string_view>

#include "binding/binding_property.h"
#include "binding/type_registry.h"
#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues {

// kQueueTranslationsPath is the game-data asset that holds the localized queue texts.
inline constexpr std::string_view kQueueTranslationsPath = "/hux-game-data/assets/v1/queues.json";

// TranslationKey reads a member name of the document as a queue id: leading white space skipped, an
// optional sign, then decimal digits up to the first other character; a name without leading digits
// gives 0. A number beyond 32 bits is held at the nearest bound rather than wrapped.
int32_t TranslationKey(std::string_view name) noexcept;

// StoreQueueTranslations reads a document (an object whose members are queue ids and whose values
// hold "name", "shortName", "description" and "detailedDescription") into table, member by member in
// the value's order, a later member with the same key replacing the earlier one. A member that does
// not convert is logged as malformed and stored with whatever converted. A document that is not an
// object is logged and stores nothing; the answer is false then.
bool StoreQueueTranslations(const BindingProperty& document, const TypeRegistry& registry,
                            Api::QueueTranslationMap& table);

// LogUnreadableQueueTranslations writes the line for a document that could not be fetched or read.
void LogUnreadableQueueTranslations();

}  // namespace Brix::Client::GameQueues
