// base64.h - the standard Base64 text of bytes, as blobs are shown in text and in JSON.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace Brix {

// AppendBase64 appends the Base64 text of bytes (standard alphabet, "=" padding, no line breaks).
void AppendBase64(std::string& text, std::span<const uint8_t> bytes);

// Base64Encode is the Base64 text of bytes.
std::string Base64Encode(std::span<const uint8_t> bytes);

}  // namespace Brix
