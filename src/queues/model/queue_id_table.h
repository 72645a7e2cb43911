// queue_id_table.h - tables keyed by queue id, made once per list build and looked up once per queue.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace Brix::Client::GameQueues {

// QueueIdTable maps queue ids to values and finds an id in constant time, so that a list build does
// not search a configuration list once per queue. It is an open-addressing table kept at most half
// full; for an id added twice the first value stays.
template <class Value>
class QueueIdTable {
public:
    // QueueIdTable makes room for expectedIds ids at once; more ids make it grow.
    explicit QueueIdTable(std::size_t expectedIds = 0) {
        if (expectedIds != 0) {
            Resize(std::bit_ceil(expectedIds * 2));
        }
    }

    // Add files value under id unless the id is there already.
    void Add(int32_t id, const Value& value) {
        if (id == kFreeSlot) {
            if (!freeSlotIdValue) {
                freeSlotIdValue = value;
            }
            return;
        }
        if ((used + 1) * 2 > slots.size()) {
            Resize(slots.size() * 2);
        }
        Slot& slot = slots[IndexOf(id)];
        if (slot.id == kFreeSlot) {
            slot = Slot{id, value};
            ++used;
        }
    }

    // Find is the value filed under id, or null.
    const Value* Find(int32_t id) const noexcept {
        if (id == kFreeSlot) {
            return freeSlotIdValue ? &*freeSlotIdValue : nullptr;
        }
        if (used == 0) {
            return nullptr;
        }
        const Slot& slot = slots[IndexOf(id)];
        return slot.id == id ? &slot.value : nullptr;
    }

private:
    // kFreeSlot marks a slot without an id; the id itself, when added, is kept apart.
    static constexpr int32_t kFreeSlot = std::numeric_limits<int32_t>::min();
    static constexpr std::size_t kMinimumSlots = 8;
    // kHashFactor is 2^64 divided by the golden ratio: multiplying by it spreads consecutive ids over
    // the whole table, whose index is then taken from the top bits of the product.
    static constexpr uint64_t kHashFactor = 0x9E3779B97F4A7C15u;

    struct Slot {
        int32_t id = kFreeSlot;
        [[no_unique_address]] Value value{};
    };

    // IndexOf is the slot that holds id or, when id is absent, the free slot where it would go. The
    // table is at most half full, so every probe sequence reaches a free slot.
    std::size_t IndexOf(int32_t id) const noexcept {
        std::size_t at =
            static_cast<std::size_t>((uint64_t{static_cast<uint32_t>(id)} * kHashFactor) >> shift);
        while (slots[at].id != id && slots[at].id != kFreeSlot) {
            at = (at + 1) & mask;
        }
        return at;
    }

    // Resize moves the ids into a table of count slots (at least kMinimumSlots).
    void Resize(std::size_t count) {
        count = std::max(count, kMinimumSlots);
        std::vector<Slot> old = std::exchange(slots, std::vector<Slot>(count));
        mask = count - 1;
        shift = static_cast<unsigned>(64 - std::countr_zero(count));
        for (const Slot& slot : old) {
            if (slot.id != kFreeSlot) {
                slots[IndexOf(slot.id)] = slot;
            }
        }
    }

    std::vector<Slot> slots;  // a power of two of them, or none
    std::size_t used = 0;     // the slots holding an id
    std::size_t mask = 0;     // the number of slots minus 1
    unsigned shift = 0;       // 64 minus the number of bits of a slot index
    std::optional<Value> freeSlotIdValue;
};

// QueueIdSet holds the ids of a list of queue ids, given in any order and with repeats.
class QueueIdSet {
public:
    explicit QueueIdSet(std::span<const int32_t> ids) : table(ids.size()) {
        for (const int32_t id : ids) {
            table.Add(id, Present{});
        }
    }

    bool Contains(int32_t id) const noexcept { return table.Find(id) != nullptr; }

private:
    struct Present {};
    QueueIdTable<Present> table;
};

}  // namespace Brix::Client::GameQueues
