// type_builder.cpp - the untyped core of type registration.
#include "binding/type_builder.h"

#include "binding/fnv1a.h"

namespace Brix {

TypeBuilder::TypeBuilder(TypeRegistry& target, std::string_view fullName, uint32_t nativeSize,
                         const StaticTypeDescriptor& staticType, bool isEnum)
    : registry(&target) {
    const TypeRegistry::TypeRegistration registration =
        target.BeginType(fullName, nativeSize, staticType, isEnum);
    record = registration.record;
    alreadyRegistered = registration.alreadyRegistered;
}

void TypeBuilder::AddEnumerator(std::string_view name, int32_t number, std::string_view description) {
    if (alreadyRegistered) {
        return;
    }
    auto found = record->enumerators.find(name);
    if (found == record->enumerators.end()) {
        found = record->enumerators.emplace(std::string(name), EnumeratorRecord{}).first;
        found->second.name = std::string(name);
        found->second.owner = record;
    }
    found->second.number = number;
    found->second.description = std::string(description);
}

void TypeBuilder::AddField(FieldRecord field) {
    if (alreadyRegistered) {
        return;
    }
    field.nameHash = Fnv1a32(field.name);
    field.owner = record;
    if (field.attributes && (*field.attributes)[0] == 0) {
        field.attributes.reset();
    }
    lastOffset = field.offset;
    record->fields.push_back(std::move(field));
}

void TypeBuilder::AddTag(std::string_view tag) {
    if (alreadyRegistered || tag.empty()) {
        return;
    }
    record->tags.emplace_back(tag);
}

void TypeBuilder::SetDescription(std::string_view description) {
    if (!alreadyRegistered) {
        record->description = std::string(description);
    }
}

void TypeBuilder::SetNamespace(std::string_view nameSpace) {
    if (!alreadyRegistered) {
        record->nameSpace = std::string(nameSpace);
    }
}

}  // namespace Brix
