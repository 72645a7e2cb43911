// printable_text.h - text from outside made safe to print on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace HuxHost {

// Printable is text with every byte a terminal could take as a command escaped as "\xHH": the control
// characters (below 0x20, 0x7f and U+0080 to U+009F) and every byte that is not part of well-formed
// UTF-8. Everything else, other languages' letters included, is kept as it is.
std::string Printable(std::string_view text);

}  // namespace HuxHost
