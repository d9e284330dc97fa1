#include "device/PresetExchangeFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>

// An accepted exchange file has slot values in range, whole images inside
// the bytes read, and a header that rebuilds its own values.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const omnar::ParsedExchange parsed = omnar::ParsePresetExchange(file);
    if (parsed.verdict != omnar::ExchangeVerdict::Ok)
        return 0;
    const auto& c = parsed.contents;
    for (int i = 53; i <= 56; ++i)
        if (c.values[std::size_t(i)] < 0 || c.values[std::size_t(i)] > 127)
            std::abort();
    for (const auto image : c.images)
        if (image.size() != omnar::kExchangeImageSize || image.data() < data ||
            image.data() + image.size() > data + size)
            std::abort();
    omnar::ExchangeHeaderFields fields;
    fields.values = c.values;
    fields.name = c.name;
    const auto header = omnar::BuildExchangeHeader(fields);
    const auto again = omnar::ParsePresetExchange(header);
    if (again.verdict != omnar::ExchangeVerdict::Ok || again.contents.values != c.values)
        std::abort();
    return 0;
}
