#pragma once

#include "device/DeviceMessage.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Pure decisions of the reply handling and the transfer timer: which received
// messages are legal, how names and modes are read, and how stored messages
// are found and rewritten for a restore.
namespace omnar {

inline constexpr int kIRImagePackedSize = 2785;
inline constexpr int kParamValueSize = 10;
inline constexpr int kPresetNameReplySize = 42;

// F0 00 51 21, a group, a known device command, 7-bit body, F7, and the
// length the protocol gives that command.
bool IsWellFormedReply(std::span<const std::uint8_t> m);

// Device values may reach the preset (0..73), the knob bank (0x4D) and the
// settings (89..127); 74..88 are the editor's own list and gesture parameters.
bool IsDeviceValueIndex(int index);

// The firmware version gate of an identity reply: the message for the user,
// or none when the version is usable (10..129).
std::optional<std::string> VersionGateMessage(int versionByte);

// A received 32-byte name without its trailing blanks; a name of blanks only
// (from position 1 on) stays whole. Stops at a NUL.
std::string TrimReceivedName(std::span<const std::uint8_t> field);

// The amp mode a preset's 74 values select: the first default row whose
// Buzz, Punch, Q and Punch Freq entries match, else 12 / 11 / 10 by Buzz.
int DetectAmpMode(std::span<const int> presetValues,
                  std::span<const std::array<std::int32_t, 11>> ampRows);
// The first reverb default row matching parameters 18..24, 58, 59; else 7.
int DetectReverbMode(std::span<const int> presetValues,
                     std::span<const std::array<std::int32_t, 10>> reverbRows);

// The user IR numbers below 256 a 267-byte preset dump switches on.
std::vector<int> UserIRsOfPresetDump(std::span<const std::uint8_t> dump);

// Message number `index` of an F7-separated stream, through its F7; none
// when the stream holds no complete message there, or one longer than any
// the protocol sends.
std::optional<std::span<const std::uint8_t>> NthStoredMessage(std::span<const std::uint8_t> stream,
                                                              int index);

// A stored dump reply made into the write the device expects: byte 6 0C,
// 'A' -> 7F, 60 -> 'w', 'e' -> 'x', 'f' -> 'y', with the IR check bytes
// recomputed over every part through `running`.
std::vector<std::uint8_t> RestoreWrite(std::span<const std::uint8_t> stored, int& running);

// Checks a backed-up IR dump: first, middle and last parts of one 2785-byte
// transfer whose check digits match its packed bytes.
bool IsWholeIRDump(std::span<const std::uint8_t> parts);

} // namespace omnar
