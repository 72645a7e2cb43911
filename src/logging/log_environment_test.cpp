// log_environment_test.cpp - the executable name taken from a program path.
#include "logging/log_environment.h"

#include <gtest/gtest.h>

#include <string>

namespace Brix {
namespace {

TEST(LogEnvironment, ExecutableNameIsTheLastPathComponent) {
    EXPECT_EQ(ExecutableNameFromPath("/opt/client/hux-host"), "hux-host");
    EXPECT_EQ(ExecutableNameFromPath("C:\\Games\\Client\\GameClient.exe"), "GameClient.exe");
    EXPECT_EQ(ExecutableNameFromPath("/mixed\\dir/name"), "name");
    EXPECT_EQ(ExecutableNameFromPath("/opt/client/"), "<unknown>");
    EXPECT_EQ(ExecutableName(), std::string("hux_logging_tests") + HUX_EXECUTABLE_SUFFIX);
}

}  // namespace
}  // namespace Brix
