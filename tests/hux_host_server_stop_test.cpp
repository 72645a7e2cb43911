// hux_host_server_stop_test.cpp - hux-host's HTTP server in this process, stopped wherever it is in its
// run: the stop always ends the serving, however early it comes.
#include <gtest/gtest.h>
#include <httplib.h>

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
        port = bound.Value();
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
    int port = 0;
};

TEST_F(HuxHostServer, AStopBeforeTheServingBeginsEndsItOnceItHas) {
    server->Stop();
    Serve();
    EXPECT_TRUE(ServingEnded());
}

// FollowEvents reads /events on a thread of its own into received, answering from the first bytes on
// whether to go on; greeted is set at the first bytes.
std::future<httplib::Result> FollowEvents(httplib::Client& client, std::promise<void>& greeted,
                                          std::string& received, bool goOn) {
    return std::async(std::launch::async, [&client, &greeted, &received, goOn] {
        return client.Get("/events", [&greeted, &received, goOn](const char* data, std::size_t length) {
            if (received.empty()) {
                greeted.set_value();
            }
            received.append(data, length);
            return goOn;
        });
    });
}

TEST_F(HuxHostServer, AStopEndsTheOpenEventStreamAndTheServingAfterAnotherClosed) {
    Serve();
    httplib::Client gone("127.0.0.1", port);
    httplib::Client open("127.0.0.1", port);
    gone.set_read_timeout(kServeEnds);
    open.set_read_timeout(kServeEnds);
    std::promise<void> goneGreeted;
    std::promise<void> openGreeted;
    std::string goneReceived;
    std::string openReceived;

    // The first client leaves after the first bytes; the second stays until the server stops.
    std::future<httplib::Result> goneStream = FollowEvents(gone, goneGreeted, goneReceived, false);
    ASSERT_EQ(goneStream.wait_for(kServeEnds), std::future_status::ready);
    std::future<httplib::Result> openStream = FollowEvents(open, openGreeted, openReceived, true);
    ASSERT_EQ(openGreeted.get_future().wait_for(kServeEnds), std::future_status::ready);

    server->Stop();
    EXPECT_TRUE(ServingEnded());
    ASSERT_EQ(openStream.wait_for(kServeEnds), std::future_status::ready);
    const httplib::Result ended = openStream.get();
    ASSERT_TRUE(ended) << httplib::to_string(ended.error());
    EXPECT_EQ(ended->status, 200);
    // Nothing was published: the greeting, and a comment line for each idle second before the stop.
    std::string withoutKeepAlives = openReceived;
    for (std::size_t at = 0; (at = withoutKeepAlives.find(": keep-alive\n\n")) != std::string::npos;) {
        withoutKeepAlives.erase(at, std::string(": keep-alive\n\n").size());
    }
    EXPECT_EQ(withoutKeepAlives, ": hux-host event stream\nretry: 2000\n\n");
    EXPECT_EQ(goneReceived, ": hux-host event stream\nretry: 2000\n\n");
}

}  // namespace
}  // namespace HuxTest
