// method_code.cpp - method names and the host's method words.
#include "rest/method_code.h"

#include <array>

namespace Brix {

std::string_view MethodName(MethodCode code) noexcept {
    static constexpr std::array<std::string_view, 8> kNames = {"",        "DELETE", "GET",  "HEAD",
                                                               "OPTIONS", "PATCH",  "POST", "PUT"};
    const auto index = static_cast<uint32_t>(code);
    return index < kNames.size() ? kNames[index] : std::string_view{};
}

MethodCode MethodFromHost(uint32_t code) noexcept {
    return code >= 1 && code <= 8 ? static_cast<MethodCode>(code) : MethodCode::None;
}

}  // namespace Brix
