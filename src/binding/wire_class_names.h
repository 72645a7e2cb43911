// wire_class_names.h - the names under which the LCDS server knows the records a plugin registers.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace Brix {

// WireClassNames maps a record to the class name the LCDS wire uses for it ("com.brixworks...."),
// once by the record's binding name and once by its static type identity. A module owns one; the
// plugin fills it while registering its matchmaker records, and the LCDS invoke checks answers
// against it.
struct WireClassNames {
    std::unordered_map<std::string, std::string> byBindingName;
    std::unordered_map<uint32_t, std::string> byTypeId;

    // Add records both names of one record.
    void Add(const std::string& bindingName, uint32_t typeId, const std::string& wireClass) {
        byBindingName[bindingName] = wireClass;
        byTypeId[typeId] = wireClass;
    }
    // FindByTypeId returns the wire class name kept for a static type identity, or null.
    const std::string* FindByTypeId(uint32_t typeId) const {
        auto found = byTypeId.find(typeId);
        return found == byTypeId.end() ? nullptr : &found->second;
    }
};

}  // namespace Brix
