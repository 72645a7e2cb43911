// input_values_test.cpp - the table of configuration inputs, and the small parsers and comparisons
// the inputs rely on.
#include <gtest/gtest.h>

#include <set>

#include "queues/service/comma_separated_set.h"
#include "queues/service/enabled_queue_changes.h"
#include "queues/service/game_queues_plugin.h"
#include "queues/service/observer_policies.h"
#include "runtime/event_names.h"

namespace Brix::Client::GameQueues {
namespace {

using Ids = std::vector<int32_t>;
using Names = std::unordered_set<std::string>;

TEST(ConfigurationInputs, EachRowNamesTheEventOfItsOwnResource) {
    std::set<std::string_view> uris;
    for (const GameQueuesPlugin::ConfigurationInput& input : GameQueuesPlugin::configurationInputs) {
        EXPECT_EQ(input.eventName, EventNameFromUri(input.uri)) << input.uri;
        EXPECT_TRUE(uris.insert(input.uri).second) << input.uri << " is followed twice";
    }
}

TEST(EnabledQueueChanges, ListsWhatEitherSideHasMoreOf) {
    EXPECT_EQ(SortedSymmetricDifference({1, 2, 3}, {1, 3, 4}), (Ids{2, 4}));
    EXPECT_EQ(SortedSymmetricDifference({}, {5, 6}), (Ids{5, 6}));
    EXPECT_EQ(SortedSymmetricDifference({1, 2}, {1, 2}), Ids{});
    // The lists are multisets: a repeated id counts once per occurrence.
    EXPECT_EQ(SortedSymmetricDifference({7, 7, 8}, {7, 8}), Ids{7});
    EXPECT_EQ(SortedSymmetricDifference({-3, 0}, {0}), Ids{-3});
}

TEST(CommaSeparatedSet, DropsEmptyPiecesAndTrimsNothing) {
    EXPECT_EQ(SplitCommaSeparatedSet("A,,B"), (Names{"A", "B"}));
    EXPECT_EQ(SplitCommaSeparatedSet(",A,"), (Names{"A"}));
    EXPECT_EQ(SplitCommaSeparatedSet(""), Names{});
    EXPECT_EQ(SplitCommaSeparatedSet("NORMAL, RANKED_SOLO_5x5,NORMAL"),
              (Names{"NORMAL", " RANKED_SOLO_5x5"}));
}

TEST(SpectatorPolicies, FollowTheCustomGameSpectatingSetting) {
    using Policy = Api::QueueCustomGameSpectatorPolicy;
    using Policies = std::vector<Policy>;
    EXPECT_EQ(
        SpectatorPoliciesFor(Lcds::AllowSpectators::All),
        (Policies{Policy::LobbyAllowed, Policy::FriendsAllowed, Policy::AllAllowed, Policy::NotAllowed}));
    EXPECT_EQ(SpectatorPoliciesFor(Lcds::AllowSpectators::LobbyOnly),
              (Policies{Policy::LobbyAllowed, Policy::NotAllowed}));
    EXPECT_EQ(SpectatorPoliciesFor(Lcds::AllowSpectators::DropInOnly),
              (Policies{Policy::FriendsAllowed, Policy::NotAllowed}));
    EXPECT_EQ(SpectatorPoliciesFor(Lcds::AllowSpectators::None), Policies{Policy::NotAllowed});
    EXPECT_EQ(SpectatorPoliciesFor(static_cast<Lcds::AllowSpectators>(9)), Policies{Policy::NotAllowed});
}

}  // namespace
}  // namespace Brix::Client::GameQueues
