#include "device/DeviceMessage.h"

#include <algorithm>
#include <numeric>

namespace omnar {

TextField MakeTextField(std::string_view text) {
    TextField field;
    field.fill(' ');
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    const std::size_t count = std::min<std::size_t>(text.size(), kTextFieldSize);
    for (std::size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<std::uint8_t>(text[i]);
        field[i] = byte >= 0x80 ? '?' : byte;
    }
    return field;
}

std::array<std::uint8_t, 2> CheckDigits(unsigned sum) {
    return {static_cast<std::uint8_t>((sum >> 7) & 0x7F), static_cast<std::uint8_t>(sum & 0x7F)};
}

unsigned ByteSum(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), 0u);
}

bool DumpChecksumOk(std::span<const std::uint8_t> dump) {
    if (dump.size() != std::size_t(kDumpSize))
        return false;
    const auto digits = CheckDigits(ByteSum(dump.subspan(8, kDumpDataSize)));
    return dump[264] == digits[0] && dump[265] == digits[1];
}

DeviceMessage DeviceMessage::Editor(int command) {
    DeviceMessage message = Loader(command);
    message.m_bytes[4] = kEditorGroup;
    message.Put(kEditorVersionByte);
    return message;
}

DeviceMessage DeviceMessage::Loader(int command) {
    DeviceMessage message;
    message.Put(kSysExStart);
    message.Append(kMakerId);
    message.Put(kLoaderGroup);
    message.Byte(command);
    return message;
}

DeviceMessage DeviceMessage::WithHeader(std::span<const std::uint8_t> header) {
    DeviceMessage message;
    message.Put(kSysExStart);
    message.Append(header);
    return message;
}

DeviceMessage& DeviceMessage::Byte(int value) {
    Put(static_cast<std::uint8_t>(value & 0x7F));
    return *this;
}

DeviceMessage& DeviceMessage::Digits14(int value) {
    return Byte(value >> 7).Byte(value);
}

DeviceMessage& DeviceMessage::Digits21(int value) {
    return Byte(value >> 14).Byte(value >> 7).Byte(value);
}

DeviceMessage& DeviceMessage::Append(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes)
        Byte(byte);
    return *this;
}

DeviceMessage& DeviceMessage::Text(std::string_view text) {
    return Append(MakeTextField(text));
}

DeviceMessage& DeviceMessage::Check(unsigned sum) {
    return Append(CheckDigits(sum));
}

DeviceMessage& DeviceMessage::End() {
    Put(kSysExEnd);
    return *this;
}

void DeviceMessage::Put(std::uint8_t byte) {
    if (m_size < kCapacity)
        m_bytes[std::size_t(m_size++)] = byte;
}

bool operator==(const DeviceMessage& a, const DeviceMessage& b) {
    return std::ranges::equal(a.Bytes(), b.Bytes());
}

DeviceMessage MakeDump(int command, int slotOrType, const DumpData& data) {
    DeviceMessage message = DeviceMessage::Editor(command);
    message.Byte(slotOrType).Append(data);
    // Summed as sent, after the 7-bit masking.
    message.Check(ByteSum(message.Bytes().subspan(8, kDumpDataSize))).End();
    return message;
}

} // namespace omnar
