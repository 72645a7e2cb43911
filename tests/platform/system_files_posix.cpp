// system_files_posix.cpp - the system files of POSIX systems.
#include "system_files.h"

namespace HuxTest {

std::string DeviceFilePath() {
    return "/dev/zero";
}

}  // namespace HuxTest
