// hux_host_serve_test.cpp - hux-host serve on a loopback port, driven by a real HTTP client: the
// plugin's routes, its events as Server-Sent Events after a resource update, and its API description.
#include <gtest/gtest.h>
#include <httplib.h>

#include <condition_variable>
#include <list>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "binding/binding_property.h"
#include "child_process.h"
#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "gzip_text.h"
#include "raw_exchange.h"

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

// EventReader follows /events on a thread of its own with a real HTTP client, keeping what arrives;
// with lastEventId it reconnects as a client that saw that event. Close (or the destructor) cuts the
// connection and joins the thread.
class EventReader {
public:
    explicit EventReader(int port, const std::string& lastEventId = {}) : client("127.0.0.1", port) {
        client.set_read_timeout(kAnswerTime);
        httplib::Headers headers;
        if (!lastEventId.empty()) {
            headers.emplace("Last-Event-ID", lastEventId);
        }
        thread = std::thread([this, headers] {
            client.Get("/events", headers, [this](const char* data, std::size_t length) {
                const std::lock_guard lock(mutex);
                received.append(data, length);
                arrived.notify_all();
                return true;
            });
        });
    }
    ~EventReader() { Close(); }
    EventReader(const EventReader&) = delete;
    EventReader& operator=(const EventReader&) = delete;

    // WaitFor answers whether text arrived before the deadline.
    bool WaitFor(const std::string& text, Clock::time_point deadline) {
        std::unique_lock lock(mutex);
        return arrived.wait_until(lock, deadline, [&] { return received.find(text) != std::string::npos; });
    }
    // WaitForEvent answers whether a whole event named name arrived before the deadline.
    bool WaitForEvent(const std::string& name, Clock::time_point deadline) {
        std::unique_lock lock(mutex);
        return arrived.wait_until(lock, deadline, [&] {
            const std::size_t at = received.find("\nevent: " + name + "\ndata: ");
            return at != std::string::npos && received.find("\n\n", at) != std::string::npos;
        });
    }
    // Connected waits for the stream's first bytes: from then on every event reaches it.
    bool Connected() { return WaitFor("retry: 2000\n\n", Clock::now() + kAnswerTime); }

    std::string Received() {
        const std::lock_guard lock(mutex);
        return received;
    }

    void Close() {
        if (thread.joinable()) {
            client.stop();
            thread.join();
        }
    }

private:
    httplib::Client client;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable arrived;
    std::string received;
};

// EventIn is the first event named name in an event stream's text: its id and its data.
struct StreamedEvent {
    std::string id;
    BindingProperty data;
};
StreamedEvent EventIn(const std::string& received, const std::string& name) {
    const std::size_t at = received.find("\nevent: " + name + "\ndata: ");
    if (at == std::string::npos) {
        ADD_FAILURE() << "no event " << name << " in\n" << received;
        return {};
    }
    const std::size_t idAt = received.rfind("id: ", at) + 4;
    const std::size_t dataAt = received.find("data: ", at) + 6;
    return {received.substr(idAt, at - idAt),
            ParsedJson(received.substr(dataAt, received.find('\n', dataAt) - dataAt))};
}

// Heads lists "ID NAME" for each event in a stream's text, up to the first OnJsonApiEvent.
std::vector<std::string> Heads(const std::string& text) {
    std::vector<std::string> heads;
    std::istringstream lines(text);
    std::string id;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("id: ")) {
            id = line.substr(4);
        } else if (line.starts_with("event: ")) {
            heads.push_back(id + " " + line.substr(7));
            if (line == "event: OnJsonApiEvent") {
                break;
            }
        }
    }
    return heads;
}

std::size_t AvailableQueues(const BindingProperty& queues) {
    std::size_t available = 0;
    for (const BindingProperty& queue : queues.Elements()) {
        available += queue.Member("queueAvailability").AsString() == "Available" ? 1 : 0;
    }
    return available;
}

// BodyOf is the part of a raw answer after its header.
std::string BodyOf(const std::string& answer) {
    const std::size_t end = answer.find("\r\n\r\n");
    return end == std::string::npos ? "" : answer.substr(end + 4);
}

// HuxHostServe starts hux-host serve on a free port for each test; the server also ends by itself after
// a while, should a test not get as far as stopping it with Ctrl-C's signal.
class HuxHostServe : public testing::Test {
protected:
    void SetUp() override { Serve({}); }

    void TearDown() override {
        if (server == nullptr || !server->Started()) {
            return;
        }
        if (!server->Interrupt()) {
            // Without Ctrl-C for a child (Windows), the server is ended by force; its own stop is then
            // left to the run of these tests on a system that has it.
            server.reset();
            return;
        }
        const ProcessOutput output = server->Finish(Clock::now() + kStartTime);
        EXPECT_EQ(output.exitCode, 0) << output.err;
        EXPECT_NE(output.out.find("hux-host: interrupted, stopping the plugin\n"), std::string::npos);
        EXPECT_EQ(output.out.substr(output.out.size() - std::string("hux-host: stopped\n").size()),
                  "hux-host: stopped\n");
        server.reset();
    }

    // Serve starts the server with options besides the port, the time limit and the plugin.
    void Serve(const std::vector<std::string>& options) {
        std::vector<std::string> arguments = {kHost, "serve",    "--port", "0", "--exit-after-seconds",
                                              "120", "--plugin", kPlugin};
        arguments.insert(arguments.end(), options.begin(), options.end());
        server = std::make_unique<ChildProcess>(arguments);
        ASSERT_TRUE(server->Started());
        ASSERT_TRUE(server->WaitForOutput(" (Ctrl-C stops)\n", Clock::now() + kStartTime))
            << server->Output().err;
        const std::string& out = server->Output().out;
        port = std::stoi(out.substr(out.find(kListening) + kListening.size()));
        client = std::make_unique<httplib::Client>("127.0.0.1", port);
        client->set_read_timeout(kAnswerTime);
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

// A second server on a port in use stops at once: it must not share the port and half the requests.
TEST_F(HuxHostServe, ASecondServerOnThePortInUseFailsAtOnce) {
    const ProcessOutput second = RunProgram(
        {kHost, "serve", "--port", std::to_string(port), "--exit-after-seconds", "5", "--plugin", kPlugin},
        seconds(60));
    EXPECT_EQ(second.exitCode, 1) << second.out;
    EXPECT_EQ(second.err,
              "hux-host: cannot listen on 127.0.0.1:" + std::to_string(port) + ": address in use\n");
}

// A stream starts from a snapshot of what the plugin publishes; an update then arrives as the plugin sent
// it, and a client that reconnects with the last id it saw gets what came after, not a snapshot.
TEST_F(HuxHostServe, AStreamStartsFromASnapshotAndAResourceUpdateReachesItAsTheRebuiltList) {
    EventReader events(port);
    ASSERT_TRUE(events.WaitForEvent("hux-host.snapshot", Clock::now() + kAnswerTime));
    const StreamedEvent snapshot = EventIn(events.Received(), "hux-host.snapshot");
    const BindingProperty& queues = snapshot.data.Member("answers").Member("/hux-game-queues/v1/queues");
    EXPECT_EQ(queues.Member("status").AsUnsigned(), 200u);
    EXPECT_EQ(queues.Member("body").ElementCount(), 41u);
    EXPECT_EQ(AvailableQueues(queues.Member("body")), 27u);
    EXPECT_EQ(snapshot.data.Member("routes").ElementCount(), 7u);
    EXPECT_EQ(snapshot.data.Member("resources").ElementCount(), 19u);
    EXPECT_GT(snapshot.data.Member("log").ElementCount(), 0u);

    const httplib::Result put =
        client->Put(std::string("/resources") + kEnabledQueues, "[420, 1210]", "application/json");
    ASSERT_TRUE(put);
    EXPECT_EQ(put->status, 200);
    const BindingProperty delivered = ParsedJson(put->body);
    EXPECT_TRUE(delivered.Member("followed").AsBool());
    EXPECT_EQ(delivered.Member("eventsSent").AsUnsigned(), 2u);  // under its own name and OnJsonApiEvent

    EXPECT_TRUE(events.WaitForEvent("OnJsonApiEvent", Clock::now() + kAnswerTime));
    const std::string received = events.Received();
    const BindingProperty change = EventIn(received, "hux-host.resource").data;
    EXPECT_EQ(Brix::Json::Write(change), R"({"eventType":"Update","followed":true,"present":true,"uri":")" +
                                             std::string(kEnabledQueues) + R"(","value":[420,1210]})");
    const BindingProperty event = EventIn(received, "OnJsonApiEvent_hux-game-queues_v1_queues").data;
    EXPECT_EQ(event.Member("uri").AsString(), "/hux-game-queues/v1/queues");
    EXPECT_EQ(event.Member("eventType").AsString(), "Update");
    EXPECT_EQ(AvailableQueues(event.Member("data")), 2u);

    EventReader resumed(port, snapshot.id);
    ASSERT_TRUE(resumed.WaitForEvent("OnJsonApiEvent", Clock::now() + kAnswerTime));
    const std::string replayed = resumed.Received();
    std::vector<std::string> afterSnapshot = Heads(received);
    ASSERT_FALSE(afterSnapshot.empty());
    afterSnapshot.erase(afterSnapshot.begin());
    EXPECT_EQ(Heads(replayed), afterSnapshot);

    // An id this server never gave starts over from a snapshot, which has the rebuilt list.
    EventReader stranger(port, "123456789");
    ASSERT_TRUE(stranger.WaitForEvent("hux-host.snapshot", Clock::now() + kAnswerTime));
    EXPECT_EQ(AvailableQueues(EventIn(stranger.Received(), "hux-host.snapshot")
                                  .data.Member("answers")
                                  .Member("/hux-game-queues/v1/queues")
                                  .Member("body")),
              2u);
    // The streams end when the server stops, which must stop cleanly with clients still connected.
    TearDown();
}

TEST_F(HuxHostServe, ABodyPastEightMebibytesIsRefusedHoweverItIsSent) {
    const std::string resource = std::string("/resources") + kEnabledQueues;
    const std::string tooLarge = "the body of PUT /resources/<uri> is larger than 8 MiB (8388608 bytes)";
    // A JSON list of 4.5 Mi zeros: 9 MiB, one mebibyte past the limit.
    std::string list = "[";
    for (std::size_t i = 0; i < (std::size_t{9} << 19u); ++i) {
        list += "0,";
    }
    list.back() = ']';

    std::vector<std::pair<std::string, httplib::Result>> refused;
    // Chunked: no length is announced, the body is counted as it arrives.
    refused.emplace_back("chunked", client->Put(
                                        resource,
                                        [&](std::size_t offset, httplib::DataSink& sink) {
                                            constexpr std::size_t kPiece = 64u << 10u;
                                            if (offset < list.size()) {
                                                return sink.write(list.data() + offset,
                                                                  std::min(kPiece, list.size() - offset));
                                            }
                                            sink.done();
                                            return true;
                                        },
                                        "application/json"));
    // Compressed: a few kilobytes that inflate past the limit.
    const std::vector<uint8_t> gzip = HuxHost::GzipText(list);
    ASSERT_LT(gzip.size(), std::size_t{1} << 20u);
    refused.emplace_back("compressed",
                         client->Put(resource, {{"Content-Encoding", "gzip"}},
                                     std::string(gzip.begin(), gzip.end()), "application/json"));
    refused.emplace_back("announced", client->Put(resource, list, "application/json"));
    for (const auto& [how, result] : refused) {
        SCOPED_TRACE(how);
        ASSERT_TRUE(result) << httplib::to_string(result.error());
        EXPECT_EQ(result->status, 413);
        EXPECT_EQ(result->get_header_value("Connection"), "close");
        EXPECT_EQ(ParsedJson(result->body).Member("message").AsString(), tooLarge);
    }

    // A compressed body within the limit is delivered as it decodes.
    const std::vector<uint8_t> small = HuxHost::GzipText("[420, 1210]");
    const httplib::Result delivered =
        client->Put(resource, {{"Content-Encoding", "gzip"}}, std::string(small.begin(), small.end()),
                    "application/json");
    ASSERT_TRUE(delivered) << httplib::to_string(delivered.error());
    EXPECT_EQ(delivered->status, 200);
    EXPECT_EQ(ParsedJson(delivered->body).Member("eventsSent").AsUnsigned(), 2u);
}

TEST_F(HuxHostServe, RequestsThatCannotBeServedGetAnAccurateAnswerAndAPrintableLogLine) {
    // A PUT without a length would be read until the client gives up: it is answered at once.
    const std::string noLength =
        RawExchange(port, "PUT /resources/a HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", Clock::now() + kAnswerTime);
    EXPECT_EQ(noLength.substr(0, noLength.find("\r\n")), "HTTP/1.1 411 Length Required") << noLength;
    EXPECT_EQ(ParsedJson(BodyOf(noLength)).Member("message").AsString(),
              "PUT /resources/<uri> needs a Content-Length or a chunked body");

    // Control bytes in the path reach the console escaped.
    const std::string escape =
        RawExchange(port, "GET /\x1b[2J\x07q\x7f HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n",
                    Clock::now() + kAnswerTime);
    EXPECT_EQ(escape.substr(0, escape.find("\r\n")), "HTTP/1.1 404 Not Found") << escape;
    EXPECT_TRUE(server->WaitForOutput("\nGET /\\x1b[2J\\x07q\\x7f 404\n", Clock::now() + kAnswerTime))
        << server->Output().out;

    const std::vector<std::tuple<std::string, int, std::string>> cases = {
        {"GET /" + std::string(9000, 'q') + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", 414,
         "the request line is longer than 8192 bytes"},
        {"GET\r\nHost: 127.0.0.1\r\n\r\n", 400, "the request line or a header is malformed"},
        {"POST /resources/a HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: chunked\r\n\r\n", 404,
         "POST /resources/a is not served here"},
        {"DELETE /openapi.json HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 5\r\n\r\n", 404,
         "DELETE /openapi.json is not served here"},
        // A body that is not read is never taken for the next request.
        {"POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 39\r\n\r\n"
         "GET /openapi.json HTTP/1.1\r\nHost: q\r\n\r\n",
         404, "POST / is not served here"},
    };
    for (const auto& [request, status, message] : cases) {
        SCOPED_TRACE(request.substr(0, 40));
        const std::string answer = RawExchange(port, request, Clock::now() + kAnswerTime);
        EXPECT_EQ(answer.substr(9, 3), std::to_string(status)) << answer;
        EXPECT_EQ(answer.find("HTTP/1.1 ", 1), std::string::npos) << answer;
        EXPECT_NE(answer.find("\r\nConnection: close\r\n"), std::string::npos) << answer;
        const BindingProperty failure = ParsedJson(BodyOf(answer));
        EXPECT_EQ(failure.Member("status").AsUnsigned(), static_cast<uint64_t>(status));
        EXPECT_EQ(failure.Member("message").AsString(), message);
    }
}

TEST_F(HuxHostServe, RangesAreIgnoredSoThatAnAnswerCannotGrow) {
    // 501 overlapping ranges in 1.5 KB of header: each would repeat the whole answer.
    std::string overlapping = "bytes=0-";
    for (int i = 0; i < 500; ++i) {
        overlapping += ",0-";
    }
    for (const std::string path : {"/hux-game-queues/v1/queues", "/openapi.json", "/nowhere"}) {
        const httplib::Result whole = client->Get(path);
        ASSERT_TRUE(whole);
        for (const std::string& ranges : {overlapping, std::string("bytes=0-9")}) {
            SCOPED_TRACE(path + " " + ranges.substr(0, 12));
            const httplib::Result ranged = client->Get(path, {{"Range", ranges}});
            ASSERT_TRUE(ranged);
            EXPECT_EQ(ranged->status, whole->status);
            EXPECT_EQ(ranged->get_header_value("Content-Type"), "application/json");
            EXPECT_FALSE(ranged->has_header("Content-Range"));
            ASSERT_EQ(ranged->body.size(), whole->body.size());
            EXPECT_TRUE(ranged->body == whole->body);
        }
    }
}

TEST_F(HuxHostServe, EventStreamsLeaveWorkersForEveryOtherRequest) {
    // More streams than the server has workers for ordinary requests.
    std::list<EventReader> readers;
    for (int i = 0; i < 20; ++i) {
        readers.emplace_back(port);
    }
    for (EventReader& reader : readers) {
        ASSERT_TRUE(reader.Connected());
    }
    for (int i = 0; i < 20; ++i) {
        const httplib::Result queue = client->Get("/hux-game-queues/v1/queues/420");
        ASSERT_TRUE(queue) << httplib::to_string(queue.error());
        EXPECT_EQ(queue->status, 200);
    }
    const httplib::Result put =
        client->Put(std::string("/resources") + kEnabledQueues, "[420, 1210]", "application/json");
    ASSERT_TRUE(put);
    EXPECT_EQ(put->status, 200);
    for (EventReader& reader : readers) {
        EXPECT_TRUE(reader.WaitFor("\nevent: OnJsonApiEvent\ndata: ", Clock::now() + kAnswerTime));
    }
}

TEST_F(HuxHostServe, EventStreamsPastTheCapAreRefusedAndAClosedOneFreesItsPlace) {
    TearDown();
    Serve({"--event-streams", "2"});
    if (HasFatalFailure()) {
        return;
    }
    auto first = std::make_unique<EventReader>(port);
    EventReader second(port);
    ASSERT_TRUE(first->Connected());
    ASSERT_TRUE(second.Connected());

    const httplib::Result refused = client->Get("/events");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 503);
    EXPECT_EQ(ParsedJson(refused->body).Member("message").AsString(),
              "hux-host serves at most 2 event streams at once: close one and try again");
    const httplib::Result queue = client->Get("/hux-game-queues/v1/queues/420");
    ASSERT_TRUE(queue);
    EXPECT_EQ(queue->status, 200);

    // A client that goes away gives its place back without waiting for an event.
    first.reset();
    const auto deadline = Clock::now() + kAnswerTime;
    std::unique_ptr<EventReader> third;
    while (Clock::now() < deadline) {
        third = std::make_unique<EventReader>(port);
        if (third->WaitFor("retry: 2000\n\n", Clock::now() + seconds(1))) {
            break;
        }
        third.reset();
    }
    ASSERT_NE(third, nullptr) << "no place freed";
    EXPECT_TRUE(third->Connected());
}

TEST_F(HuxHostServe, DescribesThePluginsSevenRoutes) {
    const httplib::Result answer = client->Get("/openapi.json");
    ASSERT_TRUE(answer);
    ASSERT_EQ(answer->status, 200);
    const BindingProperty document = ParsedJson(answer->body);
    EXPECT_EQ(document.Member("info").Member("title").AsString(), "hux-game-queues");
    const BindingProperty& paths = document.Member("paths");
    EXPECT_EQ(paths.MemberCount(), 11u);  // the plugin's seven and the host's four
    // Each argument in the path, with the format of its type; the list answer refers to its record.
    const BindingProperty& byMap =
        paths.Member("/hux-game-queues/v1/game-type-config/{gameTypeConfigId}/map/{mapId}").Member("get");
    EXPECT_EQ(
        Brix::Json::Write(byMap.Member("parameters")),
        R"([{"in":"path","name":"gameTypeConfigId","required":true,)"
        R"("schema":{"format":"uint32","maximum":4294967295,"minimum":0,"type":"integer"}},)"
        R"({"in":"path","name":"mapId","required":true,"schema":{"format":"int32","type":"integer"}}])");
    const BindingProperty& list = paths.Member("/hux-game-queues/v1/queues")
                                      .Member("get")
                                      .Member("responses")
                                      .Member("200")
                                      .Member("content")
                                      .Member("application/json")
                                      .Member("schema");
    EXPECT_EQ(list.Member("items").Member("$ref").AsString(), "#/components/schemas/HuxGameQueuesQueue");
}

}  // namespace
}  // namespace HuxTest
