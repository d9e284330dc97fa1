#pragma once

#include "framework/MidiTypes.h"

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace omnar {

// Fixed framing of the pedal's SysEx protocol.
inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::uint8_t kMakerId[] = {0x00, 0x51, 0x21};
inline constexpr std::uint8_t kEditorGroup = 0x05;
inline constexpr std::uint8_t kLoaderGroup = 0x04;
// Protocol 1.2, carried by every editor message of group 05.
inline constexpr std::uint8_t kEditorVersionByte = 0x0C;

inline constexpr int kTextFieldSize = 32;
inline constexpr int kDumpDataSize = 256;
inline constexpr int kDumpSize = 267;

using DumpData = std::array<std::uint8_t, kDumpDataSize>;
using TextField = std::array<std::uint8_t, kTextFieldSize>;

// A 32-byte outgoing text field: cut to 32 bytes, padded with blanks, and every
// byte of 0x80 and above turned into '?' so a UTF-8 name cannot break the
// message. The text ends at its first NUL.
TextField MakeTextField(std::string_view text);

// The two 7-bit check digits of a sum: (sum >> 7) & 7F, sum & 7F.
std::array<std::uint8_t, 2> CheckDigits(unsigned sum);

// Plain arithmetic sum of the data bytes, as dumps and transfers are checked.
unsigned ByteSum(std::span<const std::uint8_t> bytes);

// A received 267-byte dump whose two check digits match the sum of its data
// bytes (offsets 8..263). Any other size is no dump and fails.
bool DumpChecksumOk(std::span<const std::uint8_t> dump);

// One complete message under construction, held by value so a builder needs
// no heap. Every message starts with a header, so none is ever empty. Data
// bytes are masked to 7 bits: a stray high bit would end the message early
// on the wire.
class DeviceMessage {
public:
    // The longest message of the protocol: the first part of an IRDump.
    static constexpr int kCapacity = 269;

    // F0 00 51 21 05 command 0C.
    static DeviceMessage Editor(int command);
    // F0 00 51 21 04 command (loader messages carry no version byte).
    static DeviceMessage Loader(int command);
    // F0, then the given header bytes.
    static DeviceMessage WithHeader(std::span<const std::uint8_t> header);

    DeviceMessage& Byte(int value);
    DeviceMessage& Digits14(int value);
    DeviceMessage& Digits21(int value);
    DeviceMessage& Append(std::span<const std::uint8_t> bytes);
    DeviceMessage& Text(std::string_view text);
    DeviceMessage& Check(unsigned sum);
    DeviceMessage& End();

    int Size() const { return m_size; }
    std::span<const std::uint8_t> Bytes() const { return {m_bytes.data(), std::size_t(m_size)}; }
    // The view handed to SendSysEx; valid while this message lives.
    vx::ISysEx View() const { return {0, m_size, m_bytes.data()}; }

    friend bool operator==(const DeviceMessage& a, const DeviceMessage& b);

private:
    DeviceMessage() = default;
    // Bytes beyond the capacity are dropped; no builder comes near it.
    void Put(std::uint8_t byte);

    std::array<std::uint8_t, kCapacity> m_bytes{};
    int m_size = 0;
};

// A 267-byte dump: editor header with the command, the slot or type, the 256
// data bytes, their check digits, F7.
DeviceMessage MakeDump(int command, int slotOrType, const DumpData& data);

} // namespace omnar
