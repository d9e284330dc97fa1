#include "device/TransferMessages.h"

#include <algorithm>

namespace omnar {
namespace {

enum Command : int {
    kIRDumpFirst = 0x60,
    kIRDumpMiddle = 0x65,
    kIRDumpLast = 0x66,
    kLoaderEnter = 0x10,
    kLoaderStart = 0x13,
    kLoaderChunk = 0x20,
};

std::span<const std::uint8_t> Cut(std::span<const std::uint8_t> bytes, int limit) {
    return bytes.first(std::min(bytes.size(), std::size_t(limit)));
}

} // namespace

DeviceMessage BuildIRDumpFirst(int slot, int packedSize, std::span<const std::uint8_t> packed) {
    DeviceMessage message = DeviceMessage::Editor(kIRDumpFirst);
    message.Digits14(slot).Digits21(packedSize).Append(Cut(packed, kIRPartBytes)).End();
    return message;
}

DeviceMessage BuildIRDumpMiddle(std::span<const std::uint8_t> packed) {
    DeviceMessage message = DeviceMessage::Editor(kIRDumpMiddle);
    message.Append(Cut(packed, kIRPartBytes)).End();
    return message;
}

DeviceMessage BuildIRDumpLast(std::span<const std::uint8_t> packed, CheckPair check) {
    DeviceMessage message = DeviceMessage::Editor(kIRDumpLast);
    message.Append(Cut(packed, kIRPartBytes)).Append(check).End();
    return message;
}

DeviceMessage BuildFirmwareEnter() {
    DeviceMessage message = DeviceMessage::Loader(kLoaderEnter);
    message.End();
    return message;
}

DeviceMessage BuildFirmwareStart(int packedSize, std::span<const std::uint8_t> packed) {
    DeviceMessage message = DeviceMessage::Loader(kLoaderStart);
    message.Digits21(packedSize).Append(Cut(packed, kFirmwarePartBytes)).End();
    return message;
}

DeviceMessage BuildFirmwareChunk(std::span<const std::uint8_t> packed) {
    DeviceMessage message = DeviceMessage::Loader(kLoaderChunk);
    message.Append(Cut(packed, kFirmwarePartBytes)).End();
    return message;
}

DeviceMessage BuildFirmwareChunkLast(std::span<const std::uint8_t> packed, CheckPair check) {
    DeviceMessage message = DeviceMessage::Loader(kLoaderChunk);
    message.Append(Cut(packed, kFirmwarePartBytes)).Append(check).End();
    return message;
}

} // namespace omnar
