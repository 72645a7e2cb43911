// value_summary.cpp - summaries and queue rows read from generic values.
#include "value_summary.h"

namespace HuxHost {

namespace {

using Brix::BindingKind;
using Brix::BindingProperty;

constexpr std::string_view kAvailable = "Available";

bool IsQueue(const BindingProperty& value) {
    return value.Kind() == BindingKind::Structure && value.FindMember("id") != nullptr &&
           value.FindMember("queueAvailability") != nullptr;
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

}  // namespace

int64_t NumberOf(const BindingProperty& value) {
    if (value.Kind() == BindingKind::Unsigned) {
        return static_cast<int64_t>(value.AsUnsigned());
    }
    return value.AsSigned();
}

bool IsQueueList(const BindingProperty& value) {
    if (value.Kind() != BindingKind::Collection) {
        return false;
    }
    for (const BindingProperty& element : value.Elements()) {
        if (!IsQueue(element)) {
            return false;
        }
    }
    return true;
}

QueueCounts CountQueues(const BindingProperty& queues) {
    QueueCounts counts;
    for (const BindingProperty& queue : queues.Elements()) {
        ++counts.queues;
        counts.available += queue.Member("queueAvailability").AsString() == kAvailable ? 1 : 0;
    }
    return counts;
}

std::vector<QueueRow> QueueRows(const BindingProperty& queues) {
    std::vector<QueueRow> rows;
    rows.reserve(queues.ElementCount());
    for (const BindingProperty& queue : queues.Elements()) {
        QueueRow row;
        row.id = NumberOf(queue.Member("id"));
        row.type = std::string(queue.Member("type").AsString());
        row.mapId = NumberOf(queue.Member("mapId"));
        row.gameMode = std::string(queue.Member("gameMode").AsString());
        row.category = std::string(queue.Member("category").AsString());
        row.availability = std::string(queue.Member("queueAvailability").AsString());
        row.name = std::string(queue.Member("name").AsString());
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string Summarize(const BindingProperty& value) {
    switch (value.Kind()) {
        case BindingKind::Empty:
            return "null";
        case BindingKind::Collection:
            if (IsQueueList(value) && value.ElementCount() > 0) {
                const QueueCounts counts = CountQueues(value);
                return Counted(counts.queues, "queue", "queues") + ", " + std::to_string(counts.available) +
                       " available";
            }
            return Counted(value.ElementCount(), "element", "elements");
        case BindingKind::Structure:
            break;
        default:
            return value.ToText();
    }
    if (IsQueue(value)) {
        std::string line = "queue " + std::to_string(NumberOf(value.Member("id"))) + " " +
                           std::string(value.Member("type").AsString());
        if (const std::string_view name = value.Member("name").AsString(); !name.empty()) {
            line += " \"" + std::string(name) + "\"";
        }
        return line + ", " + std::string(value.Member("queueAvailability").AsString());
    }
    if (const BindingProperty* subcategories = value.FindMember("subcategories")) {
        return Counted(subcategories->ElementCount(), "subcategory", "subcategories") + ", " +
               std::string(value.Member("queueAvailability").AsString()) + ", " +
               Counted(value.Member("spectatorPolicies").ElementCount(), "spectator policy",
                       "spectator policies");
    }
    if (value.FindMember("pickMode") != nullptr) {
        return "game type config " + std::to_string(NumberOf(value.Member("id"))) + " " +
               std::string(value.Member("name").AsString());
    }
    return "object with " + Counted(value.MemberCount(), "member", "members");
}

}  // namespace HuxHost
