// type_record.cpp - lookups inside a type record.
#include "binding/type_record.h"

namespace Brix {

const EnumeratorRecord* TypeRecord::FindEnumerator(std::string_view name) const noexcept {
    const auto found = enumerators.find(name);
    return found == enumerators.end() ? nullptr : &found->second;
}

const EnumeratorRecord* TypeRecord::FindEnumeratorByNumber(int64_t number) const noexcept {
    for (const auto& [name, enumerator] : enumerators) {
        if (enumerator.number == number) {
            return &enumerator;
        }
    }
    return nullptr;
}

const FieldRecord* TypeRecord::FindField(std::string_view name) const noexcept {
    const uint32_t hash = Fnv1a32(name);
    for (const FieldRecord& field : fields) {
        if (field.nameHash == hash && field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace Brix
