// host_value.h - host value cells: their kind names, their release, and a holder that releases one.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "abi/host_abi.h"

namespace Brix {

// EmptyHostValue is a cell of kind 0 with every byte zero. Use it instead of HostValue{}: brace
// initialisation sets only the first byte of the payload union and leaves the rest undefined.
inline HostValue EmptyHostValue() noexcept {
    HostValue cell;
    std::memset(&cell, 0, sizeof(cell));
    return cell;
}

// HostKindName is the name of a cell kind in conversion messages: "bool", "signed", "unsigned",
// "float", "string" (kinds 5 and 6), "blob" (7 and 8), "collection", "structure"; the empty text for
// kind 0 and for every kind above 10.
std::string_view HostKindName(uint32_t kind) noexcept;

// ReleaseHostValue frees what a cell owns and leaves it zero with kind 0. Owned texts and bytes
// (kinds 6 and 8) are freed; arrays and objects (kinds 9 and 10) release every element and member,
// every member name marked as owned, and then their block. Borrowed texts and bytes (kinds 5 and 7)
// are left alone. Everything is freed through the counting wrappers, which is how the cells built by
// ToHostValue were allocated; it must not be used on cells whose memory came from elsewhere.
void ReleaseHostValue(HostValue& cell) noexcept;

// ScopedHostValue owns one cell and releases it when it goes out of scope:
//     ScopedHostValue payload(ToHostValue(value, &registry));
//     event.payload = payload.Get();  ... send ...   // released here
// Take hands the cell over (to a block whose release function frees it) and leaves kind 0 behind.
class ScopedHostValue {
public:
    ScopedHostValue() noexcept = default;
    explicit ScopedHostValue(const HostValue& adopted) noexcept : cell(adopted) {}
    ~ScopedHostValue() { ReleaseHostValue(cell); }

    ScopedHostValue(const ScopedHostValue&) = delete;
    ScopedHostValue& operator=(const ScopedHostValue&) = delete;
    ScopedHostValue(ScopedHostValue&& other) noexcept : cell(other.Take()) {}
    ScopedHostValue& operator=(ScopedHostValue&& other) noexcept;

    const HostValue& Get() const noexcept { return cell; }
    HostValue& Get() noexcept { return cell; }

    // Take returns the cell and leaves this holder with an empty one; the caller now releases it.
    HostValue Take() noexcept;

    // Reset releases the cell held and adopts another (kind 0 by default).
    void Reset(const HostValue& adopted = EmptyHostValue()) noexcept;

private:
    HostValue cell = EmptyHostValue();
};

}  // namespace Brix
