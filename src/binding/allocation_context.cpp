// allocation_context.cpp - the block sizes of an allocation context's pools.
#include "binding/allocation_context.h"

#include "binding/binding_property.h"

namespace Brix {

AllocationContext::AllocationContext()
    : blobs(sizeof(BlobBytes)),
      enums(sizeof(EnumCell)),
      collections(sizeof(ElementVector)),
      memberTables(sizeof(MemberTable)) {}

bool AllocationContext::ReleaseWithAllStorage() noexcept {
    if (partsHoldOtherContexts || references.load(std::memory_order_acquire) != 1) {
        return false;
    }
    // The pools' blocks are plain headers; the strings, elements, members and texts they point to
    // live in the arena and the string pool, which free everything they hold when they die.
    blobs.AbandonBlocks();
    enums.AbandonBlocks();
    collections.AbandonBlocks();
    memberTables.AbandonBlocks();
    delete this;
    return true;
}

}  // namespace Brix
