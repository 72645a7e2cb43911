// http_server.cpp - the routes of hux-host serve over cpp-httplib.
#include "http_server.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <mutex>
#include <regex>

#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "listen_socket.h"
#include "live_page.h"
#include "printable_text.h"
#include "request_body.h"
#include "run_report.h"
#include "scenario_script.h"

namespace HuxHost {

namespace {

using Brix::BindingProperty;

constexpr std::string_view kJson = "application/json";
constexpr const char* kResourcePattern = "/resources(/.+)";
constexpr int kOk = 200;
constexpr int kContinue = 100;
constexpr int kBadRequest = 400;
constexpr int kNotFound = 404;
constexpr int kLengthRequired = 411;
constexpr int kPayloadTooLarge = 413;
constexpr int kUriTooLong = 414;
constexpr int kRangeNotSatisfiable = 416;
constexpr int kServiceUnavailable = 503;
// kWorkerThreads serve every request but the event streams, which have threads of their own on top.
constexpr std::size_t kWorkerThreads = 16;
constexpr std::size_t kMaxBodyBytes = std::size_t{8} << 20u;
constexpr std::size_t kMaxRequestLine = CPPHTTPLIB_REQUEST_URI_MAX_LENGTH;
constexpr time_t kIdleSeconds = 2;
// kHeartbeat is how often an idle event stream writes a comment line: a client that has gone away fails
// the write after the next one, which frees its place.
constexpr auto kHeartbeat = std::chrono::seconds(1);
// kStopCheck is how often the listening thread, while no connection arrives, looks whether it is to stop.
constexpr auto kStopCheck = std::chrono::milliseconds(100);

std::string Pretty(const BindingProperty& value) {
    return Brix::Json::Write(value, nullptr, "\n") + "\n";
}

void SendJson(httplib::Response& response, int status, const BindingProperty& value) {
    response.status = status;
    response.set_content(Pretty(value), std::string(kJson));
}

std::string TooLargeMessage() {
    return "the body of PUT /resources/<uri> is larger than 8 MiB (" + std::to_string(kMaxBodyBytes) +
           " bytes)";
}

void SendFailure(httplib::Response& response, int status, std::string_view message) {
    BindingProperty failure;
    failure.MemberForWriting("status").SetSigned(int64_t{status});
    failure.MemberForWriting("message").SetString(message);
    SendJson(response, status, failure);
}

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// IgnoreRanges makes the server answer whole: every answer here is made for the request, and the ranges
// of one request could otherwise repeat the answer thousands of times. The request is the server's own,
// handed to the handlers as const.
void IgnoreRanges(const httplib::Request& request) {
    const_cast<httplib::Request&>(request).ranges.clear();  // NOLINT(cppcoreguidelines-pro-type-const-cast)
}

// TakesBody tells the methods whose body the HTTP library reads whole before it looks for a handler.
bool TakesBody(std::string_view method) {
    return method == "POST" || method == "PUT" || method == "PATCH" || method == "DELETE" || method == "PRI";
}

// RequestName is the method and path of a request for a message, or what is known of it.
std::string RequestName(const httplib::Request& request) {
    return request.method + " " + request.path;
}

// ErrorMessage says why the server itself answered status without a handler.
std::string ErrorMessage(const httplib::Request& request, int status) {
    switch (status) {
        case kUriTooLong:
            return "the request line is longer than " + std::to_string(kMaxRequestLine) + " bytes";
        case kBadRequest:
            return request.path.empty()
                       ? "the request line or a header is malformed"
                       : "the headers of " + RequestName(request) + " are malformed or too long";
        case kRangeNotSatisfiable:
            return "the Range header of " + RequestName(request) + " is malformed";
        case kNotFound:
            return RequestName(request) + " is not served here";
        default:
            return request.method.empty()
                       ? "the request could not be served (status " + std::to_string(status) + ")"
                       : RequestName(request) + " could not be served (status " + std::to_string(status) +
                             ")";
    }
}

// CheckedPool is the server's thread pool; the listening thread calls it at every connection it hands
// over and at every kStopCheck without one, and each time the pool runs check on that thread.
class CheckedPool : public httplib::ThreadPool {
public:
    CheckedPool(std::size_t threads, std::function<void()> checkIn)
        : httplib::ThreadPool(threads), check(std::move(checkIn)) {}

    void enqueue(std::function<void()> work) override {
        httplib::ThreadPool::enqueue(std::move(work));
        check();
    }
    void on_idle() override { check(); }

private:
    std::function<void()> check;
};

}  // namespace

void Say(const std::string& line) {
    static std::mutex sayMutex;
    const std::string printable = Printable(line);
    const std::lock_guard lock(sayMutex);
    std::fwrite(printable.data(), 1, printable.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

HostHttpServer::HostHttpServer(PluginThread& thread, PluginSession& pluginSession, EventStream& eventStream,
                               std::string openApiText)
    : pluginThread(thread),
      session(pluginSession),
      events(eventStream),
      openApi(std::move(openApiText)),
      server(std::make_unique<httplib::Server>()) {
    // The index names the plugin's routes, read from its endpoint table on the plugin thread.
    index = pluginThread.Run([this] {
        live = std::make_unique<LiveView>(session.Host());
        BindingProperty document;
        document.MemberForWriting("plugin").SetString(live->Plugin());
        BindingProperty& routes = document.MemberForWriting("routes");
        routes.MakeCollection();
        for (const RoutePath& route : live->Routes()) {
            routes.AppendElement().SetString(route.path);
        }
        document.MemberForWriting("events").SetString("/events");
        document.MemberForWriting("openapi").SetString("/openapi.json");
        document.MemberForWriting("resources").SetString("PUT or DELETE /resources/<uri>");
        document.MemberForWriting("page").SetString("GET / with Accept: text/html");
        return Pretty(document);
    });
    Route();
}

HostHttpServer::~HostHttpServer() = default;

Brix::MaybeType<int> HostHttpServer::Bind(uint16_t port) {
    const std::string address = "127.0.0.1";
    if (port == 0) {
        const int chosen = server->bind_to_any_port(address);
        if (chosen <= 0) {
            return Brix::Failure("cannot listen on " + address + " at any port");
        }
        return chosen;
    }
    if (!server->bind_to_port(address, port)) {
        return Brix::Failure("cannot listen on " + address + ":" + std::to_string(port) + ": " +
                             LastSocketError());
    }
    return int{port};
}

void HostHttpServer::Serve() {
    server->listen_after_bind();
}

void HostHttpServer::Stop() {
    // The listening thread closes its own socket (StopIfAsked): the HTTP library's stop does nothing
    // before the server runs, so a stop asked for while Serve was still on its way would be lost.
    stopping = true;
    events.Close();
}

void HostHttpServer::StopIfAsked() {
    if (stopping.load()) {
        server->stop();
    }
}

std::size_t HostHttpServer::Drain() {
    DevHost& host = session.Host();
    const std::vector<SentEvent>& sent = host.SentEvents();
    std::size_t published = 0;
    for (const HostCall& call : host.Calls()) {
        switch (call.slot) {
            case HostSlot::Log:
                Say("plugin " + LevelName(call.level) + ": " + call.text);
                events.Publish(std::string(kLogEvent), live->LogLine(call));
                break;
            case HostSlot::SendEvent:
                if (published < sent.size()) {
                    events.Publish(sent[published].name, Brix::Json::Write(sent[published].payload));
                    ++published;
                }
                break;
            case HostSlot::Request:
                live->NoteRequest(call, host);
                break;
            default:
                break;
        }
    }
    host.ClearRecords();
    return published;
}

void HostHttpServer::Route() {
    // An event stream holds its thread for as long as its client stays: the pool has one for each stream
    // the server takes, on top of those that serve everything else.
    const std::size_t threads = kWorkerThreads + events.ReaderLimit();
    server->new_task_queue = [this, threads] { return new CheckedPool(threads, [this] { StopIfAsked(); }); };
    server->set_idle_interval(kStopCheck);
    // The port is this server's alone: a second server at it fails to bind instead of sharing it.
    server->set_socket_options(ListenAlone);
    // Every connection carries one request: the server closes it after the answer, so that a body left
    // unread (refused, or not announced) is never taken for another request, and an idle client holds
    // no thread. A connection that sends nothing is closed after kIdleSeconds.
    server->set_keep_alive_max_count(1);
    server->set_keep_alive_timeout(kIdleSeconds);
    server->set_payload_max_length(kMaxBodyBytes);
    server->set_logger([](const httplib::Request& request, const httplib::Response& response) {
        const std::string name =
            request.method.empty() ? "(unreadable request)" : request.method + " " + request.target;
        Say(name + " " + std::to_string(response.status));
    });

    server->set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        IgnoreRanges(request);
        if (response.body.empty()) {
            SendFailure(response, response.status, ErrorMessage(request, response.status));
        }
    });

    // Before any body is read: only PUT and DELETE of /resources/<uri> get as far as their handlers,
    // which read a body themselves under a limit; every other request that could carry a body is
    // answered without reading it.
    server->set_pre_routing_handler([resources = std::regex(kResourcePattern)](
                                        const httplib::Request& request, httplib::Response& response) {
        IgnoreRanges(request);
        if (!TakesBody(request.method) || ((request.method == "PUT" || request.method == "DELETE") &&
                                           std::regex_match(request.path, resources))) {
            return httplib::Server::HandlerResponse::Unhandled;
        }
        SendFailure(response, kNotFound, RequestName(request) + " is not served here");
        return httplib::Server::HandlerResponse::Handled;
    });

    // A client that asks before it sends a body learns at once that it is too large.
    server->set_expect_100_continue_handler([](const httplib::Request& request, httplib::Response& response) {
        if (request.method != "PUT" ||
            request.get_header_value<uint64_t>("Content-Length") <= kMaxBodyBytes) {
            return kContinue;
        }
        SendFailure(response, kPayloadTooLarge, TooLargeMessage());
        return kPayloadTooLarge;
    });

    server->Get("/", [this](const httplib::Request& request, httplib::Response& response) {
        // A browser asks for HTML and gets the live page; every other client keeps getting JSON.
        response.set_header("Vary", "Accept");
        if (request.get_header_value("Accept").find("text/html") != std::string::npos) {
            response.set_content(std::string(LivePageText()), "text/html; charset=utf-8");
        } else {
            response.set_content(index, std::string(kJson));
        }
    });
    server->Get("/openapi.json", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(openApi, std::string(kJson));
    });
    server->Get("/events", [this](const httplib::Request& request, httplib::Response& response) {
        StreamEvents(request, response);
    });

    server->Put(kResourcePattern, [this](const httplib::Request& request, httplib::Response& response,
                                         const httplib::ContentReader& reader) {
        RequestBody body = ReadBody(request, reader, kMaxBodyBytes);
        switch (body.outcome) {
            case BodyOutcome::NoLength:
                SendFailure(response, kLengthRequired,
                            "PUT /resources/<uri> needs a Content-Length or a chunked body");
                return;
            case BodyOutcome::TooLarge:
                SendFailure(response, kPayloadTooLarge, TooLargeMessage());
                return;
            case BodyOutcome::Unreadable:
                SendFailure(response, kBadRequest,
                            "the body could not be read: the connection broke, or a chunk or the compressed "
                            "body is malformed");
                return;
            case BodyOutcome::Read:
                break;
        }
        if (IsBlank(body.text)) {
            SendFailure(response, kBadRequest, "PUT /resources/<uri> takes the new value as a JSON body");
            return;
        }
        Brix::ConversionStatus parsed = Brix::Json::Read(body.text);
        if (!parsed.Ok()) {
            SendFailure(response, kBadRequest, "the body is not JSON: " + std::string(parsed.Message()));
            return;
        }
        Deliver({Brix::PluginResourceEventType::Update, request.matches[1].str(), std::move(parsed.Value())},
                response);
    });
    server->Delete(kResourcePattern, [this](const httplib::Request& request, httplib::Response& response,
                                            const httplib::ContentReader& /*unread*/) {
        // A delete takes no body: one sent anyway is not read.
        Deliver({Brix::PluginResourceEventType::Delete, request.matches[1].str(), {}}, response);
    });

    server->Get("/.*", [this](const httplib::Request& request, httplib::Response& response) {
        const RouteAnswer answer = pluginThread.Run([this, &request] {
            RouteAnswer routed = session.Get(request.target);
            Drain();
            return routed;
        });
        const int status = static_cast<int>(HttpStatus(answer));
        if (Failed(answer)) {
            SendFailure(response, status, FailureMessage(answer));
        } else if (!answer.streamed.empty()) {
            response.status = status;
            response.set_content(answer.streamed, std::string(kJson));
        } else {
            SendJson(response, status, answer.body);
        }
    });
}

void HostHttpServer::Deliver(const TimelineStep& step, httplib::Response& response) {
    BindingProperty answer = pluginThread.Run([this, &step] {
        BindingProperty result;
        const bool followed = PlayStep(step, session.Host());
        result.MemberForWriting("followed").SetBool(followed);
        // The page's input panel hears of the change before the plugin's answer to it.
        events.Publish(std::string(kResourceEvent), live->ResourceChange(step, followed, session.Host()));
        result.MemberForWriting("eventsSent").SetUnsigned(uint64_t{Drain()});
        return result;
    });
    answer.MemberForWriting("uri").SetString(step.uri);
    answer.MemberForWriting("eventType")
        .SetString(step.type == Brix::PluginResourceEventType::Delete ? "Delete" : "Update");
    SendJson(response, kOk, answer);
}

std::string HostHttpServer::StartingPoint(const httplib::Request& request, uint64_t& next) {
    if (events.Resume(request.get_header_value("Last-Event-ID"), next)) {
        return {};
    }
    return pluginThread.Run([this, &next] {
        // The snapshot and the number after it are taken together on the plugin thread, which alone
        // publishes: the stream goes on exactly where the snapshot leaves off, and a client that
        // reconnects with the snapshot's number misses nothing.
        const BindingProperty snapshot = live->Snapshot(session);
        next = events.Next();
        return events.Format({next - 1, std::string(kSnapshotEvent), Brix::Json::Write(snapshot)});
    });
}

void HostHttpServer::StreamEvents(const httplib::Request& request, httplib::Response& response) {
    if (!events.Join()) {
        SendFailure(response, kServiceUnavailable,
                    "hux-host serves at most " + std::to_string(events.ReaderLimit()) +
                        " event streams at once: close one and try again");
        response.set_header("Retry-After", "2");
        return;
    }
    uint64_t next = 0;
    std::string first = ": hux-host event stream\nretry: 2000\n\n" + StartingPoint(request, next);
    response.set_header("Cache-Control", "no-cache");
    response.set_chunked_content_provider(
        "text/event-stream",
        [this, next, first = std::move(first)](std::size_t /*offset*/, httplib::DataSink& sink) mutable {
            std::string out;
            if (!first.empty()) {
                // The first bytes tell the client how to reconnect and where it starts.
                out = std::move(first);
                first.clear();
            } else {
                std::vector<EventMessage> messages;
                uint64_t skipped = 0;
                if (!events.Collect(next, messages, kHeartbeat, skipped)) {
                    sink.done();
                    return true;
                }
                if (skipped > 0) {
                    out += ": " + std::to_string(skipped) +
                           " events were dropped before this client read them\n\n";
                }
                for (const EventMessage& message : messages) {
                    out += events.Format(message);
                }
                if (out.empty()) {
                    out = ": keep-alive\n\n";
                }
            }
            return sink.write(out.data(), out.size());
        },
        // However the stream ends, even before its first bytes, its place is given back.
        [this](bool /*success*/) { events.Leave(); });
}

}  // namespace HuxHost
