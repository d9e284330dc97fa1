#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Bank files and firmware images as the editor reads them from disk.
namespace omnar {

inline constexpr std::size_t kBankFileMax = 1048576;
inline constexpr std::size_t kFirmwareFileMax = 65535;
// Images that pack to one firmware part or less have no chunk sequence.
inline constexpr std::size_t kFirmwareFileMin = 210;

// The number of messages a restore of this bank sends, or nothing when the
// bank holds anything but whole preset dumps with good checks and whole IR
// dumps (first, middle and last parts of one 2785-byte transfer whose check
// matches), back to back with nothing left over.
std::optional<int> CountBankMessages(std::span<const std::uint8_t> bank);

// A firmware file packed for the loader, or nothing for a file outside
// kFirmwareFileMin..kFirmwareFileMax bytes.
std::optional<std::vector<std::uint8_t>> PackFirmwareFile(std::span<const std::uint8_t> file);

} // namespace omnar
