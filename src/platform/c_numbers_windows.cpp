// c_numbers_windows.cpp - MinGW-w64's C99 strtod. The system C runtime's own strtod reads neither
// hexadecimal floats nor inf and nan; MinGW's reads them, and takes its decimal point from the locale
// of this library's C runtime, which only this library could change (a host has a runtime of its
// own), and never does.
#include <cstdlib>

#include "platform/c_numbers.h"

namespace Brix::Platform {

double ReadCDouble(const char* text, char** end) noexcept {
    return __mingw_strtod(text, end);
}

}  // namespace Brix::Platform
