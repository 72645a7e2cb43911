// gzip_text.h - compressing text the way the matchmaker sends its compressed queue list.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace HuxHost {

// GzipText is one gzip member holding text (best compression).
std::vector<uint8_t> GzipText(std::string_view text);

}  // namespace HuxHost
