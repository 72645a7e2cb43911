// utf8_validity.h - telling at once whether a whole text is well-formed UTF-8.
#pragma once

#include <string_view>

namespace Brix {

// IsWellFormedUtf8 tells whether bytes are UTF-8 as Unicode defines it: no overlong forms, no
// encoded surrogates, nothing above U+10FFFF, no sequence cut short. Runs of ASCII are checked eight
// bytes at a time.
bool IsWellFormedUtf8(std::string_view bytes) noexcept;

}  // namespace Brix
