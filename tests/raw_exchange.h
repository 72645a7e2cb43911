// raw_exchange.h - bytes sent to a server as no HTTP client would send them.
#pragma once

#include <string>

#include "child_process.h"

namespace HuxTest {

// RawExchange sends bytes on a new loopback connection to port and answers everything the server
// writes back until it closes the connection or the deadline passes (then the answer ends with
// "[no more before the deadline]").
std::string RawExchange(int port, const std::string& bytes, Clock::time_point deadline);

}  // namespace HuxTest
