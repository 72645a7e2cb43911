// response_writer.h - writing an endpoint's answer into the host's response block, and releasing it.
#pragma once

#include <cstdint>
#include <string_view>

#include "abi/host_abi.h"
#include "rest/endpoint_response.h"

namespace Brix {
class TypeRegistry;
}

namespace Brix::Rest {

// WriteResponse fills block from response:
//   - a failed result gives the error text, an owned copy of its message; an ok result becomes the
//     body cell (with registry, so that enums travel as their names);
//   - the flag byte; the mode when it is 1, 2 or 3, else 0; the status code;
//   - the text, an owned copy when not empty, else the empty text;
//   - the headers, an owned array of owned name and value copies, and their count;
//   - a stream, when the response holds one: the plugin's read and close functions, the stream as
//     their context and its total size; the block takes the stream over (close destroys it).
// The block's release function is set to ReleaseEndpointResponse. Running out of memory leaves the
// piece that could not be copied out; nothing throws.
void WriteResponse(HostResponse& block, EndpointResponse& response, const TypeRegistry* registry) noexcept;

// WriteError fills block with an owned copy of message as its error text and the status code, and
// sets the release function.
void WriteError(HostResponse& block, std::string_view message, uint32_t statusCode) noexcept;

// ReleaseEndpointResponse is the release function of the blocks the plugin fills: it releases the
// body, the owned error text, the text when not empty, every header text and the header array, and
// zero-fills the block. A stream is not touched: it belongs to the close function.
void ReleaseEndpointResponse(HostResponse* block) noexcept;

}  // namespace Brix::Rest
