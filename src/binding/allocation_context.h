// allocation_context.h - the shared storage of a tree of values: string pool, block pools, arena.
#pragma once

#include <atomic>
#include <cstdint>

#include "binding/block_pool.h"
#include "binding/context_arena.h"
#include "binding/string_pool.h"

namespace Brix {

// AllocationContext owns the out-of-line storage of the values built in it: the interned member names,
// four block pools (the headers of blobs, enum cells, collections and member tables) and the arena
// that holds what those headers point to (bytes, elements, member slots and values, string texts).
// Reading a document therefore allocates a few arena chunks and pool pages, not a block per value.
//
// Ownership: a context is reference-counted. Every value that refers to a context holds one
// reference, taken when the value adopts it and dropped when the value dies, so a context lives
// exactly as long as the last value built in it (including values moved out of the tree). Create
// returns a context with one reference that belongs to the caller. The count is atomic, so values of
// one context may die on different threads; everything else about a context, like its values, is
// used by one thread at a time.
class AllocationContext {
public:
    static AllocationContext* Create() { return new AllocationContext(); }

    AllocationContext(const AllocationContext&) = delete;
    AllocationContext& operator=(const AllocationContext&) = delete;

    // Retain adds a reference; Release drops one and destroys the context with the last.
    void Retain() noexcept { references.fetch_add(1, std::memory_order_relaxed); }
    void Release() noexcept {
        if (references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            delete this;
        }
    }
    uint32_t ReferenceCount() const noexcept { return references.load(std::memory_order_relaxed); }

    // ReleaseWithAllStorage is Release for the root of the last tree of the context, which is being
    // destroyed: when the caller holds the last reference and no part of a tree holds a reference to
    // another context, everything the context holds belongs to the caller's tree, and the context is
    // destroyed with all of it at once instead of value by value. Returns false, and changes nothing,
    // otherwise.
    bool ReleaseWithAllStorage() noexcept;
    // NotePartWithOtherContext records that a part of a tree of this context now holds a reference to
    // another context, which only releasing that part value by value gives back.
    void NotePartWithOtherContext() noexcept { partsHoldOtherContexts = true; }

    StringPool& Strings() noexcept { return strings; }
    BlockPool& Blobs() noexcept { return blobs; }
    BlockPool& Enums() noexcept { return enums; }
    BlockPool& Collections() noexcept { return collections; }
    BlockPool& MemberTables() noexcept { return memberTables; }
    ContextArena& Arena() noexcept { return arena; }

private:
    // Private, so that Create and Release are the only ways in and out; the pool sizes are set in
    // the definition, which knows the value's storage types.
    AllocationContext();  // NOLINT(modernize-use-equals-delete)
    ~AllocationContext() = default;

    std::atomic<uint32_t> references{1};
    bool partsHoldOtherContexts = false;
    // The arena is declared first so that it dies last, after the pools that nothing refers to.
    ContextArena arena;
    StringPool strings;
    BlockPool blobs;
    BlockPool enums;
    BlockPool collections;
    BlockPool memberTables;
};

}  // namespace Brix
