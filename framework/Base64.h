#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace vx {

// Standard Base64 ("A-Z a-z 0-9 + /") with "=" padding.
std::string Base64Encode(std::span<const uint8_t> bytes);

// Decodes into out until the first character outside the alphabet (padding
// included) or until out is full; returns the number of bytes written.
int Base64Decode(const char* text, std::span<uint8_t> out);

} // namespace vx
