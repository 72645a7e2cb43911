// scoped_host_response.h - a response block for an outgoing request, released when it goes away.
#pragma once

#include <cstring>

#include "abi/host_abi.h"

namespace Brix {

// ScopedHostResponse is a zero-filled HostResponse for the host to fill. When it goes out of scope
// it calls the release function the host installed, if any, so that whatever the host put in the
// block is freed on every path of the request that used it.
class ScopedHostResponse {
public:
    ScopedHostResponse() noexcept { std::memset(&block, 0, sizeof(block)); }
    ~ScopedHostResponse() {
        HostResponseRelease release = block.release;
        if (release != nullptr) {
            release(&block);
        }
    }
    ScopedHostResponse(const ScopedHostResponse&) = delete;
    ScopedHostResponse& operator=(const ScopedHostResponse&) = delete;

    HostResponse& Get() noexcept { return block; }
    HostResponse* operator->() noexcept { return &block; }

private:
    HostResponse block;
};

}  // namespace Brix
