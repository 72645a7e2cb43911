// type_registry.cpp - registration and lookup of type records.
#include "binding/type_registry.h"

#include "binding/builtin_types.h"
#include "logging/logger.h"

namespace Brix {

TypeRegistry::TypeRegistry() {
    RegisterBuiltinTypes(*this);
}
TypeRegistry::~TypeRegistry() = default;

TypeRegistry::TypeRegistration TypeRegistry::BeginType(std::string_view fullName, uint32_t nativeSize,
                                                       const StaticTypeDescriptor& staticType, bool isEnum) {
    const std::lock_guard lock(mutex);
    if (const auto present = byName.find(fullName); present != byName.end()) {
        return {present->second.get(), true};
    }

    auto record = std::make_unique<TypeRecord>();
    record->nativeSize = nativeSize;
    record->isEnum = isEnum;
    record->fullName = std::string(fullName);
    record->id = staticType.id;
    record->staticType = &staticType;
    record->registry = this;

    TypeRecord* entered = record.get();
    byName.emplace(entered->fullName, std::move(record));
    inOrder.push_back(entered);
    if (&staticType != &ReservedStaticType()) {
        const auto [holder, inserted] = byId.emplace(staticType.id, entered);
        if (!inserted) {
            Log(LogLevel::Error, kPluginLogGroup,
                "Type id %08X of %s is already held by %s; %s is reachable by name only", staticType.id,
                entered->fullName.c_str(), holder->second->fullName.c_str(), entered->fullName.c_str());
        }
    }
    return {entered, false};
}

const TypeRecord* TypeRegistry::FindByName(std::string_view fullName) const {
    const std::lock_guard lock(mutex);
    const auto found = byName.find(fullName);
    return found == byName.end() ? nullptr : found->second.get();
}

const TypeRecord* TypeRegistry::FindById(uint32_t id) const {
    const std::lock_guard lock(mutex);
    const auto found = byId.find(id);
    return found == byId.end() ? nullptr : found->second;
}

std::vector<const TypeRecord*> TypeRegistry::Types() const {
    const std::lock_guard lock(mutex);
    return inOrder;
}

const FunctionRecord& TypeRegistry::RegisterFunction(FunctionRecord function) {
    const std::lock_guard lock(mutex);
    for (const auto& present : functions) {
        if (present->name == function.name) {
            return *present;
        }
    }
    return *functions.emplace_back(std::make_unique<FunctionRecord>(std::move(function)));
}

const FunctionRecord* TypeRegistry::FindFunction(std::string_view name) const {
    const std::lock_guard lock(mutex);
    for (const auto& function : functions) {
        if (function->name == name) {
            return function.get();
        }
    }
    return nullptr;
}

std::vector<const FunctionRecord*> TypeRegistry::Functions() const {
    const std::lock_guard lock(mutex);
    std::vector<const FunctionRecord*> list;
    list.reserve(functions.size());
    for (const auto& function : functions) {
        list.push_back(function.get());
    }
    return list;
}

const EventRecord& TypeRegistry::RegisterEvent(EventRecord event) {
    const std::lock_guard lock(mutex);
    for (const auto& present : events) {
        if (present->name == event.name) {
            return *present;
        }
    }
    return *events.emplace_back(std::make_unique<EventRecord>(std::move(event)));
}

const EventRecord* TypeRegistry::FindEvent(std::string_view name) const {
    const std::lock_guard lock(mutex);
    for (const auto& event : events) {
        if (event->name == name) {
            return event.get();
        }
    }
    return nullptr;
}

std::vector<const EventRecord*> TypeRegistry::Events() const {
    const std::lock_guard lock(mutex);
    std::vector<const EventRecord*> list;
    list.reserve(events.size());
    for (const auto& event : events) {
        list.push_back(event.get());
    }
    return list;
}

}  // namespace Brix
