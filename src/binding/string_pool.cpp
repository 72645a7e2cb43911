// string_pool.cpp - interning and release of the texts of an allocation context.
#include "binding/string_pool.h"

#include <cassert>
#include <cstring>
#include <new>

namespace Brix {

namespace {

constinit StringEntry emptyEntry{"", 0, kFnv1aOffsetBasis, 0};

// NewEntry allocates the entry and its bytes as one block: the header, then the text and a NUL.
StringEntry* NewEntry(std::string_view text, uint32_t hash) {
    void* memory = ::operator new(sizeof(StringEntry) + text.size() + 1);
    char* bytes = static_cast<char*>(memory) + sizeof(StringEntry);
    if (!text.empty()) {
        std::memcpy(bytes, text.data(), text.size());
    }
    bytes[text.size()] = '\0';
    return new (memory) StringEntry{bytes, text.size(), hash, 1};
}

void DeleteEntry(StringEntry* entry) noexcept {
    ::operator delete(entry);
}

}  // namespace

StringPool::~StringPool() {
    for (StringEntry* entry : entries) {
        DeleteEntry(entry);
    }
}

StringEntry* StringPool::EmptyEntry() noexcept {
    return &emptyEntry;
}

StringEntry* StringPool::Intern(std::string_view text, uint32_t hash) {
    if (text.empty()) {
        return &emptyEntry;
    }
    if (auto found = entries.find(Key{text, hash}); found != entries.end()) {
        ++(*found)->references;
        return *found;
    }
    StringEntry* entry = NewEntry(text, hash);
    try {
        entries.insert(entry);
    } catch (...) {
        DeleteEntry(entry);
        throw;
    }
    return entry;
}

StringEntry* StringPool::AddReference(StringEntry* entry) noexcept {
    if (entry != &emptyEntry) {
        assert(entries.contains(entry) && "entry of another pool");
        ++entry->references;
    }
    return entry;
}

void StringPool::Release(StringEntry* entry) noexcept {
    if (entry == &emptyEntry) {
        return;
    }
    assert(entries.contains(entry) && "entry of another pool");
    if (--entry->references == 0) {
        entries.erase(entry);
        DeleteEntry(entry);
    }
}

const StringEntry* StringPool::Find(std::string_view text) const {
    if (text.empty()) {
        return &emptyEntry;
    }
    auto found = entries.find(Key{text, Fnv1a32(text)});
    return found == entries.end() ? nullptr : *found;
}

}  // namespace Brix
