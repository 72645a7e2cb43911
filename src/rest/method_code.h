// method_code.h - the method codes shared with the host and their names.
#pragma once

#include <cstdint>
#include <string_view>

namespace Brix {

// MethodCode is the method of a request or an endpoint; 8 calls a named function instead of a path.
enum class MethodCode : uint32_t {
    None = 0,
    Delete = 1,
    Get = 2,
    Head = 3,
    Options = 4,
    Patch = 5,
    Post = 6,
    Put = 7,
    Function = 8,
};

// MethodName is "DELETE" to "PUT" for codes 1 to 7, the empty text for every other code.
std::string_view MethodName(MethodCode code) noexcept;

// MethodFromHost takes a host's method word; a code outside 1 to 8 is None.
MethodCode MethodFromHost(uint32_t code) noexcept;

}  // namespace Brix
