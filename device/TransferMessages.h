#pragma once

#include "device/DeviceMessage.h"

#include <array>
#include <cstdint>
#include <span>

// The messages of packed transfers (IR uploads and firmware), which the
// transfer timer sends part by part from its buffer.
namespace omnar {

inline constexpr int kIRPartBytes = 256;
inline constexpr int kFirmwarePartBytes = 240;

using CheckPair = std::array<std::uint8_t, 2>;

// Longer spans than a part holds are cut to the part size.
DeviceMessage BuildIRDumpFirst(int slot, int packedSize, std::span<const std::uint8_t> packed);
DeviceMessage BuildIRDumpMiddle(std::span<const std::uint8_t> packed);
DeviceMessage BuildIRDumpLast(std::span<const std::uint8_t> packed, CheckPair check);

DeviceMessage BuildFirmwareEnter();
DeviceMessage BuildFirmwareStart(int packedSize, std::span<const std::uint8_t> packed);
DeviceMessage BuildFirmwareChunk(std::span<const std::uint8_t> packed);
DeviceMessage BuildFirmwareChunkLast(std::span<const std::uint8_t> packed, CheckPair check);

} // namespace omnar
