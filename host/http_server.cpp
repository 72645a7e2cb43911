// http_server.cpp - the routes of hux-host serve over cpp-httplib.
#include "http_server.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <mutex>

#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "run_report.h"
#include "scenario_script.h"

namespace HuxHost {

namespace {

using Brix::BindingProperty;
using std::chrono::steady_clock;

constexpr std::string_view kJson = "application/json";
constexpr std::string_view kResourcesPrefix = "/resources";
constexpr int kOk = 200;
constexpr int kBadRequest = 400;
constexpr std::size_t kWorkerThreads = 16;
constexpr std::size_t kMaxBodyBytes = 8u << 20u;
constexpr time_t kKeepAliveSeconds = 2;
constexpr auto kEventWait = std::chrono::milliseconds(500);
constexpr auto kKeepAliveComment = std::chrono::seconds(15);

std::string Pretty(const BindingProperty& value) {
    return Brix::Json::Write(value, nullptr, "\n") + "\n";
}

void SendJson(httplib::Response& response, int status, const BindingProperty& value) {
    response.status = status;
    response.set_content(Pretty(value), std::string(kJson));
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

}  // namespace

void Say(const std::string& line) {
    static std::mutex sayMutex;
    const std::lock_guard lock(sayMutex);
    std::fwrite(line.data(), 1, line.size(), stdout);
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
        BindingProperty document;
        const HostLoadBlock& block = session.Host().Block();
        const char* shortName = block.shortName;
        document.MemberForWriting("plugin").SetString(shortName != nullptr ? shortName : "");
        BindingProperty& routes = document.MemberForWriting("routes");
        routes.MakeCollection();
        const HostEndpointTable* table = block.endpoints;
        for (const HostEndpointRecord* record = table != nullptr ? table->endpoints : nullptr;
             record != nullptr; record = record->next) {
            const char* path = record->path;
            if (path != nullptr && *path != '\0') {
                routes.AppendElement().SetString(path);
            }
        }
        document.MemberForWriting("events").SetString("/events");
        document.MemberForWriting("openapi").SetString("/openapi.json");
        document.MemberForWriting("resources").SetString("PUT or DELETE /resources/<uri>");
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
        return Brix::Failure("cannot listen on " + address + ":" + std::to_string(port) +
                             " (is another server using the port?)");
    }
    return int{port};
}

void HostHttpServer::Serve() {
    server->listen_after_bind();
}

void HostHttpServer::Stop() {
    events.Close();
    server->stop();
}

std::size_t HostHttpServer::Drain() {
    DevHost& host = session.Host();
    for (const HostCall& call : host.Calls()) {
        if (call.slot == HostSlot::Log) {
            Say("plugin " + LevelName(call.level) + ": " + call.text);
        }
    }
    const std::size_t sent = host.SentEvents().size();
    for (const SentEvent& event : host.SentEvents()) {
        events.Publish(event.name, Brix::Json::Write(event.payload));
    }
    host.ClearRecords();
    return sent;
}

void HostHttpServer::Route() {
    server->new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
    server->set_keep_alive_timeout(kKeepAliveSeconds);
    server->set_payload_max_length(kMaxBodyBytes);
    server->set_logger([](const httplib::Request& request, const httplib::Response& response) {
        Say(request.method + " " + request.target + " " + std::to_string(response.status));
    });

    server->set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (response.body.empty()) {
            SendFailure(response, response.status,
                        request.method + " " + request.path + " is not served here");
        }
    });

    server->Get("/", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(index, std::string(kJson));
    });
    server->Get("/openapi.json", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(openApi, std::string(kJson));
    });

    server->Get("/events", [this](const httplib::Request&, httplib::Response& response) {
        response.set_header("Cache-Control", "no-cache");
        response.set_chunked_content_provider(
            "text/event-stream",
            [this, next = events.Next(), greeted = false, lastWrite = steady_clock::now()](
                std::size_t /*offset*/, httplib::DataSink& sink) mutable {
                std::string out;
                if (!greeted) {
                    // The first bytes tell the client that it receives every event from now on.
                    greeted = true;
                    out = ": hux-host event stream\nretry: 2000\n\n";
                } else {
                    std::vector<EventMessage> messages;
                    uint64_t skipped = 0;
                    if (!events.Collect(next, messages, kEventWait, skipped)) {
                        sink.done();
                        return true;
                    }
                    if (skipped > 0) {
                        out += ": " + std::to_string(skipped) +
                               " events were dropped before this client read them\n\n";
                    }
                    for (const EventMessage& message : messages) {
                        out += EventStream::Format(message);
                    }
                    if (out.empty() && steady_clock::now() - lastWrite >= kKeepAliveComment) {
                        out = ": keep-alive\n\n";
                    }
                }
                if (out.empty()) {
                    return true;
                }
                lastWrite = steady_clock::now();
                return sink.write(out.data(), out.size());
            });
    });

    const std::string resourcePattern = std::string(kResourcesPrefix) + "(/.+)";
    server->Put(resourcePattern, [this](const httplib::Request& request, httplib::Response& response) {
        if (IsBlank(request.body)) {
            SendFailure(response, kBadRequest, "PUT /resources/<uri> takes the new value as a JSON body");
            return;
        }
        Brix::ConversionStatus parsed = Brix::Json::Read(request.body);
        if (!parsed.Ok()) {
            SendFailure(response, kBadRequest, "the body is not JSON: " + std::string(parsed.Message()));
            return;
        }
        TimelineStep step{Brix::PluginResourceEventType::Update, request.matches[1].str(),
                          std::move(parsed.Value())};
        BindingProperty answer = pluginThread.Run([this, &step] {
            BindingProperty result;
            result.MemberForWriting("followed").SetBool(PlayStep(step, session.Host()));
            result.MemberForWriting("eventsSent").SetUnsigned(uint64_t{Drain()});
            return result;
        });
        answer.MemberForWriting("uri").SetString(step.uri);
        answer.MemberForWriting("eventType").SetString("Update");
        SendJson(response, kOk, answer);
    });
    server->Delete(resourcePattern, [this](const httplib::Request& request, httplib::Response& response) {
        TimelineStep step{Brix::PluginResourceEventType::Delete, request.matches[1].str(), {}};
        BindingProperty answer = pluginThread.Run([this, &step] {
            BindingProperty result;
            result.MemberForWriting("followed").SetBool(PlayStep(step, session.Host()));
            result.MemberForWriting("eventsSent").SetUnsigned(uint64_t{Drain()});
            return result;
        });
        answer.MemberForWriting("uri").SetString(step.uri);
        answer.MemberForWriting("eventType").SetString("Delete");
        SendJson(response, kOk, answer);
    });

    server->Get("/.*", [this](const httplib::Request& request, httplib::Response& response) {
        const RouteAnswer answer = pluginThread.Run([this, &request] {
            RouteAnswer routed = session.Get(request.target);
            Drain();
            return routed;
        });
        const int status = static_cast<int>(HttpStatus(answer));
        if (Failed(answer)) {
            SendFailure(response, status,
                        answer.error ? *answer.error : "unreadable answer: " + answer.bodyError);
        } else if (!answer.streamed.empty()) {
            response.status = status;
            response.set_content(answer.streamed, std::string(kJson));
        } else {
            SendJson(response, status, answer.body);
        }
    });
}

}  // namespace HuxHost
