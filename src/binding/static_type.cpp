// static_type.cpp - the reserved static type descriptor.
#include "binding/static_type.h"

namespace Brix {

const StaticTypeDescriptor& ReservedStaticType() noexcept {
    static constexpr StaticTypeDescriptor kReserved{kReservedTypeId, "#1BE7EF8E"};
    return kReserved;
}

}  // namespace Brix
