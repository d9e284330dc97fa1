#include "device/PresetExchangeFile.h"

#include <algorithm>
#include <cstring>

namespace omnar {
namespace {

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;
// Major x 10 + minor from which a file is newer than this editor reads.
constexpr int kFirstUnsupportedVersion = 11;

std::string Trimmed(std::span<const std::uint8_t> field) {
    std::string text(field.begin(), field.end());
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::array<char, kExchangeNameSize> Raw(std::span<const std::uint8_t> field) {
    std::array<char, kExchangeNameSize> raw{};
    std::copy_n(field.begin(), raw.size(), raw.begin());
    return raw;
}

void PutText(std::span<std::uint8_t> field, std::string_view text) {
    std::fill(field.begin(), field.end(), ' ');
    std::copy_n(text.begin(), std::min(text.size(), field.size()), field.begin());
}

std::size_t FolderEnd(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

} // namespace

ParsedExchange ParsePresetExchange(std::span<const std::uint8_t> file) {
    ParsedExchange parsed;
    if (file.size() > kExchangeFileMax) {
        parsed.verdict = ExchangeVerdict::TooLarge;
        return parsed;
    }
    if (file.size() < kExchangeHeaderSize ||
        (std::memcmp(file.data(), "OMNP", 4) != 0 && std::memcmp(file.data(), "ZMKP", 4) != 0))
        return parsed;
    const int version = int(std::int8_t(file[4])) * 10 + int(std::int8_t(file[5]));
    if (version >= kFirstUnsupportedVersion) {
        parsed.verdict = ExchangeVerdict::UnsupportedVersion;
        return parsed;
    }
    const std::size_t images = (file.size() - kExchangeHeaderSize) / kExchangeImageSize;
    if (images > 2 || kExchangeHeaderSize + images * kExchangeImageSize != file.size())
        return parsed;
    ExchangeContents& c = parsed.contents;
    for (std::size_t i = 0; i < kExchangeValueCount; ++i)
        c.values[i] = std::int8_t(file[kExchangeValuesAt + i]);
    c.name = Trimmed(file.subspan(kExchangeNameAt, kExchangeNameSize));
    c.irNameA = Trimmed(file.subspan(kExchangeIRNameAAt, kExchangeNameSize));
    c.irNameB = Trimmed(file.subspan(kExchangeIRNameBAt, kExchangeNameSize));
    c.rawIRNameA = Raw(file.subspan(kExchangeIRNameAAt, kExchangeNameSize));
    c.rawIRNameB = Raw(file.subspan(kExchangeIRNameBAt, kExchangeNameSize));
    for (std::size_t k = 0; k < images; ++k)
        c.images.push_back(
            file.subspan(kExchangeHeaderSize + k * kExchangeImageSize, kExchangeImageSize));
    parsed.verdict = ExchangeVerdict::Ok;
    return parsed;
}

std::array<std::uint8_t, kExchangeHeaderSize> BuildExchangeHeader(const ExchangeHeaderFields& f) {
    std::array<std::uint8_t, kExchangeHeaderSize> header{};
    std::memcpy(header.data(), "OMNP", 4);
    header[4] = kVersionMajor;
    header[5] = kVersionMinor;
    const std::span<std::uint8_t> all(header);
    PutText(all.subspan(kExchangeNameAt, kExchangeNameSize), f.name);
    PutText(all.subspan(kExchangeIRNameAAt, kExchangeNameSize), f.irNameA);
    PutText(all.subspan(kExchangeIRNameBAt, kExchangeNameSize), f.irNameB);
    for (std::size_t i = 0; i < kExchangeValueCount; ++i)
        header[kExchangeValuesAt + i] = std::uint8_t(f.values[i] & 0xFF);
    return header;
}

std::string WithoutExtension(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos || dot < FolderEnd(path))
        return std::string(path);
    return std::string(path.substr(0, dot));
}

std::string ExchangeNameFromPath(std::string_view path) {
    const std::string bare = WithoutExtension(path);
    return bare.substr(FolderEnd(bare));
}

} // namespace omnar
