// base64.h - the standard Base64 text of bytes (as blobs are shown in text and JSON) and its decoding.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brix {

// AppendBase64 appends the Base64 text of bytes (standard alphabet, "=" padding, no line breaks).
void AppendBase64(std::string& text, std::span<const uint8_t> bytes);

// Base64Encode is the Base64 text of bytes.
std::string Base64Encode(std::span<const uint8_t> bytes);

// Base64Decode is the bytes of a Base64 text in the standard alphabet. It never fails: decoding stops
// at the first "=" or the first character outside the alphabet (a line break included), the
// characters before it are decoded in groups of four into three bytes, and a last group of two or
// three characters gives one or two bytes (a last single character gives nothing).
std::vector<uint8_t> Base64Decode(std::string_view text);

}  // namespace Brix
