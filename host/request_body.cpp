// request_body.cpp - a body counted as it is decoded, and refused before it is held whole.
#include "request_body.h"

#include <httplib.h>
#include <strings.h>

#include <cstdint>

namespace HuxHost {

namespace {

constexpr const char* kContentLength = "Content-Length";

// IsChunked tells a body that comes in chunks, by the HTTP library's own test: the one transfer coding
// it decodes.
bool IsChunked(const httplib::Request& request) {
    return strcasecmp(request.get_header_value("Transfer-Encoding").c_str(), "chunked") == 0;
}

}  // namespace

RequestBody ReadBody(const httplib::Request& request, const httplib::ContentReader& reader,
                     std::size_t limit) {
    RequestBody body;
    const bool chunked = IsChunked(request);
    if (!chunked && !request.has_header(kContentLength)) {
        body.outcome = BodyOutcome::NoLength;
        return body;
    }
    const uint64_t announced = chunked ? 0 : request.get_header_value<uint64_t>(kContentLength);
    if (announced > uint64_t{limit} * 2) {
        body.outcome = BodyOutcome::TooLarge;
        return body;
    }
    uint64_t received = 0;
    const bool read = reader([&](const char* data, std::size_t length) {
        received += length;
        if (received > limit) {
            std::string().swap(body.text);  // never more than limit bytes are held
            return received <= uint64_t{limit} * 2;
        }
        body.text.append(data, length);
        return true;
    });
    if (received > limit || announced > limit) {
        body.outcome = BodyOutcome::TooLarge;
    } else if (!read) {
        body.text.clear();
        body.outcome = BodyOutcome::Unreadable;
    }
    return body;
}

}  // namespace HuxHost
