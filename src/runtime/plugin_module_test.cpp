// plugin_module_test.cpp - the handshake's effect on a module, and identities.
#include <gtest/gtest.h>

#include "logging/log_test_support.h"
#include "runtime/plugin_identity.h"
#include "runtime/plugin_module.h"

namespace {

using namespace Brix;

class TestModule : public PluginModule {
public:
    void RegisterEndpoints() override { ++registerCalls; }
    int registerCalls = 0;
};

TEST(PluginModule, HandshakeFormsIdentityAndPrefixAndPointsTheBlockAtTheModule) {
    TestModule module;
    HostLoadBlock block{};
    block.major = 18;
    block.minor = 1;
    module.Handshake(&block, "hux-game-queues");

    EXPECT_EQ(module.Identity().fullName, "tnk-be-hux-game-queues");
    EXPECT_EQ(module.NamePrefix(), "HuxGameQueues");
    EXPECT_EQ(module.registerCalls, 1);

    // The block is packed: copy its address fields out before comparing them.
    const PluginCallbacks* callbacks = block.callbacks;
    void* instance = block.instance;
    const HostEndpointTable* endpoints = block.endpoints;
    EXPECT_EQ(callbacks, &module.Callbacks());
    EXPECT_EQ(instance, static_cast<void*>(static_cast<PluginModule*>(&module)));
    EXPECT_EQ(endpoints, &module.EndpointTable());
}

class PluginIdentityTest : public FreshLoggerTest {};

TEST_F(PluginIdentityTest, FullNamesByTypeKind) {
    RecordingLogTarget target;
    ASSERT_TRUE(target.Register());

    EXPECT_EQ(GetFullNameFromShortNameAndType("hux-game-queues", {"backend", ""}), "tnk-be-hux-game-queues");
    EXPECT_EQ(GetFullNameFromShortNameAndType("hux-lobby", {"frontend", "q"}), "tnk-fe-hux-lobby");
    EXPECT_TRUE(target.records.empty());

    EXPECT_EQ(GetFullNameFromShortNameAndType("hux-lobby", {"Backend", ""}), "tnk-xx-hux-lobby");
    ASSERT_EQ(target.records.size(), 1u);
    EXPECT_EQ(target.records[0].level, 2);
    EXPECT_EQ(target.records[0].message,
              "            Plugin Manager| GetFullNameFromShortNameAndType(\"hux-lobby\", \"Backend:\") "
              "called with an unknown type");
}

}  // namespace
