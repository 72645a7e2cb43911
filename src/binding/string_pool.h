// string_pool.h - the interned texts of one allocation context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_set>

#include "binding/fnv1a.h"

namespace Brix {

// StringEntry is one interned text: its bytes (NUL-terminated, possibly holding NULs), their FNV-1a
// hash and the number of references the values of the context hold to it. Only the pool changes it.
struct StringEntry {
    const char* text;
    std::size_t length;
    uint32_t hash;
    uint32_t references;

    std::string_view View() const noexcept { return {text, length}; }
};

// StringPool is the hash set of the texts interned in one allocation context, keyed by hash and
// bytes. Interning a text that is present adds a reference to the present entry; releasing the last
// reference removes the entry. The empty text never enters the pool: it is the one shared static
// EmptyEntry, which is never counted or released.
//
// A pool is not thread-safe: it belongs to one allocation context, used by one thread at a time.
class StringPool {
public:
    StringPool() = default;
    ~StringPool();
    StringPool(const StringPool&) = delete;
    StringPool& operator=(const StringPool&) = delete;

    // EmptyEntry is the entry of the empty text, shared by every pool.
    static StringEntry* EmptyEntry() noexcept;

    // Intern returns the entry of text with one more reference. The overload with a hash takes the
    // text's FNV-1a hash when the caller already knows it (copying from another pool).
    StringEntry* Intern(std::string_view text) { return Intern(text, Fnv1a32(text)); }
    StringEntry* Intern(std::string_view text, uint32_t hash);
    // AddReference counts one more reference to an entry of this pool (or to the empty entry).
    StringEntry* AddReference(StringEntry* entry) noexcept;
    // Release drops one reference and removes the entry with its last one.
    void Release(StringEntry* entry) noexcept;
    // Find returns the entry of text without counting a reference, or nullptr.
    const StringEntry* Find(std::string_view text) const;

    // Size is the number of entries in the pool (the empty entry is never one of them).
    std::size_t Size() const noexcept { return entries.size(); }

private:
    // Key lets the set be searched with a text and its hash without making an entry.
    struct Key {
        std::string_view text;
        uint32_t hash;
    };
    struct EntryHash {
        using is_transparent = void;
        std::size_t operator()(const StringEntry* entry) const noexcept { return entry->hash; }
        std::size_t operator()(const Key& key) const noexcept { return key.hash; }
    };
    struct EntryEqual {
        using is_transparent = void;
        bool operator()(const StringEntry* a, const StringEntry* b) const noexcept { return a == b; }
        bool operator()(const Key& key, const StringEntry* entry) const noexcept {
            return key.hash == entry->hash && key.text == entry->View();
        }
        bool operator()(const StringEntry* entry, const Key& key) const noexcept {
            return (*this)(key, entry);
        }
    };

    std::unordered_set<StringEntry*, EntryHash, EntryEqual> entries;
};

}  // namespace Brix
