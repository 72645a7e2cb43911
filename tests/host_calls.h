// host_calls.h - comparing the calls a plugin made into the development host.
#pragma once

#include <vector>

#include "dev_host.h"

namespace HuxTest {

// Slots lists the slots of calls, for comparing call sequences.
inline std::vector<HuxHost::HostSlot> Slots(const std::vector<HuxHost::HostCall>& calls) {
    std::vector<HuxHost::HostSlot> slots;
    for (const HuxHost::HostCall& call : calls) {
        slots.push_back(call.slot);
    }
    return slots;
}

}  // namespace HuxTest
