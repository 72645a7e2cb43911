// url_text.cpp - percent-decoding, query parsing and trailing-slash trimming.
#include "rest/url_text.h"

#include <cstdint>

namespace Brix::Rest {

namespace {

// HexValue is the value of a hexadecimal digit, either case; any other character counts as 16.
uint32_t HexValue(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return static_cast<uint32_t>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<uint32_t>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<uint32_t>(c - 'A' + 10);
    }
    return 16;
}

}  // namespace

std::string PercentDecode(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '+') {
            decoded += ' ';
        } else if (c == '%') {
            if (text.size() - at > 2) {
                const uint32_t byte = 16 * HexValue(text[at + 1]) + HexValue(text[at + 2]);
                decoded += static_cast<char>(byte & 0xFFu);
                at += 2;
            }
            // A "%" too close to the end is dropped.
        } else {
            decoded += c;
        }
    }
    return decoded;
}

QueryMap ParseQuery(std::string_view query) {
    QueryMap parameters;
    if (query.empty()) {
        return parameters;
    }
    std::size_t start = 0;
    while (true) {
        const std::size_t end = query.find('&', start);
        const std::string_view piece =
            query.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        const std::size_t equals = piece.find('=');
        if (equals == std::string_view::npos) {
            parameters.insert_or_assign(PercentDecode(piece), std::string());
        } else {
            parameters.insert_or_assign(PercentDecode(piece.substr(0, equals)),
                                        PercentDecode(piece.substr(equals + 1)));
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return parameters;
}

std::string_view TrimTrailingSlash(std::string_view path) noexcept {
    if (path.size() > 1 && path.back() == '/') {
        path.remove_suffix(1);
    }
    return path;
}

UrlParts SplitUrl(std::string_view url) noexcept {
    const std::size_t question = url.find('?');
    if (question == std::string_view::npos) {
        return {url, {}};
    }
    return {url.substr(0, question), url.substr(question + 1)};
}

}  // namespace Brix::Rest
