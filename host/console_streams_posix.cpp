// console_streams_posix.cpp - POSIX streams write bytes as they are.
#include "console_streams.h"

namespace HuxHost {

void WriteStreamsAsBytes() {}

}  // namespace HuxHost
