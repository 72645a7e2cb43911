// event_names_test.cpp - event names of resource URIs and resource patterns.
#include "runtime/event_names.h"

#include <gtest/gtest.h>

namespace Brix {
namespace {

TEST(EventNames, KeepThreePiecesOfTheUriOrFiveUnderPlatformConfig) {
    EXPECT_EQ(EventNameFromUri("/hux-game-queues/v1/queues/42"), "OnJsonApiEvent_hux-game-queues_v1_queues");
    EXPECT_EQ(EventNameFromUri(""), "OnJsonApiEvent");
    EXPECT_EQ(EventNameFromUri("/hux-platform-config/v1/namespaces/X/Y/Z"),
              "OnJsonApiEvent_hux-platform-config_v1_namespaces_X_Y");
    EXPECT_EQ(EventNameFromUri("/hux-platform-config/v1"), "OnJsonApiEvent_hux-platform-config_v1");
    // Only the first piece opens the deeper names; empty pieces do not count.
    EXPECT_EQ(EventNameFromUri("/x/hux-platform-config/a/b/c"), "OnJsonApiEvent_x_hux-platform-config_a");
    EXPECT_EQ(EventNameFromUri("//a///b/c/d"), "OnJsonApiEvent_a_b_c");
}

TEST(ResourcePatterns, StarTakesOneSegmentAndAtTheEndAtLeastOneCharacter) {
    EXPECT_TRUE(ResourcePatternMatches("/x/*/y", "/x/abc/y"));
    EXPECT_TRUE(ResourcePatternMatches("/x/*/y", "/x//y"));
    EXPECT_FALSE(ResourcePatternMatches("/x/*/y", "/x/a/b/y"));
    EXPECT_TRUE(ResourcePatternMatches("/x/*", "/x/a"));
    EXPECT_FALSE(ResourcePatternMatches("/x/*", "/x/"));
    EXPECT_FALSE(ResourcePatternMatches("/x/*", "/x/a/b"));
    EXPECT_TRUE(ResourcePatternMatches("/x/*/*", "/x/a/b"));
    // A star runs to the next "/": text after it inside the same segment can never match.
    EXPECT_FALSE(ResourcePatternMatches("/x/*.json", "/x/a.json"));
    EXPECT_FALSE(ResourcePatternMatches("/x/a", "/x/ab"));
    // Uris are normalised to one leading slash before they are matched.
    EXPECT_EQ(NormaliseResourceUri(""), "/");
}

}  // namespace
}  // namespace Brix
