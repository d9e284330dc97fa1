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

// Why a bank is refused: its messages are not a bank's, or one of its IR
// dumps fails its check (a damaged backup, though the restore would
// recompute the check).
enum class BankProblem { None, UnknownFormat, DamagedIR };

// The number of messages a restore of this bank sends, or nothing when the
// bank holds anything but whole preset dumps with good checks and whole IR
// dumps (first, middle and last parts of one 2785-byte transfer whose check
// matches), back to back, or holds none. Bytes after the last message that
// hold no F0 are ignored (padding the restore never reaches); a trailing
// fragment of a message is not.
std::optional<int> CountBankMessages(std::span<const std::uint8_t> bank,
                                     BankProblem* problem = nullptr);

// A firmware file packed for the loader, or nothing for a file outside
// kFirmwareFileMin..kFirmwareFileMax bytes.
std::optional<std::vector<std::uint8_t>> PackFirmwareFile(std::span<const std::uint8_t> file);

} // namespace omnar
