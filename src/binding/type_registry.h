// type_registry.h - the registry of a plugin's registered structs and enums, indexed by name and id.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "binding/api_records.h"
#include "binding/static_type.h"
#include "binding/type_record.h"

namespace Brix {

// TypeRegistry owns the type records of one plugin module, and the records of the functions and events
// it exposes. Records are added at start-up, before any request is served, and never removed. The
// indexes are read and written under one mutex; the records themselves are immutable once registered.
// A new registry already holds the framework's built-in types.
class TypeRegistry {
public:
    TypeRegistry();
    ~TypeRegistry();
    TypeRegistry(const TypeRegistry&) = delete;
    TypeRegistry& operator=(const TypeRegistry&) = delete;

    // TypeRegistration is the answer of BeginType: the record to fill, or the record registered
    // earlier under the same full name (alreadyRegistered), which must then be left as it is.
    struct TypeRegistration {
        TypeRecord* record = nullptr;
        bool alreadyRegistered = false;
    };

    // BeginType enters a new record under fullName, or finds the one already there. A record with
    // the reserved descriptor is entered in the name index only; a record whose id is already held
    // by another type is not entered in the id index either (the first holder keeps the id).
    TypeRegistration BeginType(std::string_view fullName, uint32_t nativeSize,
                               const StaticTypeDescriptor& staticType, bool isEnum);

    // FindByName is the record registered under fullName, or null.
    const TypeRecord* FindByName(std::string_view fullName) const;

    // FindById is the record registered with that static type id, or null.
    const TypeRecord* FindById(uint32_t id) const;

    // Find is the record registered for the native type T, or null.
    template <class T>
    const TypeRecord* Find() const {
        return FindById(StaticType<T>().id);
    }

    // Types lists every record in registration order.
    std::vector<const TypeRecord*> Types() const;

    // RegisterFunction adds an exposed function, or answers the one already registered under its name.
    const FunctionRecord& RegisterFunction(FunctionRecord function);
    const FunctionRecord* FindFunction(std::string_view name) const;
    // Functions lists every function in registration order.
    std::vector<const FunctionRecord*> Functions() const;

    // RegisterEvent adds an event, or answers the one already registered under its name.
    const EventRecord& RegisterEvent(EventRecord event);
    const EventRecord* FindEvent(std::string_view name) const;
    std::vector<const EventRecord*> Events() const;

private:
    mutable std::mutex mutex;
    std::map<std::string, std::unique_ptr<TypeRecord>, std::less<>> byName;
    std::unordered_map<uint32_t, TypeRecord*> byId;
    std::vector<const TypeRecord*> inOrder;
    std::vector<std::unique_ptr<FunctionRecord>> functions;
    std::vector<std::unique_ptr<EventRecord>> events;
};

}  // namespace Brix
