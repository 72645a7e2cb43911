// run_text.cpp - laying out the run report: lines, columns and a queue table.
#include "run_text.h"

#include <algorithm>
#include <array>

namespace HuxHost {

namespace {

// Padded is text filled with spaces to width, on the right (or on the left for numbers).
std::string Padded(std::string text, std::size_t width, bool right = false) {
    if (text.size() < width) {
        const std::string fill(width - text.size(), ' ');
        text = right ? fill + text : text + fill;
    }
    return text;
}

// Listed says how many of a section's entries are listed, when not all of them are.
std::string Listed(std::size_t listed, std::size_t total) {
    return listed < total ? ", the first " + std::to_string(listed) + " are listed" : "";
}

void Section(std::string& out, const std::string& title) {
    out += "\n== " + title + "\n";
}

void WriteHead(std::string& out, const RunReport& report) {
    out += "plugin    " + report.shortName + " " + report.version + " (" + report.pluginPath + "), " +
           std::to_string(report.endpointCount) + " endpoints\n";
    out += "scenario  " + report.scenarioSource;
    if (!report.scenarioDescription.empty()) {
        out += ": " + report.scenarioDescription;
    }
    out += "\nstarted   " + std::string(report.started ? "yes" : "no, the plugin refused to start") + "\n";
    if (report.started) {
        out += "timeline  " + std::to_string(report.timelineSteps) +
               (report.timelineSteps == 1 ? " step" : " steps") + " delivered";
        if (report.timelineUnfollowed > 0) {
            out += " (" + std::to_string(report.timelineUnfollowed) +
                   " to resources the plugin does not follow)";
        }
        out += "\nyields    " + std::to_string(report.yields) + " turns given to the host while waiting\n";
    }
}

void WriteLog(std::string& out, const RunReport& report, int32_t level) {
    std::size_t listed = report.lateTranslationErrors;
    for (const LoggedLine& line : report.log) {
        listed += line.count;
    }
    const std::string shown = level <= 0 ? "every level" : LevelName(level) + " and worse";
    Section(out, "Log (" + std::to_string(report.logLines) + " lines; " + shown + " shown, repeats folded" +
                     (listed < report.logLines
                          ? "; the first " + std::to_string(kListedEntries) + " distinct lines are kept"
                          : "") +
                     ")");
    for (const LoggedLine& line : report.log) {
        if (line.level >= level) {
            out += Padded(LevelName(line.level), 7) + line.message +
                   (line.count > 1 ? " (x" + std::to_string(line.count) + ")" : "") + "\n";
        }
    }
    if (report.lateTranslationErrors > 0 && level <= kLevelError) {
        out += "note   " + std::to_string(report.lateTranslationErrors) +
               " ERROR lines \"Translations not found for queue id N.\" are expected and not listed: the "
               "first queue list is built before the translations load, and each of these queues has its "
               "name in the last list\n";
    }
}

void WriteEvents(std::string& out, const RunReport& report) {
    Section(out, "Events (" + std::to_string(report.eventsSent) +
                     Listed(report.events.size(), report.eventsSent) + ")");
    std::size_t nameWidth = 0;
    std::size_t uriWidth = 0;
    for (const PublishedEvent& event : report.events) {
        nameWidth = std::max(nameWidth, event.name.size());
        uriWidth = std::max(uriWidth, event.uri.size());
    }
    for (const PublishedEvent& event : report.events) {
        out += Padded(event.name, nameWidth + 2) + Padded(event.eventType, 8) +
               Padded(event.uri, uriWidth + 2) + event.summary + "\n";
    }
}

void WriteQueues(std::string& out, const RunReport& report) {
    if (!report.queuesPublished) {
        Section(out, "Queues (none published)");
        return;
    }
    std::size_t available = 0;
    for (const QueueRow& row : report.queues) {
        available += row.availability == "Available" ? 1 : 0;
    }
    Section(out, "Queues (" + std::to_string(report.queues.size()) + " published, " +
                     std::to_string(available) + " available)");
    constexpr std::size_t kColumns = 7;
    std::vector<std::array<std::string, kColumns>> cells;
    cells.push_back({"id", "type", "map", "game mode", "category", "availability", "name"});
    for (const QueueRow& row : report.queues) {
        cells.push_back({std::to_string(row.id), row.type, std::to_string(row.mapId), row.gameMode,
                         row.category, row.availability, row.name});
    }
    std::array<std::size_t, kColumns> widths{};
    for (const auto& line : cells) {
        for (std::size_t i = 0; i < kColumns; ++i) {
            widths[i] = std::max(widths[i], line[i].size());
        }
    }
    for (const auto& line : cells) {
        std::string text;
        for (std::size_t i = 0; i < kColumns; ++i) {
            const bool number = i == 0 || i == 2;
            text += i + 1 < kColumns ? Padded(line[i], widths[i], number) + "  " : line[i];
        }
        out += text + "\n";
    }
}

void WriteRoutes(std::string& out, const RunReport& report) {
    Section(out, "Routes (" + std::to_string(report.routes.size()) + ")");
    std::size_t urlWidth = 0;
    for (const RouteResult& route : report.routes) {
        urlWidth = std::max(urlWidth, route.url.size());
    }
    for (const RouteResult& route : report.routes) {
        out += Padded(std::to_string(route.status), 5) + "GET " + Padded(route.url, urlWidth + 2) +
               route.summary + "\n";
    }
}

std::string StatsLine(const MemoryStats& stats) {
    const uint64_t blocks = stats.counters[3] - stats.counters[5];
    return std::to_string(stats.BytesInUse()) + " bytes in " + std::to_string(blocks) + " blocks in use; " +
           std::to_string(stats.counters[3]) + " allocations, " + std::to_string(stats.counters[5]) +
           " releases; peak " + std::to_string(stats.counters[0]) + " bytes in " +
           std::to_string(stats.counters[1]) + " blocks";
}

void WriteMemory(std::string& out, const RunReport& report) {
    Section(out, "Memory (allocations of the plugin library)");
    if (report.started) {
        out += "before Stop  " + StatsLine(report.beforeStop) + "\n";
    }
    out += "after Stop   " + StatsLine(report.afterStop) + "\n";
    if (report.started && report.beforeStop.BytesInUse() >= report.afterStop.BytesInUse()) {
        out += "Stop gave back " +
               std::to_string(report.beforeStop.BytesInUse() - report.afterStop.BytesInUse()) + " bytes\n";
    }
}

}  // namespace

std::string RunText(const RunReport& report, const ReportOptions& options) {
    std::string out;
    if (!options.quiet) {
        WriteHead(out, report);
        WriteLog(out, report, options.logLevel);
        WriteEvents(out, report);
    }
    WriteQueues(out, report);
    WriteRoutes(out, report);
    if (!options.quiet) {
        WriteMemory(out, report);
    } else {
        out.erase(0, 1);  // the blank line before the first section
    }
    return out;
}

}  // namespace HuxHost
