#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sys {

using Uuid = std::array<std::uint8_t, 16>;

// A random (version 4, RFC 4122 variant) UUID from the kernel's random source;
// none when the source fails.
std::optional<Uuid> NewRandomUuid() noexcept;

// The canonical lower-case form, 8-4-4-4-12 hexadecimal digits.
std::string UuidToString(const Uuid& uuid);

} // namespace sys
