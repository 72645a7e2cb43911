// c_numbers.h - the C library's reading of floating-point texts, in the "C" locale whatever the
// process has set.
#pragma once

namespace Brix::Platform {

// ReadCDouble is strtod in the "C" locale (C99 syntax: decimal and hexadecimal floats, inf, infinity,
// nan): a host that sets a locale with a decimal comma must not change how numbers read. end receives
// where reading stopped, as strtod gives it.
double ReadCDouble(const char* text, char** end) noexcept;

}  // namespace Brix::Platform
