// system_files_windows.cpp - Windows has devices, but no path under which the file system shows one.
#include "system_files.h"

namespace HuxTest {

std::string DeviceFilePath() {
    return {};
}

}  // namespace HuxTest
