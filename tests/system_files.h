// system_files.h - files of the system that tests may point the programs at.
#pragma once

#include <string>

namespace HuxTest {

// DeviceFilePath is a character device that reads endlessly ("/dev/zero"), or empty on a system whose
// file names have none (Windows).
std::string DeviceFilePath();

}  // namespace HuxTest
