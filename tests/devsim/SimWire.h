#pragma once

// The simulator's own reading of the wire format: framing, check digits,
// 8-to-7 packing and text fields. Written apart from the editor's codec on
// purpose, so that a fault in one cannot hide behind the other.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace devsim {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::uint8_t kEditorGroup = 0x05;
inline constexpr std::uint8_t kLoaderGroup = 0x04;
inline constexpr std::uint8_t kProtocolVersion = 0x0C;
inline constexpr std::size_t kDumpSize = 267;
inline constexpr std::size_t kDumpDataSize = 256;
inline constexpr std::size_t kDumpDataOffset = 8;
inline constexpr std::size_t kTextFieldSize = 32;

// Two check digits of a 14-bit sum, high digit first.
std::array<std::uint8_t, 2> CheckDigits(unsigned sum);
unsigned SumOf(ByteView bytes);

// floor(8n / 7) + 1.
std::size_t PackedSize(std::size_t sourceBytes);
// The source bytes as one bit stream, MSB first, seven bits per output byte.
Bytes Pack8To7(ByteView source);
// Inverse of Pack8To7: floor(7 * packed / 8) bytes.
Bytes Unpack7To8(ByteView packed);

// ASCII text cut or blank-padded to 32 bytes; bytes of 0x80 and above become '?'.
std::array<std::uint8_t, kTextFieldSize> TextField(std::string_view text);
// A 32-byte field back to text, trailing blanks cut.
std::string_view TrimmedField(ByteView field);

// F0 00 51 21 05 cmd ver slotOrType, 256 data bytes, check digits, F7.
Bytes BuildDump(std::uint8_t command, std::uint8_t version, std::uint8_t slotOrType, ByteView data);
// F0 00 51 21 05 cmd F7: the device's acknowledgements.
Bytes BuildShortReply(std::uint8_t command);
// F0 00 51 21 04 cmd F7.
Bytes BuildLoaderReply(std::uint8_t command);
// F0 00 51 21 05 51 0C index value F7.
Bytes BuildParamValue(std::uint8_t index, std::uint8_t value);
// The first, middle and last parts of a packed IR image for IR number slot.
std::vector<Bytes> BuildIRDump(int slot, ByteView image);

// Messages back to back, as a bank file or a stream holds them.
Bytes Concat(const std::vector<Bytes>& parts);

// True for F0 00 51 21 ... F7 with every body byte below 0x80.
bool IsDeviceFrame(ByteView message);

} // namespace devsim
