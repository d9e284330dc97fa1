#include "device/BankFormat.h"
#include "device/Packing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

// A firmware file within the limits packs to floor(8n / 7) + 1 seven-bit
// bytes that the device's unpacking turns back into the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const auto packed = omnar::PackFirmwareFile(file);
    const bool fits = size >= omnar::kFirmwareFileMin && size <= omnar::kFirmwareFileMax;
    if (packed.has_value() != fits)
        std::abort();
    if (!packed)
        return 0;
    if (packed->size() != size * 8 / 7 + 1 ||
        std::any_of(packed->begin(), packed->end(), [](std::uint8_t b) { return b >= 0x80; }))
        std::abort();
    omnar::StreamUnpacker unpacker(size);
    unpacker.Begin(int(packed->size()));
    for (const std::uint8_t b : *packed)
        unpacker.Feed(b);
    unpacker.Flush();
    const auto out = unpacker.Output();
    if (out.size() != size || !std::equal(file.begin(), file.end(), out.begin()))
        std::abort();
    return 0;
}
