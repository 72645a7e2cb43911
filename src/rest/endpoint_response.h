// endpoint_response.h - what a handler answers: a result or an error, status, text, headers, a stream.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "binding/conversion_status.h"

namespace Brix::Rest {

// HeaderMap maps header names to values.
using HeaderMap = std::map<std::string, std::string, std::less<>>;

// ResponseStream delivers an answer in pieces. The response that carries it owns it: the host reads
// it through the plugin's read function and ends it through the close function, which destroys it.
class ResponseStream {
public:
    virtual ~ResponseStream() = default;

    // Read writes up to size bytes into buffer, sets size to the count written and more to false
    // after the last piece; false reports a failure.
    virtual bool Read(uint8_t* buffer, uint32_t& size, bool& more) = 0;

    // TotalSize is the expected size of the whole answer, a hint for the reader (0 when unknown).
    virtual uint32_t TotalSize() const = 0;
};

// EndpointResponse is filled by a handler and written into the host's response block.
struct EndpointResponse {
    // result holds the answer value, or, failed, the error message.
    ConversionStatus result;
    uint8_t flag = 0;
    uint32_t mode = 0;        // 1 to 3 reach the host; any other value is written as 0
    uint32_t statusCode = 0;  // HTTP status; 0 unless the handler sets one
    std::string text;
    HeaderMap headers;
    std::unique_ptr<ResponseStream> stream;
};

}  // namespace Brix::Rest
