// resource_events_test.cpp - a published update goes out exactly as the same event sent by hand.
#include "runtime/resource_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codecs/json_writer.h"
#include "host_values/host_value_conversion.h"

namespace Brix {
namespace {

// SentEvents is a module without a host that keeps each event it is asked to send, as its name and
// its payload written as JSON.
class SentEvents : public AppModule {
public:
    void SendEvent(HostEvent* event) override {
        ConversionStatus payload = FromHostValue(event->payload, "<result>");
        sent.push_back(std::string(event->name) + " " + Json::Write(payload.Value(), nullptr));
    }
    void Request(HostResponse*, HostRequest*) override {}
    void HostSlot1(uint32_t, uint32_t) override {}
    void SubscribeHost(const char*, uint32_t, HostEventCallback, void*, uint32_t) override {}
    void UnsubscribeHost(const char*, uint32_t) override {}
    void HostSlot5(uint32_t, uint32_t, uint32_t, double, uint32_t) override {}
    void Yield() override {}
    void BeginWait(std::string_view, uint32_t) override {}
    void EndWait() override {}

    std::vector<std::string> sent;
};

TEST(ResourceEvents, APublishedUpdateIsSentAsTheSameEventSentByHand) {
    TypeRegistry registry;
    RegisterFrameworkTypes(registry);
    SentEvents module;
    const HostLink link{module, registry, 0};
    std::vector<PluginManagerResource> list(2);
    list[1].state = PluginManagerState::PluginsInitialized;

    for (PluginResourceEventType type : {PluginResourceEventType::Update, PluginResourceEventType::Delete}) {
        SCOPED_TRACE(static_cast<int>(type));
        module.sent.clear();
        Bridge::PublishResourceUpdate(link, "/hux-game-queues/v1/queues", type, list);
        PluginResourceEvent event{"/hux-game-queues/v1/queues", type, {}};
        ConversionStatus status;
        NativeToValue(status, event.data, list, registry);
        ASSERT_TRUE(Bridge::SendResourceEvent(link, "OnJsonApiEvent", event));
        ASSERT_EQ(module.sent.size(), 4u);
        EXPECT_EQ(module.sent[0], module.sent[2]);
        EXPECT_EQ(module.sent[1], module.sent[3]);
    }
    EXPECT_EQ(module.sent[0],
              "OnJsonApiEvent_hux-game-queues_v1_queues "
              R"({"data":[{"state":"NotReady"},{"state":"PluginsInitialized"}],)"
              R"("eventType":"Delete","uri":"/hux-game-queues/v1/queues"})");
    EXPECT_EQ(module.sent[1], "OnJsonApiEvent " + module.sent[0].substr(module.sent[0].find(' ') + 1));
}

}  // namespace
}  // namespace Brix
