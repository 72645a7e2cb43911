// console_streams_windows.cpp - standard output and error in binary mode.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "console_streams.h"

namespace HuxHost {

void WriteStreamsAsBytes() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace HuxHost
