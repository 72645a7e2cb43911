// live_view.cpp - the followed resources, the latest log lines and the snapshot of hux-host serve.
#include "live_view.h"

#include <algorithm>

#include "codecs/json_reader.h"
#include "codecs/json_writer.h"
#include "run_report.h"
#include "runtime/event_names.h"

namespace HuxHost {

using Brix::BindingProperty;

LiveView::LiveView(const DevHost& host) {
    const HostLoadBlock& block = host.Block();
    const char* shortName = block.shortName;
    plugin = shortName != nullptr ? shortName : "";
    routes = RoutePaths(block);
    std::erase_if(routes, [](const RoutePath& route) { return route.path.empty(); });
}

std::string LiveView::LogLine(const HostCall& call) {
    BindingProperty line;
    line.MemberForWriting("level").SetString(LevelName(call.level));
    line.MemberForWriting("text").SetString(call.text);
    std::string data = Brix::Json::Write(line);
    logLines.push_back(std::move(line));
    if (logLines.size() > kKeptLogLines) {
        logLines.pop_front();
    }
    return data;
}

void LiveView::NoteRequest(const HostCall& call, const DevHost& host) {
    if (call.number != static_cast<uint32_t>(Brix::MethodCode::Get) ||
        std::find(followed.begin(), followed.end(), call.text) != followed.end() ||
        !host.IsSubscribed(Brix::EventNameFromUri(call.text))) {
        return;
    }
    followed.push_back(call.text);
}

BindingProperty LiveView::Resource(const std::string& uri, const DevHost& host) {
    BindingProperty resource;
    resource.MemberForWriting("uri").SetString(uri);
    const ScriptedAnswer* answer = host.FindAnswer(Brix::MethodCode::Get, uri);
    const bool present = answer != nullptr && !answer->error && !answer->stream;
    resource.MemberForWriting("present").SetBool(present);
    BindingProperty& value = resource.MemberForWriting("value");
    if (present) {
        value = answer->body;
    }
    return resource;
}

std::string LiveView::ResourceChange(const TimelineStep& step, bool isFollowed, const DevHost& host) const {
    BindingProperty change = Resource(step.uri, host);
    change.MemberForWriting("eventType")
        .SetString(step.type == Brix::PluginResourceEventType::Delete ? "Delete" : "Update");
    change.MemberForWriting("followed").SetBool(isFollowed);
    return Brix::Json::Write(change);
}

BindingProperty LiveView::Snapshot(PluginSession& session) const {
    BindingProperty snapshot;
    snapshot.MemberForWriting("plugin").SetString(plugin);
    BindingProperty& routeList = snapshot.MemberForWriting("routes");
    routeList.MakeCollection();
    BindingProperty& answers = snapshot.MemberForWriting("answers");
    answers.MakeStructure();
    for (const RoutePath& route : routes) {
        routeList.AppendElement().SetString(route.path);
        const bool answersGet =
            route.method == 0 || route.method == static_cast<uint32_t>(Brix::MethodCode::Get);
        if (!answersGet || route.path.find('{') != std::string::npos) {
            continue;
        }
        RouteAnswer answer = session.Get(route.path);
        BindingProperty& entry = answers.MemberForWriting(route.path);
        entry.MemberForWriting("status").SetUnsigned(HttpStatus(answer));
        if (!Failed(answer) && !answer.streamed.empty()) {
            Brix::ConversionStatus read = Brix::Json::Read(answer.streamed);
            if (!read.Ok()) {
                answer.bodyError = read.Message();
            }
            answer.body = std::move(read.Value());
        }
        if (Failed(answer)) {
            entry.MemberForWriting("message").SetString(FailureMessage(answer));
        } else {
            entry.MemberForWriting("body") = std::move(answer.body);
        }
    }
    BindingProperty& resources = snapshot.MemberForWriting("resources");
    resources.MakeCollection();
    for (const std::string& uri : followed) {
        resources.AppendElement() = Resource(uri, session.Host());
    }
    BindingProperty& log = snapshot.MemberForWriting("log");
    log.MakeCollection();
    for (const BindingProperty& line : logLines) {
        log.AppendElement() = line;
    }
    return snapshot;
}

}  // namespace HuxHost
