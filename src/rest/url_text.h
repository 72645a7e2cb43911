// url_text.h - percent-decoding, query-string parsing and trailing-slash trimming of request URLs.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace Brix::Rest {

// QueryMap maps each query parameter's decoded name to its decoded value, ordered by name.
using QueryMap = std::map<std::string, std::string, std::less<>>;

// PercentDecode decodes a URL component. "+" becomes a space. "%" followed by at least two
// characters consumes them as hexadecimal digits and yields the byte 16 * high + low kept to its low
// eight bits, where a character that is not a hexadecimal digit counts as 16 ("%zz" gives the byte
// (16 * 16 + 16) & 0xFF, that is 0x10). A "%" with fewer than two characters after it is dropped and the walk
// goes on with the next character ("100%" gives "100", "%4" gives "4"). Every other character is copied.
std::string PercentDecode(std::string_view text);

// ParseQuery splits a query (the text after "?") at every "&", empty pieces included. In each piece
// the first "=" separates the name from the value, both percent-decoded; a piece without "=" is a
// name with an empty value. A name that comes again replaces the earlier value. An empty query gives
// an empty map; "a=1&" gives a = 1 and an entry with an empty name and value.
QueryMap ParseQuery(std::string_view query);

// TrimTrailingSlash removes one final "/" from a path longer than one character; "/" stays "/".
std::string_view TrimTrailingSlash(std::string_view path) noexcept;

// SplitUrl separates a URL at its first "?" into the path and the query (empty when there is none).
struct UrlParts {
    std::string_view path;
    std::string_view query;
};
UrlParts SplitUrl(std::string_view url) noexcept;

}  // namespace Brix::Rest
