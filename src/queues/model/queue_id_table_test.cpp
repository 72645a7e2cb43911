// queue_id_table_test.cpp - queue id tables: any order, repeats, the extreme ids, many ids sharing slots.
#include "queues/model/queue_id_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace Brix::Client::GameQueues {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Found lists which of the probes the set made from ids contains.
std::vector<bool> Found(const std::vector<int32_t>& ids, const std::vector<int32_t>& probes) {
    const QueueIdSet set(ids);
    std::vector<bool> found;
    found.reserve(probes.size());
    for (const int32_t probe : probes) {
        found.push_back(set.Contains(probe));
    }
    return found;
}

TEST(QueueIdSet, HoldsExactlyTheListedIds) {
    struct Case {
        std::vector<int32_t> ids;
        std::vector<int32_t> probes;
        std::vector<bool> found;
    };
    const std::vector<Case> cases = {
        {{}, {0, 420, kMin, kMax}, {false, false, false, false}},
        {{420}, {420, 421, 419, 0, -420}, {true, false, false, false, false}},
        {{900, -4, 440, 900, 12, -4},
         {-4, 12, 440, 900, 4, 901, 0},
         {true, true, true, true, false, false, false}},
        {{kMin}, {kMin, kMin + 1, 0, kMax}, {true, false, false, false}},
        {{kMax, 0, -1}, {kMax, 0, -1, kMin, 1, kMax - 1}, {true, true, true, false, false, false}},
        {{kMin, kMin, 7}, {kMin, 7, 8}, {true, true, false}},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Found(test.ids, test.probes), test.found) << test.ids.size() << " ids";
    }
}

TEST(QueueIdSet, ManyIdsSharingSlotsAreAllFound) {
    // Multiples of a large power of two, consecutive ids and repeats, as a long queue list may hold.
    std::vector<int32_t> ids;
    for (int32_t index = 0; index < 300; ++index) {
        ids.insert(ids.end(), {index * 65536, 10000 + index, -3 * index, index * 65536});
    }
    std::vector<int32_t> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    const QueueIdSet set(ids);
    int wrong = 0;
    for (int32_t probe = -1000; probe < 11000; ++probe) {
        wrong += set.Contains(probe) != std::binary_search(sorted.begin(), sorted.end(), probe) ? 1 : 0;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(std::make_pair(set.Contains(65536 * 299), set.Contains(65536 * 300)),
              std::make_pair(true, false));
}

TEST(QueueIdTable, KeepsTheFirstValueOfAnIdAndGrowsPastItsFirstSize) {
    QueueIdTable<std::string> table(2);
    EXPECT_EQ(table.Find(5), nullptr);
    const std::vector<std::pair<int32_t, std::string>> added = {
        {5, "KELD"}, {kMin, "TARN"}, {5, "QIX"}, {kMin, "VORN"}, {-5, "BRAM"}, {kMax, "SKEL"},
    };
    for (const auto& [id, value] : added) {
        table.Add(id, value);
    }
    // Far more ids than the table was made for, so that it grows several times.
    for (int32_t id = 1000; id < 1100; ++id) {
        table.Add(id, std::to_string(id));
    }
    auto valueOf = [&table](int32_t id) {
        const std::string* value = table.Find(id);
        return value != nullptr ? *value : std::string("(none)");
    };
    EXPECT_EQ(valueOf(5), "KELD");
    EXPECT_EQ(valueOf(kMin), "TARN");
    EXPECT_EQ(valueOf(-5), "BRAM");
    EXPECT_EQ(valueOf(kMax), "SKEL");
    EXPECT_EQ(valueOf(1000), "1000");
    EXPECT_EQ(valueOf(1100), "(none)");
    EXPECT_EQ(valueOf(kMax - 1), "(none)");
}

}  // namespace
}  // namespace Brix::Client::GameQueues
