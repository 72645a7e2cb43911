// event_names.h - resource URIs as the host's event names, and the URI patterns of resource handlers.
#pragma once

#include <string>
#include <string_view>

namespace Brix {

// kResourceEventName is the general name under which every resource change is announced.
inline constexpr std::string_view kResourceEventName = "OnJsonApiEvent";

// EventNameFromUri is the name of the host event that carries changes of the resource at uri: the
// non-empty pieces of uri between "/", after "OnJsonApiEvent", joined with "_" and cut to 4 items (6
// when the first piece is "hux-platform-config", whose keys sit deeper). Every resource below one
// collection shares its event: /hux-game-queues/v1/queues/42 gives
// OnJsonApiEvent_hux-game-queues_v1_queues.
std::string EventNameFromUri(std::string_view uri);

// NormaliseResourceUri is uri with a leading "/" added when it has none.
std::string NormaliseResourceUri(std::string_view uri);

// IsResourcePattern tells whether uri is a pattern, that is whether it holds a "*".
bool IsResourcePattern(std::string_view uri) noexcept;

// ResourcePatternMatches tells whether uri fits pattern. Other characters match themselves; a "*"
// stands for the characters up to the next "/" (possibly none) or, at the end of uri, for at least
// one character. So /x/*/y fits /x/abc/y and /x//y but not /x/a/b/y, and /x/* does not fit /x/.
bool ResourcePatternMatches(std::string_view pattern, std::string_view uri) noexcept;

}  // namespace Brix
