#include "device/DeviceMessage.h"
#include "device/IRReceive.h"
#include "device/Packing.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

// Two properties over arbitrary bytes. With a first byte below 0x80 the rest
// is a byte stream cut into messages at each F7 and taken as IR transfer
// parts: the image never outgrows its buffer. Otherwise the rest is a source
// image that must come back unchanged from packing and streaming unpacking.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    if (data[0] < 0x80) {
        omnar::IRReceive receive;
        std::size_t start = 0;
        for (std::size_t i = 0; i < rest.size(); ++i) {
            if (rest[i] == 0xF7) {
                const auto message = rest.subspan(start, i + 1 - start);
                omnar::DumpChecksumOk(message);
                receive.Take(message);
                start = i + 1;
            }
        }
        if (receive.Image().size() > omnar::IRReceive::kImageCapacity ||
            receive.RunningSum() > 0x3FFFFFFF) {
            std::fprintf(stderr, "IR image outgrew its buffer\n");
            std::abort();
        }
        return 0;
    }
    const std::vector<std::uint8_t> packed = omnar::Pack8To7(rest);
    omnar::StreamUnpacker unpacker(rest.size());
    unpacker.Begin(static_cast<int>(packed.size()));
    for (const std::uint8_t byte : packed)
        unpacker.Feed(byte);
    unpacker.Flush();
    const auto out = unpacker.Output();
    if (out.size() != rest.size() || !std::equal(out.begin(), out.end(), rest.begin())) {
        std::fprintf(stderr, "packing then unpacking changed the bytes\n");
        std::abort();
    }
    return 0;
}
