// host_value.cpp - kind names and release of host value cells.
#include "host_values/host_value.h"

#include <array>

#include "host_values/allocation_stats.h"

namespace Brix {

std::string_view HostKindName(uint32_t kind) noexcept {
    constexpr std::array<std::string_view, 11> kNames = {"",      "bool",       "signed",   "unsigned",
                                                         "float", "string",     "string",   "blob",
                                                         "blob",  "collection", "structure"};
    return kind < kNames.size() ? kNames[kind] : kNames[0];
}

void ReleaseHostValue(HostValue& cell) noexcept {
    void* const data = cell.payload.ref.data;
    const uint32_t length = cell.payload.ref.length;
    switch (cell.kind) {
        case HOST_VALUE_OWNED_TEXT:
        case HOST_VALUE_OWNED_BYTES:
            CountedRelease(data);
            break;
        case HOST_VALUE_ARRAY:
            if (data != nullptr) {
                auto* elements = static_cast<HostValue*>(data);
                for (uint32_t i = 0; i < length; ++i) {
                    ReleaseHostValue(elements[i]);
                }
                CountedRelease(data);
            }
            break;
        case HOST_VALUE_OBJECT:
            if (data != nullptr) {
                auto* members = static_cast<HostValueMember*>(data);
                for (uint32_t i = 0; i < length; ++i) {
                    ReleaseHostValue(members[i].value);
                    if (members[i].nameOwned != 0) {
                        // The name was allocated writable by this side; the field is const for readers.
                        CountedRelease(const_cast<char*>(members[i].name));
                    }
                }
                CountedRelease(data);
            }
            break;
        default:
            break;  // scalars own nothing; borrowed texts and bytes belong to whoever lent them
    }
    cell = EmptyHostValue();
}

ScopedHostValue& ScopedHostValue::operator=(ScopedHostValue&& other) noexcept {
    if (this != &other) {
        Reset(other.Take());
    }
    return *this;
}

HostValue ScopedHostValue::Take() noexcept {
    const HostValue taken = cell;
    cell = EmptyHostValue();
    return taken;
}

void ScopedHostValue::Reset(const HostValue& adopted) noexcept {
    if (&adopted == &cell) {
        return;  // adopting the cell already held must not free it
    }
    ReleaseHostValue(cell);
    cell = adopted;
}

}  // namespace Brix
