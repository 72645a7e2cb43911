// resource_router_test.cpp - dispatching resource events to exact and pattern handlers, typed handlers.
#include "runtime/resource_router.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logging/log_test_support.h"
#include "runtime/typed_resource_handler.h"

namespace Brix {
namespace {

PluginResourceEvent EventFor(std::string uri,
                             PluginResourceEventType type = PluginResourceEventType::Update) {
    PluginResourceEvent event;
    event.uri = std::move(uri);
    event.eventType = type;
    return event;
}

TEST(ResourceRouter, CallsTheExactHandlerThenEveryMatchingPatternInOrder) {
    ResourceRouter router;
    std::vector<std::string> calls;
    auto record = [&](const std::string& name) {
        return [&calls, name](const PluginResourceEvent& event) { calls.push_back(name + " " + event.uri); };
    };
    router.Add("/x/*", record("second pattern"));
    router.Add("/x/1", record("old exact"));
    router.Add("/y/*", record("other pattern"));
    router.Add("/x/1", record("exact"));
    router.Add("/*/1", record("third pattern"));

    // The uri arrives without its leading "/" and is normalised before anything is looked up.
    router.Dispatch(EventFor("x/1"));
    EXPECT_EQ(calls, (std::vector<std::string>{"exact /x/1", "second pattern /x/1", "third pattern /x/1"}));

    calls.clear();
    router.Dispatch(EventFor("/x/2/3"));
    EXPECT_TRUE(calls.empty());

    router.Clear();
    router.Dispatch(EventFor("/x/1"));
    EXPECT_TRUE(calls.empty());
}

TEST(ResourceRouter, HandlersMayAddHandlersOrClearTheRouterWhileBeingCalled) {
    ResourceRouter router;
    int added = 0;
    router.Add("/a/*", [&](const PluginResourceEvent&) {
        // Enough patterns to move the table in memory while it is being walked.
        for (int i = 0; i < 64; ++i) {
            router.Add("/b/*", [&](const PluginResourceEvent&) { ++added; });
        }
    });
    router.Add("/c/1", [&](const PluginResourceEvent&) { router.Clear(); });
    router.Add("/c/*", [&](const PluginResourceEvent&) { ++added; });

    router.Dispatch(EventFor("/a/1"));
    router.Dispatch(EventFor("/b/1"));
    EXPECT_EQ(added, 64);
    // The exact handler clears the router: it is kept alive until it returns, and no pattern runs.
    router.Dispatch(EventFor("/c/1"));
    router.Dispatch(EventFor("/b/1"));
    EXPECT_EQ(added, 64);
}

class TypedResourceHandlerTest : public FreshLoggerTest {
protected:
    void SetUp() override {
        FreshLoggerTest::SetUp();
        ASSERT_TRUE(target.Register());
        RegisterFrameworkTypes(registry);
    }
    void TearDown() override {
        target.Unregister();
        FreshLoggerTest::TearDown();
    }
    TypeRegistry registry;
    RecordingLogTarget target;
};

TEST_F(TypedResourceHandlerTest, AnUpdateThatDoesNotConvertIsDroppedWithAWarning) {
    int calls = 0;
    ResourceHandler handler = MakeTypedResourceHandler<PluginManagerResource>(
        registry, [&](PluginResourceEventType, const PluginManagerResource&) { ++calls; });
    PluginResourceEvent event = EventFor("/plugin-manager/v1/status", PluginResourceEventType::Update);
    event.data.MemberForWriting("state").SetString("Sleeping");
    handler(event);
    EXPECT_EQ(calls, 0);
    ASSERT_EQ(target.records.size(), 1u);
    EXPECT_EQ(target.records[0].level, static_cast<int32_t>(LogLevel::Warn));
    EXPECT_EQ(
        target.records[0].message,
        "Ignored an event of /plugin-manager/v1/status: its data does not convert: Sleeping is not a valid "
        "PluginManagerState enumeration value for 'state'.");
}

TEST_F(TypedResourceHandlerTest, DeleteGivesADefaultValueWhateverTheDataHolds) {
    std::vector<std::string> seen;
    ResourceHandler handler = MakeTypedResourceHandler<PluginManagerResource>(
        registry,
        [&](const std::string& uri, PluginResourceEventType type, const PluginManagerResource& value) {
            EXPECT_EQ(type, PluginResourceEventType::Delete);
            EXPECT_EQ(value.state, PluginManagerState::NotReady);
            seen.push_back(uri);
        });
    PluginResourceEvent event = EventFor("/plugin-manager/v1/status", PluginResourceEventType::Delete);
    event.data.MemberForWriting("state").SetString("Sleeping");
    handler(event);
    EXPECT_EQ(seen, std::vector<std::string>{"/plugin-manager/v1/status"});
}

}  // namespace
}  // namespace Brix
