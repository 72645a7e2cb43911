// live_view.h - what hux-host serve keeps for its live page and event streams: the resources the plugin
// follows with their current values, the latest log lines, and the snapshot a new stream starts with.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "binding/binding_property.h"
#include "dev_host.h"
#include "plugin_session.h"
#include "scenario.h"

namespace HuxHost {

// The names of the events the host adds to the plugin's own on the event stream.
inline constexpr std::string_view kSnapshotEvent = "hux-host.snapshot";
inline constexpr std::string_view kLogEvent = "hux-host.log";
inline constexpr std::string_view kResourceEvent = "hux-host.resource";

// LiveView is used on the plugin thread only.
class LiveView {
public:
    static constexpr std::size_t kKeptLogLines = 200;

    // A view of the plugin that filled the host's load block: its name and the paths of its routes.
    explicit LiveView(const DevHost& host);

    const std::string& Plugin() const noexcept { return plugin; }
    const std::vector<RoutePath>& Routes() const noexcept { return routes; }

    // LogLine keeps one log call among the latest and answers it as a kLogEvent's data:
    // {"level": "WARN", "text": "..."}.
    std::string LogLine(const HostCall& call);

    // NoteRequest remembers a GET of a resource the plugin follows (its event is subscribed), in the
    // order of the first GET of each.
    void NoteRequest(const HostCall& call, const DevHost& host);

    // ResourceChange is a kResourceEvent's data for a delivered step: the resource as Resource answers it,
    // with "eventType" and "followed".
    std::string ResourceChange(const TimelineStep& step, bool followed, const DevHost& host) const;

    // Snapshot is what a new event stream starts with (kSnapshotEvent): {"plugin", "routes", "answers"
    // (each GET route without parameters: {"status", "body"} or {"status", "message"}), "resources" (the
    // followed ones, see Resource), "log" (the latest lines, oldest first)}. It asks the plugin's routes.
    Brix::BindingProperty Snapshot(PluginSession& session) const;

private:
    // Resource is {"uri", "present", "value"} with the value the host answers for uri (null without one).
    static Brix::BindingProperty Resource(const std::string& uri, const DevHost& host);

    std::string plugin;
    std::vector<RoutePath> routes;  // those with a path
    std::vector<std::string> followed;
    std::deque<Brix::BindingProperty> logLines;
};

}  // namespace HuxHost
