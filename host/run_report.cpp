// run_report.cpp - playing a scenario from Start to Stop and collecting what the plugin did.
#include "run_report.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "rest/method_code.h"
#include "scenario_script.h"
#include "text/decimal_text.h"

namespace HuxHost {

namespace {

using Brix::BindingProperty;

std::string ParameterValue(std::string_view name, const BindingProperty& queue) {
    if (name == "id") {
        return std::to_string(NumberOf(queue.Member("id")));
    }
    if (name == "queueType") {
        return std::string(queue.Member("type").AsString());
    }
    if (name == "gameTypeConfigId") {
        return std::to_string(NumberOf(queue.Member("gameTypeConfig").Member("id")));
    }
    if (name == "mapId") {
        return std::to_string(NumberOf(queue.Member("mapId")));
    }
    return "0";
}

// SampleQueue is the queue whose values fill the routes' path parameters: the first published one, else
// one made from the scenario's first queue definition, else one of type "NORMAL" with every number 0.
BindingProperty SampleQueue(const BindingProperty& published, const Scenario& scenario) {
    if (published.ElementCount() > 0) {
        return published.Element(0);
    }
    BindingProperty sample;
    sample.MemberForWriting("type").SetString("NORMAL");
    if (scenario.matchmaker && scenario.matchmaker->queues.ElementCount() > 0) {
        const BindingProperty& definition = scenario.matchmaker->queues.Element(0);
        sample.MemberForWriting("id").SetSigned(NumberOf(definition.Member("id")));
        if (!definition.Member("type").AsString().empty()) {
            sample.MemberForWriting("type").SetString(definition.Member("type").AsString());
        }
        sample.MemberForWriting("gameTypeConfig")
            .MemberForWriting("id")
            .SetSigned(NumberOf(definition.Member("gameTypeConfigId")));
        sample.MemberForWriting("mapId").SetSigned(NumberOf(definition.Member("supportedMapIds").Element(0)));
    }
    return sample;
}

// ReadEvents adds the events the plugin sent to the report; the last queue list among them replaces
// lastQueues.
void ReadEvents(const DevHost& host, RunReport& report, BindingProperty& lastQueues) {
    for (const SentEvent& event : host.SentEvents()) {
        const BindingProperty& data = event.payload.Member("data");
        ++report.eventsSent;
        if (IsQueueList(data)) {
            report.queuesPublished = true;
            lastQueues = data;
        }
        if (report.events.size() >= kListedEntries) {
            continue;
        }
        PublishedEvent published;
        published.name = event.name;
        published.uri = std::string(event.payload.Member("uri").AsString());
        published.eventType = std::string(event.payload.Member("eventType").AsString());
        published.summary = Summarize(data);
        if (IsQueueList(data)) {
            published.queues = CountQueues(data);
        }
        report.events.push_back(std::move(published));
    }
}

void CallRoutes(PluginSession& session, const std::vector<RoutePath>& routes, const BindingProperty& sample,
                RunReport& report) {
    for (const RoutePath& route : routes) {
        if (route.method != static_cast<uint32_t>(Brix::MethodCode::Get)) {
            continue;
        }
        RouteResult result;
        result.pathTemplate = route.path;
        result.url = SampleUrl(route.path, sample);
        const RouteAnswer answer = session.Get(result.url);
        result.status = HttpStatus(answer);
        result.error = answer.error;
        if (Failed(answer)) {
            result.summary = FailureMessage(answer);
        } else {
            result.summary = Summarize(answer.body);
            result.body = answer.body;
        }
        report.routes.push_back(std::move(result));
    }
}

// FoldedLines finds a log line already in the report by its level and message.
using FoldedLines = std::unordered_map<std::string, std::size_t>;

// ReadCalls adds the plugin's log lines to the report, a repeated line to the count of its first one,
// and counts its yields.
void ReadCalls(const DevHost& host, RunReport& report, FoldedLines& folded) {
    for (const HostCall& call : host.Calls()) {
        if (call.slot == HostSlot::Log) {
            ++report.logLines;
            const std::string key = std::to_string(call.level) + ":" + call.text;
            const auto found = folded.find(key);
            if (found != folded.end()) {
                ++report.log[found->second].count;
            } else if (report.log.size() < kListedEntries) {
                folded.emplace(key, report.log.size());
                report.log.push_back({call.level, call.text, 1});
            }
        } else if (call.slot == HostSlot::Yield) {
            ++report.yields;
        }
    }
}

// TakeRecords reads what the plugin did since the last time into the report and drops the host's
// records of it; events are read only until the routes are called.
void TakeRecords(DevHost& host, RunReport& report, FoldedLines& folded, BindingProperty* lastQueues) {
    if (lastQueues != nullptr) {
        ReadEvents(host, report, *lastQueues);
    }
    ReadCalls(host, report, folded);
    host.ClearRecords();
}

// IsLateTranslationError says whether line is the ERROR "Translations not found for queue id N." of a
// queue that has a name in rows: the queue list was built before the translations loaded.
bool IsLateTranslationError(const LoggedLine& line, const std::vector<QueueRow>& rows) {
    constexpr std::string_view kPrefix = "Translations not found for queue id ";
    const std::string_view message = line.message;
    if (line.level != kLevelError || !message.starts_with(kPrefix) || !message.ends_with('.')) {
        return false;
    }
    const std::string_view number = message.substr(kPrefix.size(), message.size() - kPrefix.size() - 1);
    const Brix::Text::DecimalResult<int64_t> id =
        Brix::Text::ParseDecimal<int64_t>(number, {.allowSign = true});
    if (id.status != Brix::Text::DecimalStatus::Ok) {
        return false;
    }
    return std::ranges::any_of(
        rows, [&id](const QueueRow& row) { return row.id == id.value && !row.name.empty(); });
}

// CountLateTranslationErrors moves the late translation errors out of the report's log into their count.
void CountLateTranslationErrors(RunReport& report) {
    std::erase_if(report.log, [&report](const LoggedLine& line) {
        if (!IsLateTranslationError(line, report.queues)) {
            return false;
        }
        report.lateTranslationErrors += line.count;
        return true;
    });
}

}  // namespace

std::string LevelName(int32_t level) {
    constexpr std::array<std::string_view, 4> kNames = {"OKAY", "WARN", "ERROR", "ALWAYS"};
    if (level >= 0 && static_cast<std::size_t>(level) < kNames.size()) {
        return std::string(kNames[static_cast<std::size_t>(level)]);
    }
    return std::to_string(level);
}

std::string SampleUrl(std::string_view pathTemplate, const BindingProperty& queue) {
    std::string url;
    std::size_t at = 0;
    while (at < pathTemplate.size()) {
        const std::size_t open = pathTemplate.find('{', at);
        const std::size_t close = open == std::string_view::npos ? open : pathTemplate.find('}', open);
        if (close == std::string_view::npos) {
            url += pathTemplate.substr(at);
            break;
        }
        url += pathTemplate.substr(at, open - at);
        url += ParameterValue(pathTemplate.substr(open + 1, close - open - 1), queue);
        at = close + 1;
    }
    return url;
}

RunReport RunScenario(PluginSession& session, const Scenario& scenario) {
    DevHost& host = session.Host();
    RunReport report;
    report.pluginPath = session.PluginPath();
    const HostLoadBlock& block = host.Block();
    const char* shortName = block.shortName;
    report.shortName = shortName != nullptr ? shortName : "";
    const uint32_t major = block.major;
    const uint32_t minor = block.minor;
    const uint32_t patch = block.patch;
    report.version = std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
    const std::vector<RoutePath> routes = RoutePaths(block);
    report.endpointCount = static_cast<uint32_t>(routes.size());
    report.scenarioSource = scenario.source;
    report.scenarioDescription = scenario.description;
    report.timelineSteps = scenario.timeline.size();

    BindingProperty lastQueues;
    FoldedLines folded;
    report.started = session.Start(scenario);
    TakeRecords(host, report, folded, &lastQueues);
    if (report.started) {
        for (const TimelineStep& step : scenario.timeline) {
            report.timelineUnfollowed += PlayStep(step, host) ? 0 : 1;
            TakeRecords(host, report, folded, &lastQueues);
        }
    }
    report.queues = QueueRows(lastQueues);
    if (report.started) {
        CallRoutes(session, routes, SampleQueue(lastQueues, scenario), report);
        report.beforeStop = session.Stats();
    }
    TakeRecords(host, report, folded, nullptr);
    session.Stop();
    report.afterStop = session.Stats();
    TakeRecords(host, report, folded, nullptr);
    CountLateTranslationErrors(report);
    return report;
}

}  // namespace HuxHost
