// observer_policies.cpp - mapping the custom-game spectating setting to spectator policies.
#include "queues/service/observer_policies.h"

namespace Brix::Client::GameQueues {

std::vector<Api::QueueCustomGameSpectatorPolicy> SpectatorPoliciesFor(Lcds::AllowSpectators setting) {
    using Policy = Api::QueueCustomGameSpectatorPolicy;
    switch (setting) {
        case Lcds::AllowSpectators::LobbyOnly:
            return {Policy::LobbyAllowed, Policy::NotAllowed};
        case Lcds::AllowSpectators::DropInOnly:
            return {Policy::FriendsAllowed, Policy::NotAllowed};
        case Lcds::AllowSpectators::All:
            return {Policy::LobbyAllowed, Policy::FriendsAllowed, Policy::AllAllowed, Policy::NotAllowed};
        default:
            return {Policy::NotAllowed};
    }
}

}  // namespace Brix::Client::GameQueues
