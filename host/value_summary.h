// value_summary.h - one-line summaries of what the plugin publishes and answers, and the rows of a
// queue table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "binding/binding_property.h"

namespace HuxHost {

// QueueCounts counts a published queue list and the queues in it whose availability is "Available".
struct QueueCounts {
    std::size_t queues = 0;
    std::size_t available = 0;
};

// IsQueueList tells a list whose elements are all queues (objects with an id and an availability).
bool IsQueueList(const Brix::BindingProperty& value);
QueueCounts CountQueues(const Brix::BindingProperty& queues);

// QueueRow is one line of the queue table.
struct QueueRow {
    int64_t id = 0;
    std::string type;
    int64_t mapId = 0;
    std::string gameMode;
    std::string category;
    std::string availability;
    std::string name;
};

std::vector<QueueRow> QueueRows(const Brix::BindingProperty& queues);

// Summarize says in one line what value is, by its shape:
//     "41 queues, 27 available"                                 a queue list
//     "queue 420 RANKED_SOLO_5x5 \"Ranked Solo/Duo\", Available"  one queue
//     "4 subcategories, Available, 4 spectator policies"        a custom-game configuration
//     "game type config 18 CFG_PRENDA"                          a game type configuration
//     "3 elements", "object with 5 members", "null", or a scalar's text otherwise.
std::string Summarize(const Brix::BindingProperty& value);

// NumberOf reads an integer member, signed or unsigned, as a signed number (0 when it is neither).
int64_t NumberOf(const Brix::BindingProperty& value);

}  // namespace HuxHost
