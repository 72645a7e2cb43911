// http_server.h - hux-host's HTTP/1.1 server on 127.0.0.1: the plugin's routes, its events as
// Server-Sent Events, resource deliveries and the API description.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "binding/maybe_type.h"
#include "event_stream.h"
#include "live_view.h"
#include "plugin_session.h"
#include "plugin_thread.h"
#include "scenario.h"

namespace httplib {  // NOLINT(readability-identifier-naming): the HTTP library's own namespace
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace HuxHost {

// HostHttpServer serves one started plugin. Every plugin call runs on the plugin thread; after each,
// the server prints what the plugin logged, publishes the events it sent to the event stream and
// drops the host's records of them.
//   GET /                        the live page for a browser (Accept: text/html), otherwise an index of
//                                what is served, JSON
//   GET /openapi.json            the OpenAPI document (given at construction)
//   GET /events                  Server-Sent Events: a snapshot of the plugin's state, then every event
//                                from there on, with a comment line each idle second; a client that
//                                sends Last-Event-ID gets the events after it instead, when they are still
//                                kept; 503 while the event stream's reader limit of clients is connected
//   PUT /resources/<uri>         a JSON body delivered as an Update of <uri> (400 for a body that is not
//                                JSON, 411 for one with neither a length nor chunks, 413 for one past
//                                8 MiB once decoded); answers {"uri", "eventType", "followed", "eventsSent"}
//   DELETE /resources/<uri>      a Delete of <uri>, answered the same way
//   GET anything else            offered to the plugin's routes; the answer's JSON with the plugin's
//                                status, or {"status", "message"} for a failure (status 500 when the
//                                plugin gave none)
// Any other request that may carry a body is answered 404 without reading it. Every answer is whole
// (Range headers are not honoured), every connection carries one request, and the lines printed escape
// control characters.
class HostHttpServer {
public:
    HostHttpServer(PluginThread& pluginThread, PluginSession& session, EventStream& events,
                   std::string openApi);
    ~HostHttpServer();
    HostHttpServer(const HostHttpServer&) = delete;
    HostHttpServer& operator=(const HostHttpServer&) = delete;

    // Bind listens on 127.0.0.1 at port, or at a free port for 0; answers the port.
    Brix::MaybeType<int> Bind(uint16_t port);

    // Serve answers requests until Stop is called (from another thread); then it returns.
    void Serve();

    // Stop ends the event streams and the server. Safe from any thread, and more than once, also before
    // Serve has begun: Serve then returns as soon as it has.
    void Stop();

    // Drain prints the plugin's new log lines and publishes them and its new events, in the order they
    // came, notes the resources it fetched, then drops the host's records; answers the number of the
    // plugin's events. Runs on the plugin thread only.
    std::size_t Drain();

private:
    void Route();
    // StopIfAsked ends the listening once Stop has been called. Runs on the thread in Serve only.
    void StopIfAsked();
    // Deliver plays one resource change on the plugin thread and answers what it caused.
    void Deliver(const TimelineStep& step, httplib::Response& response);
    // StreamEvents answers GET /events: the event stream, or 503 when every place is taken.
    void StreamEvents(const httplib::Request& request, httplib::Response& response);
    // StartingPoint is where a new event stream starts: after the Last-Event-ID the client sent, when
    // nothing after it was dropped, or else at a snapshot, which it answers in the wire form.
    std::string StartingPoint(const httplib::Request& request, uint64_t& next);

    PluginThread& pluginThread;
    PluginSession& session;
    EventStream& events;
    std::string openApi;
    std::string index;
    std::unique_ptr<LiveView> live;  // touched on the plugin thread only
    std::unique_ptr<httplib::Server> server;
    std::atomic<bool> stopping{false};
};

// Say prints one line on standard output at once, control characters and malformed UTF-8 escaped (see
// Printable): the server's output is read while it runs.
void Say(const std::string& line);

}  // namespace HuxHost
