// string_pool.h - the interned texts of one allocation context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "binding/fnv1a.h"

namespace Brix {

// StringEntry is one text of a context: its bytes (NUL-terminated, possibly holding NULs), their
// FNV-1a hash and the number of references the values of the context hold to it. An entry of the pool
// (an interned text) is changed only by the pool. A text held outside the pool (a string value, kept
// in the context's arena without the hash) has kUnpooled set in its count and no hash.
struct StringEntry {
    static constexpr uint32_t kUnpooled = 0x80000000u;

    const char* text;
    std::size_t length;
    uint32_t hash;
    uint32_t references;

    std::string_view View() const noexcept { return {text, length}; }
    bool IsPooled() const noexcept { return (references & kUnpooled) == 0; }
};

// StringPool is the hash set of the texts interned in one allocation context, keyed by hash and
// bytes: an open-addressing table with linear probing whose slots hold the entries. Interning a text
// that is present adds a reference to the present entry; releasing the last reference removes the
// entry. The empty text never enters the pool: it is the one shared static EmptyEntry, which is never
// counted or released.
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
    // text's FNV-1a hash when the caller already knows it (copying from another pool). The overload
    // without looks in the recently interned texts first, which finds the member names a document
    // repeats without hashing them byte by byte.
    StringEntry* Intern(std::string_view text);
    StringEntry* Intern(std::string_view text, uint32_t hash);
    // AddReference counts one more reference to an entry of this pool (or to the empty entry).
    StringEntry* AddReference(StringEntry* entry) noexcept;
    // Release drops one reference and removes the entry with its last one.
    void Release(StringEntry* entry) noexcept;
    // Find returns the entry of text without counting a reference, or nullptr.
    const StringEntry* Find(std::string_view text) const;

    // Size is the number of entries in the pool (the empty entry is never one of them).
    std::size_t Size() const noexcept { return count; }

private:
    // SlotOf is the slot of the entry with text and hash, or of the empty slot where it would go.
    std::size_t SlotOf(std::string_view text, uint32_t hash) const noexcept;
    void Grow();
    void Erase(std::size_t slot) noexcept;
    // RecentSlot is the first of the two places of text among the recently interned texts (the
    // second is the other of its pair): a mix of its length and its first and last eight bytes.
    static std::size_t RecentSlot(std::string_view text) noexcept;

    static constexpr std::size_t kRecentTexts = 256;

    StringEntry** slots = nullptr;  // capacity slots, a power of two, or none before the first entry
    std::size_t capacity = 0;
    std::size_t count = 0;
    // recent is the direct-mapped cache of recently interned entries, made with the first slots;
    // removing an entry from the pool removes it from here too.
    StringEntry** recent = nullptr;
};

}  // namespace Brix
