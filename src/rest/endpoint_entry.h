// endpoint_entry.h - the C entry point through which the host delivers requests to endpoints.
#pragma once

#include "abi/host_abi.h"

namespace Brix::Rest {

// EndpointEntry serves request with the endpoint of its endpoint record (HostRequest.endpoint, whose
// handler context is the Endpoint) and fills response; it is the entry of every endpoint record.
//
// The response is zero-filled and given the plugin's release function first. The request's path
// (its URL up to the first "?") must match the endpoint's route, and the request's method (a host
// code outside 1 to 8 counts as none) and, for a function call, its function name must be the
// endpoint's; otherwise the answer is the error "Invalid function" with status 404. Then the
// arguments are bound (BindRequest) and, when that succeeds, the handler is called with them and the
// request's context; a binding failure answers its message with status 0. The handler's response is
// written into the block (WriteResponse).
//
// Nothing is thrown out of this function: an exception that escapes the handler answers "Internal
// server error" with status 500. A null response is ignored.
void EndpointEntry(HostResponse* response, HostRequest* request) noexcept;

}  // namespace Brix::Rest
