// allocation_context.cpp - the block sizes of an allocation context's pools.
#include "binding/allocation_context.h"

#include "binding/binding_property.h"

namespace Brix {

AllocationContext::AllocationContext()
    : blobs(sizeof(BlobBytes)),
      enums(sizeof(EnumCell)),
      collections(sizeof(ElementVector)),
      memberTables(sizeof(MemberTable)) {}

}  // namespace Brix
