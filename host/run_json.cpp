// run_json.cpp - the run report as a generic value, ready for the JSON writer.
#include "run_json.h"

#include "codecs/json_writer.h"

namespace HuxHost {

namespace {

using Brix::BindingProperty;

void SetText(BindingProperty& object, std::string_view name, std::string_view text) {
    object.MemberForWriting(name).SetString(text);
}

void SetNumber(BindingProperty& object, std::string_view name, uint64_t number) {
    object.MemberForWriting(name).SetUnsigned(number);
}

BindingProperty StatsJson(const MemoryStats& stats) {
    BindingProperty object;
    SetNumber(object, "peakBytes", stats.counters[0]);
    SetNumber(object, "peakBlocks", stats.counters[1]);
    SetNumber(object, "bytesAllocated", stats.counters[2]);
    SetNumber(object, "allocations", stats.counters[3]);
    SetNumber(object, "bytesReleased", stats.counters[4]);
    SetNumber(object, "releases", stats.counters[5]);
    SetNumber(object, "bytesInUse", stats.BytesInUse());
    SetNumber(object, "blocksInUse", stats.counters[3] - stats.counters[5]);
    return object;
}

}  // namespace

BindingProperty RunJson(const RunReport& report, const ReportOptions& options) {
    BindingProperty root;
    BindingProperty& plugin = root.MemberForWriting("plugin");
    SetText(plugin, "path", report.pluginPath);
    SetText(plugin, "shortName", report.shortName);
    SetText(plugin, "version", report.version);
    SetNumber(plugin, "endpoints", report.endpointCount);

    BindingProperty& scenario = root.MemberForWriting("scenario");
    SetText(scenario, "source", report.scenarioSource);
    SetText(scenario, "description", report.scenarioDescription);
    SetNumber(scenario, "timelineSteps", report.timelineSteps);
    SetNumber(scenario, "timelineUnfollowed", report.timelineUnfollowed);

    root.MemberForWriting("started").SetBool(report.started);
    SetNumber(root, "yields", report.yields);

    SetNumber(root, "logLines", report.logLines);
    SetText(root, "logLevel", LevelName(options.logLevel));
    SetNumber(root, "lateTranslationErrors", report.lateTranslationErrors);
    BindingProperty& log = root.MemberForWriting("log");
    log.MakeCollection();
    for (const LoggedLine& line : report.log) {
        if (line.level < options.logLevel) {
            continue;
        }
        BindingProperty& entry = log.AppendElement();
        entry.MemberForWriting("level").SetSigned(line.level);
        SetText(entry, "levelName", LevelName(line.level));
        SetText(entry, "message", line.message);
        SetNumber(entry, "count", line.count);
    }

    SetNumber(root, "eventsSent", report.eventsSent);
    BindingProperty& events = root.MemberForWriting("events");
    events.MakeCollection();
    for (const PublishedEvent& event : report.events) {
        BindingProperty& entry = events.AppendElement();
        SetText(entry, "name", event.name);
        SetText(entry, "eventType", event.eventType);
        SetText(entry, "uri", event.uri);
        SetText(entry, "summary", event.summary);
        if (event.queues) {
            SetNumber(entry, "queues", event.queues->queues);
            SetNumber(entry, "available", event.queues->available);
        }
    }

    BindingProperty& queues = root.MemberForWriting("queues");
    if (report.queuesPublished) {
        queues.MakeCollection();
    }
    for (const QueueRow& row : report.queues) {
        BindingProperty& entry = queues.AppendElement();
        entry.MemberForWriting("id").SetSigned(row.id);
        SetText(entry, "type", row.type);
        entry.MemberForWriting("mapId").SetSigned(row.mapId);
        SetText(entry, "gameMode", row.gameMode);
        SetText(entry, "category", row.category);
        SetText(entry, "queueAvailability", row.availability);
        SetText(entry, "name", row.name);
    }

    BindingProperty& routes = root.MemberForWriting("routes");
    routes.MakeCollection();
    for (const RouteResult& route : report.routes) {
        BindingProperty& entry = routes.AppendElement();
        SetText(entry, "path", route.pathTemplate);
        SetText(entry, "url", route.url);
        SetNumber(entry, "status", route.status);
        if (route.error) {
            SetText(entry, "error", *route.error);
        }
        SetText(entry, "summary", route.summary);
        if (options.bodies && route.body) {
            entry.MemberForWriting("body") = *route.body;
        }
    }

    BindingProperty& memory = root.MemberForWriting("memory");
    if (report.started) {
        memory.MemberForWriting("beforeStop") = StatsJson(report.beforeStop);
    }
    memory.MemberForWriting("afterStop") = StatsJson(report.afterStop);
    return root;
}

std::string RunJsonText(const RunReport& report, const ReportOptions& options) {
    // The writer orders members by name; the format goes first, where a reader looks for it.
    const std::string members = Brix::Json::Write(RunJson(report, options), nullptr, "\n");
    return "{\n    \"format\": " + std::to_string(kRunJsonFormat) + ",\n" + members.substr(2) + "\n";
}

}  // namespace HuxHost
