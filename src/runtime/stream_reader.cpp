// stream_reader.cpp - pieces of a streamed body, collected and parsed as JSON.
#include "runtime/stream_reader.h"

#include <algorithm>
#include <array>
#include <string>

#include "codecs/json_reader.h"

namespace Brix::Bridge {

MaybeType<BindingProperty> ReadStream(AppModule& module, HostResponse& response) {
    const HostStreamRead read = response.read;
    const HostStreamClose close = response.close;
    void* const context = response.streamContext;
    const uint32_t expectedSize = response.expectedSize;
    auto closeStream = [&] {
        if (close != nullptr) {
            close(context);
        }
    };

    std::string text;
    text.reserve(std::min<std::size_t>(expectedSize, kMaxStreamReservation));
    std::array<uint8_t, kStreamChunkSize> buffer{};
    uint8_t more = 1;
    while (more != 0) {
        uint32_t size = kStreamChunkSize;
        if (read(context, buffer.data(), &size, &more) == 0 || size > kStreamChunkSize) {
            closeStream();
            return Failure(std::string(kStreamReadError));
        }
        text.append(reinterpret_cast<const char*>(buffer.data()), size);
        if (size < kStreamChunkSize && more != 0) {
            module.YieldTurn();
        }
    }

    ConversionStatus parsed = Json::Read(text);
    closeStream();
    if (!parsed.Ok()) {
        return Failure(std::string(parsed.Message()));
    }
    return std::move(parsed.Value());
}

}  // namespace Brix::Bridge
