// request_body.h - reading a request's body under a bound on its decoded size.
#pragma once

#include <cstddef>
#include <string>

namespace httplib {  // NOLINT(readability-identifier-naming): the HTTP library's own namespace
struct Request;
class ContentReader;
}  // namespace httplib

namespace HuxHost {

// BodyOutcome is how reading a body ended.
enum class BodyOutcome {
    Read,        // the whole body is in text
    NoLength,    // the request has neither a Content-Length nor a chunked body: nothing was read
    TooLarge,    // the body is larger than the limit once decoded
    Unreadable,  // the connection broke, or a chunk or the compressed stream is malformed
};

// RequestBody is a body as ReadBody leaves it.
struct RequestBody {
    BodyOutcome outcome = BodyOutcome::Read;
    std::string text;
};

// ReadBody reads the body of request through reader, decoded as its Content-Encoding says (gzip,
// deflate, br), and keeps at most limit bytes of it. A body that announces more than twice the limit is
// not read at all; past the limit, the text is dropped and the rest of the body is read and dropped
// while it stays within another limit bytes, so that a client that sends its whole body before it reads
// gets the answer. A body without a length is not read: it would only end when the client gives up.
// With any outcome but Read, part of the body may still be unread: the connection must not carry
// another request.
RequestBody ReadBody(const httplib::Request& request, const httplib::ContentReader& reader,
                     std::size_t limit);

}  // namespace HuxHost
