// plugin_api_version_test.cpp - version text and the compatibility rule.
#include <gtest/gtest.h>

#include "runtime/plugin_api_version.h"

namespace {

using Brix::IsCompatible;
using Brix::PluginApiVersion;

TEST(PluginApiVersion, TextForm) {
    EXPECT_EQ((PluginApiVersion{18, 0, 0, "rc1", "7"}.ToText()), "18.0.0-rc1+7");
    EXPECT_EQ((PluginApiVersion{18, 0, 0, "", "7"}.ToText()), "18.0.0+7");
    EXPECT_EQ((PluginApiVersion{4294967295u, 1, 22, "beta", ""}.ToText()), "4294967295.1.22-beta");
}

TEST(PluginApiVersion, HostsOfTheSameMajorAndNoOlderMinorAndPatchAreCompatible) {
    const PluginApiVersion plugin{18, 2, 3, {}, {}};
    EXPECT_TRUE(IsCompatible(plugin, {18, 2, 3, {}, {}}));
    EXPECT_TRUE(IsCompatible(plugin, {18, 2, 9, {}, {}}));
    EXPECT_TRUE(IsCompatible(plugin, {18, 3, 0, {}, {}}));
    EXPECT_FALSE(IsCompatible(plugin, {18, 2, 2, {}, {}}));
    EXPECT_FALSE(IsCompatible(plugin, {18, 1, 9, {}, {}}));
    EXPECT_FALSE(IsCompatible(plugin, {17, 9, 9, {}, {}}));
    EXPECT_FALSE(IsCompatible(plugin, {19, 2, 3, {}, {}}));
    // Prerelease and build texts take no part.
    EXPECT_TRUE(IsCompatible(plugin, {18, 2, 3, "rc1", "build"}));
}

}  // namespace
