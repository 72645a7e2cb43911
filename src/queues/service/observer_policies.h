// observer_policies.h - the spectator policies a custom lobby may choose, from the platform setting.
#pragma once

#include <vector>

#include "queues/model/matchmaker_records.h"
#include "queues/model/queue_records.h"

namespace Brix::Client::GameQueues {

// SpectatorPoliciesFor maps the platform's custom-game spectating setting to the offered policies:
// LOBBYONLY gives LobbyAllowed, NotAllowed; DROPINONLY gives FriendsAllowed, NotAllowed; ALL gives
// LobbyAllowed, FriendsAllowed, AllAllowed, NotAllowed; NONE and any other value give NotAllowed.
std::vector<Api::QueueCustomGameSpectatorPolicy> SpectatorPoliciesFor(Lcds::AllowSpectators setting);

}  // namespace Brix::Client::GameQueues
