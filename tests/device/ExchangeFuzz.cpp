#include "device/PresetExchangeFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>

// An accepted exchange file has whole images inside the bytes read and a
// header that rebuilds its own values (the slot values are the importer's to
// re-point and range-check).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const omnar::ParsedExchange parsed = omnar::ParsePresetExchange(file);
    if (parsed.verdict != omnar::ExchangeVerdict::Ok)
        return 0;
    const auto& c = parsed.contents;
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
