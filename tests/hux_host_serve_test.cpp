// hux_host_serve_test.cpp - hux-host serve on a loopback port, driven by a real HTTP client: the
// plugin's routes, its events as Server-Sent Events after a resource update, and its API description.
#include <gtest/gtest.h>
#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "binding/binding_property.h"
#include "child_process.h"
#include "codecs/json_reader.h"

namespace HuxTest {
namespace {

using Brix::BindingProperty;
using std::chrono::seconds;

constexpr const char* kHost = HUX_HOST_PATH;
constexpr const char* kPlugin = HUX_PLUGIN_PATH;
constexpr std::string_view kListening = "at http://127.0.0.1:";
constexpr auto kStartTime = seconds(60);
constexpr auto kAnswerTime = seconds(30);
constexpr const char* kEnabledQueues =
    "/hux-platform-config/v1/namespaces/ClientSystemStates/enabledQueueIdsList";

BindingProperty ParsedJson(const std::string& text) {
    Brix::ConversionStatus parsed = Brix::Json::Read(text);
    EXPECT_TRUE(parsed.Ok()) << parsed.Message() << "\n" << text;
    return std::move(parsed.Value());
}

// HuxHostServe starts hux-host serve on a free port for each test; the server also ends by itself after
// a while, should a test not get as far as stopping it with Ctrl-C's signal.
class HuxHostServe : public testing::Test {
protected:
    void SetUp() override {
        server = std::make_unique<ChildProcess>(std::vector<std::string>{
            kHost, "serve", "--port", "0", "--exit-after-seconds", "120", "--plugin", kPlugin});
        ASSERT_TRUE(server->Started());
        ASSERT_TRUE(server->WaitForOutput(" (Ctrl-C stops)\n", Clock::now() + kStartTime))
            << server->Output().err;
        const std::string& out = server->Output().out;
        port = std::stoi(out.substr(out.find(kListening) + kListening.size()));
        client = std::make_unique<httplib::Client>("127.0.0.1", port);
        client->set_read_timeout(kAnswerTime);
    }

    void TearDown() override {
        if (server == nullptr || !server->Started()) {
            return;
        }
        server->Interrupt();
        const ProcessOutput output = server->Finish(Clock::now() + kStartTime);
        EXPECT_EQ(output.exitCode, 0) << output.err;
        EXPECT_NE(output.out.find("hux-host: interrupted, stopping the plugin\n"), std::string::npos);
        EXPECT_EQ(output.out.substr(output.out.size() - std::string("hux-host: stopped\n").size()),
                  "hux-host: stopped\n");
    }

    std::unique_ptr<ChildProcess> server;
    std::unique_ptr<httplib::Client> client;
    int port = 0;
};

TEST_F(HuxHostServe, AnswersThePluginsRoutesWithItsStatus) {
    const httplib::Result queue = client->Get("/hux-game-queues/v1/queues/420");
    ASSERT_TRUE(queue) << httplib::to_string(queue.error());
    EXPECT_EQ(queue->status, 200);
    EXPECT_EQ(queue->get_header_value("Content-Type"), "application/json");
    EXPECT_EQ(ParsedJson(queue->body).Member("name").AsString(), "Ranked Solo/Duo");

    const httplib::Result missing = client->Get("/hux-game-queues/v1/queues/type/normal");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->status, 404);
    const BindingProperty failure = ParsedJson(missing->body);
    EXPECT_EQ(failure.Member("status").AsUnsigned(), 404u);
    EXPECT_EQ(failure.Member("message").AsString(), "No queue found with type normal");

    const httplib::Result malformed =
        client->Put(std::string("/resources") + kEnabledQueues, "[420,", "application/json");
    ASSERT_TRUE(malformed);
    EXPECT_EQ(malformed->status, 400);
    EXPECT_EQ(ParsedJson(malformed->body).Member("message").AsString(),
              "the body is not JSON: Error: Invalid value. at offset 5.");
}

TEST_F(HuxHostServe, AResourceUpdateReachesTheEventStreamAsTheRebuiltList) {
    std::mutex mutex;
    std::condition_variable arrived;
    std::string received;
    bool done = false;
    httplib::Client events("127.0.0.1", port);
    events.set_read_timeout(kAnswerTime);
    std::thread reader([&] {
        events.Get("/events", [&](const char* data, std::size_t length) {
            const std::lock_guard lock(mutex);
            received.append(data, length);
            arrived.notify_all();
            return !done;
        });
    });
    // However the test ends, the reader is cut off and joined.
    struct StopReader {
        httplib::Client& client;
        std::thread& thread;
        ~StopReader() {
            client.stop();
            thread.join();
        }
    } stopReader{events, reader};
    const auto waitFor = [&](const std::string& text) {
        std::unique_lock lock(mutex);
        return arrived.wait_until(lock, Clock::now() + kAnswerTime,
                                  [&] { return received.find(text) != std::string::npos; });
    };
    // The stream's first bytes say that it is connected: every later event reaches it.
    ASSERT_TRUE(waitFor("retry: 2000\n\n"));

    const httplib::Result put =
        client->Put(std::string("/resources") + kEnabledQueues, "[420, 1210]", "application/json");
    ASSERT_TRUE(put);
    EXPECT_EQ(put->status, 200);
    const BindingProperty delivered = ParsedJson(put->body);
    EXPECT_TRUE(delivered.Member("followed").AsBool());
    EXPECT_EQ(delivered.Member("eventsSent").AsUnsigned(), 2u);  // under its own name and OnJsonApiEvent

    EXPECT_TRUE(waitFor("\nevent: OnJsonApiEvent\ndata: "));
    {
        const std::lock_guard lock(mutex);
        const std::size_t at = received.find("event: OnJsonApiEvent_hux-game-queues_v1_queues\ndata: ");
        ASSERT_NE(at, std::string::npos) << received;
        const std::size_t dataAt = received.find("data: ", at) + 6;
        const BindingProperty event =
            ParsedJson(received.substr(dataAt, received.find('\n', dataAt) - dataAt));
        EXPECT_EQ(event.Member("uri").AsString(), "/hux-game-queues/v1/queues");
        EXPECT_EQ(event.Member("eventType").AsString(), "Update");
        std::size_t available = 0;
        for (const BindingProperty& queue : event.Member("data").Elements()) {
            available += queue.Member("queueAvailability").AsString() == "Available" ? 1 : 0;
        }
        EXPECT_EQ(available, 2u);
        done = true;
    }
    // The stream ends when the server stops, which must stop cleanly with a client still connected.
    TearDown();
    server.reset();
}

TEST_F(HuxHostServe, DescribesTheSevenRoutesWithTheirParameters) {
    const httplib::Result answer = client->Get("/openapi.json");
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200);
    const BindingProperty document = ParsedJson(answer->body);
    EXPECT_EQ(document.Member("openapi").AsString(), "3.1.0");
    EXPECT_EQ(document.Member("info").Member("title").AsString(), "hux-game-queues");

    // Each path with its parameters as "name in type/format".
    std::map<std::string, std::set<std::string>> expected = {
        {"/hux-game-queues/v1/queues", {}},
        {"/hux-game-queues/v1/queues/{id}", {"id path integer/int32"}},
        {"/hux-game-queues/v1/queues/type/{queueType}", {"queueType path string/"}},
        {"/hux-game-queues/v1/custom", {}},
        {"/hux-game-queues/v1/custom-non-default", {}},
        {"/hux-game-queues/v1/game-type-config/{gameTypeConfigId}", {"gameTypeConfigId path integer/uint32"}},
        {"/hux-game-queues/v1/game-type-config/{gameTypeConfigId}/map/{mapId}",
         {"gameTypeConfigId path integer/uint32", "mapId path integer/int32"}},
    };
    EXPECT_EQ(document.Member("paths").MemberCount(), expected.size());
    for (const auto& [path, parameters] : expected) {
        SCOPED_TRACE(path);
        const BindingProperty& get = document.Member("paths").Member(path).Member("get");
        std::set<std::string> found;
        for (const BindingProperty& parameter : get.Member("parameters").Elements()) {
            EXPECT_TRUE(parameter.Member("required").AsBool());
            const BindingProperty& schema = parameter.Member("schema");
            found.insert(std::string(parameter.Member("name").AsString()) + " " +
                         std::string(parameter.Member("in").AsString()) + " " +
                         std::string(schema.Member("type").AsString()) + "/" +
                         std::string(schema.Member("format").AsString()));
        }
        EXPECT_EQ(found, parameters);
        EXPECT_FALSE(get.Member("responses").Member("200").Member("content").IsEmpty());
    }
    const BindingProperty& list = document.Member("paths")
                                      .Member("/hux-game-queues/v1/queues")
                                      .Member("get")
                                      .Member("responses")
                                      .Member("200")
                                      .Member("content")
                                      .Member("application/json")
                                      .Member("schema");
    EXPECT_EQ(list.Member("type").AsString(), "array");
    EXPECT_EQ(list.Member("items").Member("$ref").AsString(), "#/components/schemas/HuxGameQueuesQueue");
    const BindingProperty& availability =
        document.Member("components").Member("schemas").Member("HuxGameQueuesQueueAvailability");
    EXPECT_EQ(availability.Member("enum").ElementCount(), 3u);
}

}  // namespace
}  // namespace HuxTest
