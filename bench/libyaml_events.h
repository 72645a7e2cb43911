// libyaml_events.h - the least a reader built on libyaml can do: parse, and drop every event.
#pragma once

#include <cstddef>
#include <string_view>

namespace Brix::Bench {

// ParseYamlEvents runs libyaml's event parser over text (UTF-8) until the end of the stream,
// deleting each event as it comes and building nothing: the floor under any YAML reader on libyaml.
// It returns the number of events, the stream's end included, or 0 when the parser fails.
std::size_t ParseYamlEvents(std::string_view text);

}  // namespace Brix::Bench
