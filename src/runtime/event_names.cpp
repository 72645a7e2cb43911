// event_names.cpp - event names from resource URIs and URI pattern matching.
#include "runtime/event_names.h"

#include <cstddef>

namespace Brix {

namespace {

constexpr std::string_view kPlatformConfigPiece = "hux-platform-config";
constexpr std::size_t kEventNameItems = 4;
constexpr std::size_t kPlatformConfigEventNameItems = 6;

}  // namespace

std::string EventNameFromUri(std::string_view uri) {
    std::string name(kResourceEventName);
    std::size_t items = 1;
    std::size_t limit = kEventNameItems;
    std::size_t at = 0;
    while (at < uri.size() && items < limit) {
        const std::size_t slash = uri.find('/', at);
        const std::size_t end = slash == std::string_view::npos ? uri.size() : slash;
        if (end > at) {
            const std::string_view piece = uri.substr(at, end - at);
            if (items == 1 && piece == kPlatformConfigPiece) {
                limit = kPlatformConfigEventNameItems;
            }
            name += '_';
            name += piece;
            ++items;
        }
        at = end + 1;
    }
    return name;
}

std::string NormaliseResourceUri(std::string_view uri) {
    if (!uri.empty() && uri.front() == '/') {
        return std::string(uri);
    }
    std::string normalised;
    normalised.reserve(uri.size() + 1);
    normalised += '/';
    normalised += uri;
    return normalised;
}

bool IsResourcePattern(std::string_view uri) noexcept {
    return uri.find('*') != std::string_view::npos;
}

bool ResourcePatternMatches(std::string_view pattern, std::string_view uri) noexcept {
    std::size_t at = 0;
    for (const char c : pattern) {
        if (c == '*') {
            const std::size_t start = at;
            while (at < uri.size() && uri[at] != '/') {
                ++at;
            }
            // At the end of the uri the star must have taken something; before a "/" it may be empty.
            if (at == uri.size() && at == start) {
                return false;
            }
            continue;
        }
        if (at == uri.size() || uri[at] != c) {
            return false;
        }
        ++at;
    }
    return at == uri.size();
}

}  // namespace Brix
