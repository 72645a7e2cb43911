// plugin_module_test.cpp - the handshake's effect on a module, identities and host logging at Start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logging/log_target.h"
#include "logging/logger.h"
#include "runtime/framework_types.h"
#include "runtime/plugin_identity.h"
#include "runtime/plugin_module.h"

namespace {

using namespace Brix;

// RecordingTarget keeps every record it is given.
class RecordingTarget : public LogTarget {
public:
    RecordingTarget() : LogTarget(0, 0) { SetLevel(0); }
    std::string_view ClassName() const override { return "RecordingTarget"; }
    void Write(const LogRecord& record) override { records.push_back(record); }
    std::vector<LogRecord> records;
};

class TestModule : public PluginModule {
public:
    void RegisterEndpoints() override { ++registerCalls; }
    int registerCalls = 0;
};

HostLoadBlock BlockFor(uint32_t major, uint32_t minor, uint32_t patch) {
    HostLoadBlock block{};
    block.major = major;
    block.minor = minor;
    block.patch = patch;
    return block;
}

TEST(PluginModule, HandshakeFormsIdentityTagsPrefixAndAnswersTheBlock) {
    TestModule module;
    HostLoadBlock block = BlockFor(18, 1, 0);
    module.Handshake(&block, "hux-game-queues");

    EXPECT_EQ(module.Identity().fullName, "tnk-be-hux-game-queues");
    EXPECT_EQ(module.Identity().shortName, "hux-game-queues");
    EXPECT_EQ(module.Identity().typeKind, "backend");
    EXPECT_EQ(module.Identity().typeQualifier, "");
    EXPECT_EQ(module.Tags(), (std::vector<std::string>{"Plugins", "Plugin hux-game-queues"}));
    EXPECT_EQ(module.NamePrefix(), "HuxGameQueues");
    EXPECT_EQ(module.registerCalls, 1);

    EXPECT_EQ(block.major, 18u);
    EXPECT_EQ(block.minor, 0u);
    EXPECT_EQ(block.patch, 0u);
    // The block is packed: copy its address fields out before comparing them.
    const PluginCallbacks* callbacks = block.callbacks;
    void* instance = block.instance;
    const char* shortName = block.shortName;
    const HostEndpointTable* endpoints = block.endpoints;
    EXPECT_EQ(callbacks, &module.Callbacks());
    EXPECT_EQ(instance, static_cast<void*>(static_cast<PluginModule*>(&module)));
    EXPECT_STREQ(shortName, "hux-game-queues");
    EXPECT_EQ(endpoints, &module.EndpointTable());
}

TEST(PluginModule, HandshakeRegistersTheFrameworkTypes) {
    TestModule module;
    HostLoadBlock block = BlockFor(18, 0, 0);
    module.Handshake(&block, "x");
    const TypeRegistry& registry = module.Registry();

    const TypeRecord* event = registry.FindByName("PluginResourceEvent");
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event, registry.Find<PluginResourceEvent>());
    EXPECT_EQ(event->tags, std::vector<std::string>{"bclient"});
    ASSERT_EQ(event->fields.size(), 3u);
    EXPECT_EQ(event->fields[1].type.code, TypeCode::Enum);
    EXPECT_EQ(event->fields[1].type.type, registry.FindByName("PluginResourceEventType"));
    EXPECT_EQ(event->fields[2].type.code, TypeCode::Object);

    const TypeRecord* eventType = registry.FindByName("PluginResourceEventType");
    ASSERT_NE(eventType, nullptr);
    EXPECT_EQ(eventType->FindEnumerator("Delete")->number, 2);
    EXPECT_EQ(registry.FindByName("PluginManagerState")->FindEnumerator("PluginsInitialized")->number, 1);
    EXPECT_EQ(registry.FindByName("PluginManagerResource")->fields.at(0).name, "state");
    EXPECT_EQ(registry.FindByName("PluginLcdsEvent")->fields.size(), 4u);
    EXPECT_EQ(registry.FindByName("PluginLcdsResponse")->fields.at(1).name, "body");
    const TypeRecord* proxy = registry.FindByName("PluginServiceProxyResponse");
    ASSERT_NE(proxy, nullptr);
    std::vector<std::string> names;
    for (const FieldRecord& field : proxy->fields) {
        names.push_back(field.name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"uuid", "serviceName", "methodName", "payload", "status", "error"}));

    const EventRecord* changed = registry.FindEvent("OnJsonApiEvent");
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->description, "Fired when a resource is changed.");
    EXPECT_EQ(changed->payload.type, event);
    EXPECT_EQ(changed->tags, std::vector<std::string>{"bclient"});
    const EventRecord* async = registry.FindEvent("OnServiceProxyAsyncEvent");
    ASSERT_NE(async, nullptr);
    EXPECT_EQ(async->payload.type, proxy);
    EXPECT_NE(registry.FindEvent("OnLcdsEvent"), nullptr);
    EXPECT_NE(registry.FindEvent("OnServiceProxyUuidEvent"), nullptr);
    EXPECT_NE(registry.FindEvent("OnServiceProxyMethodEvent"), nullptr);
}

TEST(PluginIdentity, FullNamesByTypeKind) {
    const LoggerReference logger;
    RecordingTarget target;
    ASSERT_TRUE(target.Register());

    EXPECT_EQ(GetFullNameFromShortNameAndType("hux-game-queues", {"backend", ""}), "tnk-be-hux-game-queues");
    EXPECT_EQ(GetFullNameFromShortNameAndType("hux-lobby", {"frontend", "q"}), "tnk-fe-hux-lobby");
    EXPECT_TRUE(target.records.empty());

    EXPECT_EQ(GetFullNameFromShortNameAndType("hux-lobby", {"Backend", ""}), "tnk-xx-hux-lobby");
    ASSERT_EQ(target.records.size(), 1u);
    EXPECT_EQ(target.records[0].level, 2);
    EXPECT_EQ(target.records[0].message,
              "            Plugin Manager| GetFullNameFromShortNameAndType(\"hux-lobby\", \"Backend:\") "
              "called with an "
              "unknown type");
    target.Unregister();
}

TEST(PluginModule, ForwardsDoNothingBeforeStart) {
    TestModule module;
    module.Yield();
    module.BeginWait("Wait: yield", 0);
    module.EndWait();
    HostResponse response{};
    HostRequest request{};
    module.Request(&response, &request);
    EXPECT_EQ(module.Api(), nullptr);
    EXPECT_EQ(module.HostHandle(), 0u);
}

}  // namespace
