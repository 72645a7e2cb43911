// string_pool.cpp - interning and release of the texts of an allocation context.
#include "binding/string_pool.h"

#include <cassert>
#include <cstring>
#include <new>

namespace Brix {

namespace {

constinit StringEntry emptyEntry{"", 0, kFnv1aOffsetBasis, 0};

constexpr std::size_t kFirstCapacity = 16;

// NewEntry allocates the entry and its bytes as one block: the header, then the text and a NUL.
StringEntry* NewEntry(std::string_view text, uint32_t hash) {
    void* memory = ::operator new(sizeof(StringEntry) + text.size() + 1);
    char* bytes = static_cast<char*>(memory) + sizeof(StringEntry);
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    return new (memory) StringEntry{bytes, text.size(), hash, 1};
}

void DeleteEntry(StringEntry* entry) noexcept {
    ::operator delete(entry);
}

}  // namespace

StringPool::~StringPool() {
    for (std::size_t slot = 0; slot < capacity; ++slot) {
        if (slots[slot] != nullptr) {
            DeleteEntry(slots[slot]);
        }
    }
    delete[] slots;
    delete[] recent;
}

StringEntry* StringPool::EmptyEntry() noexcept {
    return &emptyEntry;
}

std::size_t StringPool::SlotOf(std::string_view text, uint32_t hash) const noexcept {
    const std::size_t mask = capacity - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const StringEntry* entry = slots[slot];
        if (entry == nullptr || (entry->hash == hash && entry->View() == text)) {
            return slot;
        }
    }
}

std::size_t StringPool::RecentSlot(std::string_view text) noexcept {
    uint64_t first = 0;
    uint64_t last = 0;
    if (text.size() >= sizeof(first)) {
        std::memcpy(&first, text.data(), sizeof(first));
        std::memcpy(&last, text.data() + text.size() - sizeof(last), sizeof(last));
    } else {
        std::memcpy(&first, text.data(), text.size());
    }
    const uint64_t mixed = (first * 0x9E3779B97F4A7C15ULL) ^ (last * 0xC2B2AE3D27D4EB4FULL) ^ text.size();
    return static_cast<std::size_t>((mixed ^ (mixed >> 29)) * 0xBF58476D1CE4E5B9ULL >> 56);
}

StringEntry* StringPool::Intern(std::string_view text) {
    if (text.empty()) {
        return &emptyEntry;
    }
    // Two places per text: a text found in the second moves to the first, and a new one takes the
    // first and pushes its holder to the second, so two names that share places both stay.
    const std::size_t place = RecentSlot(text);
    if (recent != nullptr) {
        for (const std::size_t at : {place, place ^ 1}) {
            if (StringEntry* entry = recent[at]; entry != nullptr && entry->View() == text) {
                ++entry->references;
                return entry;
            }
        }
    }
    StringEntry* entry = Intern(text, Fnv1a32(text));
    if (recent != nullptr) {  // made by the first Intern with a hash, which has just run
        recent[place ^ 1] = recent[place];
        recent[place] = entry;
    }
    return entry;
}

StringEntry* StringPool::Intern(std::string_view text, uint32_t hash) {
    if (text.empty()) {
        return &emptyEntry;
    }
    // At most half the slots are used, so every probe ends at an empty slot.
    if ((count + 1) * 2 > capacity) {
        Grow();
    }
    const std::size_t slot = SlotOf(text, hash);
    if (slots[slot] != nullptr) {
        ++slots[slot]->references;
        return slots[slot];
    }
    slots[slot] = NewEntry(text, hash);
    ++count;
    return slots[slot];
}

void StringPool::Grow() {
    const std::size_t oldCapacity = capacity;
    StringEntry** oldSlots = slots;
    const std::size_t newCapacity = capacity == 0 ? kFirstCapacity : capacity * 2;
    if (recent == nullptr) {
        recent = new StringEntry*[kRecentTexts]();
    }
    slots = new StringEntry*[newCapacity]();
    capacity = newCapacity;
    for (std::size_t slot = 0; slot < oldCapacity; ++slot) {
        if (StringEntry* entry = oldSlots[slot]; entry != nullptr) {
            slots[SlotOf(entry->View(), entry->hash)] = entry;
        }
    }
    delete[] oldSlots;
}

StringEntry* StringPool::AddReference(StringEntry* entry) noexcept {
    if (entry != &emptyEntry) {
        assert(Find(entry->View()) == entry && "entry of another pool");
        ++entry->references;
    }
    return entry;
}

void StringPool::Release(StringEntry* entry) noexcept {
    if (entry == &emptyEntry) {
        return;
    }
    assert(Find(entry->View()) == entry && "entry of another pool");
    if (--entry->references == 0) {
        const std::size_t place = RecentSlot(entry->View());
        for (const std::size_t at : {place, place ^ 1}) {
            if (recent[at] == entry) {
                recent[at] = nullptr;
            }
        }
        Erase(SlotOf(entry->View(), entry->hash));
        --count;
        DeleteEntry(entry);
    }
}

// Erase empties a slot and moves later entries of its probe run back, so that no run has a gap.
void StringPool::Erase(std::size_t slot) noexcept {
    const std::size_t mask = capacity - 1;
    std::size_t hole = slot;
    for (std::size_t next = (hole + 1) & mask; slots[next] != nullptr; next = (next + 1) & mask) {
        const std::size_t home = slots[next]->hash & mask;
        // The entry at next may fill the hole when its home is not in the cyclic range (hole, next].
        const bool homeAfterHole =
            hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
        if (!homeAfterHole) {
            slots[hole] = slots[next];
            hole = next;
        }
    }
    slots[hole] = nullptr;
}

const StringEntry* StringPool::Find(std::string_view text) const {
    if (text.empty()) {
        return &emptyEntry;
    }
    if (count == 0) {
        return nullptr;
    }
    return slots[SlotOf(text, Fnv1a32(text))];
}

}  // namespace Brix
