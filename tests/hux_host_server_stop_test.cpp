// hux_host_server_stop_test.cpp - hux-host's HTTP server in this process: a stop always ends the serving,
// however early it comes. (A stop with event streams open is the serve tests' teardown.)
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>

#include "event_stream.h"
#include "http_server.h"
#include "plugin_session.h"
#include "plugin_thread.h"

namespace HuxTest {
namespace {

using HuxHost::EventStream;
using HuxHost::HostHttpServer;
using HuxHost::PluginSession;
using HuxHost::PluginThread;

constexpr const char* kPlugin = HUX_PLUGIN_PATH;
constexpr auto kServeEnds = std::chrono::seconds(30);

// HuxHostServer holds the plugin loaded (not started) on its thread with a server bound to a free port.
class HuxHostServer : public testing::Test {
protected:
    void SetUp() override {
        const std::string error = pluginThread.Run([this]() -> std::string {
            Brix::MaybeType<std::unique_ptr<PluginSession>> opened = PluginSession::Open(kPlugin, false);
            if (!opened) {
                return opened.Error().Message();
            }
            session = std::move(opened).Value();
            return {};
        });
        ASSERT_EQ(error, "");
        server = std::make_unique<HostHttpServer>(pluginThread, *session, events, "{}");
        const Brix::MaybeType<int> bound = server->Bind(0);
        ASSERT_TRUE(bound) << bound.Error().Message();
    }

    void TearDown() override {
        // A serving the stop did not end is ended here (the server runs by now), so the test finishes.
        for (int attempt = 0; serving.valid() && attempt < 10; ++attempt) {
            server->Stop();
            if (serving.wait_for(std::chrono::seconds(1)) == std::future_status::ready) {
                break;
            }
        }
        server.reset();
        pluginThread.Run([this] { session.reset(); });
    }

    // Serve runs the server on a thread of its own.
    void Serve() {
        serving = std::async(std::launch::async, [this] { server->Serve(); });
    }

    // ServingEnded answers whether Serve returned before the deadline.
    bool ServingEnded() { return serving.wait_for(kServeEnds) == std::future_status::ready; }

    PluginThread pluginThread;
    std::unique_ptr<PluginSession> session;
    EventStream events{EventStream::kDefaultKept, 2};
    std::unique_ptr<HostHttpServer> server;
    std::future<void> serving;
};

TEST_F(HuxHostServer, AStopBeforeTheServingBeginsEndsItOnceItHas) {
    server->Stop();
    Serve();
    EXPECT_TRUE(ServingEnded());
}

}  // namespace
}  // namespace HuxTest
