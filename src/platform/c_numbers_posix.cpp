// c_numbers_posix.cpp - strtod_l over a "C" locale made once.
#include <locale.h>  // newlocale, strtod_l

#include <cstdlib>

#include "platform/c_numbers.h"

namespace Brix::Platform {

double ReadCDouble(const char* text, char** end) noexcept {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return cLocale != static_cast<locale_t>(nullptr) ? strtod_l(text, end, cLocale) : std::strtod(text, end);
}

}  // namespace Brix::Platform
