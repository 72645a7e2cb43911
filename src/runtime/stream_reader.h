// stream_reader.h - reading a body that the host delivers in pieces.
#pragma once

#include <cstddef>
#include <cstdint>

#include "abi/host_abi.h"
#include "binding/binding_property.h"
#include "binding/maybe_type.h"
#include "runtime/app_module.h"

namespace Brix::Bridge {

// kStreamChunkSize is the buffer handed to the host's read function at each call.
inline constexpr uint32_t kStreamChunkSize = 4096;

// kMaxStreamReservation bounds what a read reserves up front from the response's expected size. The
// expected size is a hint from outside the plugin: a bogus one must not make the plugin reserve
// gigabytes. 16 MiB is far above any answer the plugin reads; a longer body still reads, growing as
// it comes.
inline constexpr std::size_t kMaxStreamReservation = std::size_t{16} << 20;

// kStreamReadError is the failure of a read call that answered 0, or that claimed to have written
// more than the buffer holds.
inline constexpr std::string_view kStreamReadError = "Stream read error";

// ReadStream reads the streamed body of response and parses it as JSON. It calls the read function
// with a buffer of kStreamChunkSize bytes while the host's "more" byte stays set; after a short piece
// with "more" still set it gives the host's loop one turn (module.YieldTurn) before asking again,
// after a full piece it asks again at once. Failures: kStreamReadError, or the JSON reader's
// message. The close function, if any, is called once on every path; the response itself is left to
// the caller to release.
MaybeType<BindingProperty> ReadStream(AppModule& module, HostResponse& response);

}  // namespace Brix::Bridge
