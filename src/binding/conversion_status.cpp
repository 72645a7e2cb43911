// conversion_status.cpp - recording the first failure of a conversion.
#include "binding/conversion_status.h"

#include <utility>

namespace Brix {

namespace {

constexpr std::string_view kErrorMember = "error";

}  // namespace

void ConversionStatus::Fail(std::string_view message) {
    if (!ok) {
        return;
    }
    ok = false;  // first, so that running out of memory below cannot pass for success
    // Build the replacement before releasing the value: message may view one of its strings.
    BindingProperty failure(value.Context());
    failure.MemberForWriting(kErrorMember).SetString(message);
    value = std::move(failure);
}

std::string_view ConversionStatus::Message() const noexcept {
    return ok ? std::string_view() : value.Member(kErrorMember).AsString();
}

}  // namespace Brix
