// console_streams.h - hux-host's standard output and error, byte for byte on every system.
#pragma once

namespace HuxHost {

// WriteStreamsAsBytes makes standard output and error write exactly the bytes given: on Windows the C
// runtime would otherwise turn each line feed into a carriage return and line feed, so that a report or
// a JSON document would differ from the one on other systems.
void WriteStreamsAsBytes();

}  // namespace HuxHost
