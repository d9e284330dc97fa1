#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The single-preset exchange file: a 262-byte header (magic, version, name,
// the 74 preset values, the two user IR names) and 0, 1 or 2 IR slot images.
namespace omnar {

inline constexpr std::size_t kExchangeHeaderSize = 262;
inline constexpr std::size_t kExchangeImageSize = 2436;
inline constexpr std::size_t kExchangeFileMax = 8191;
inline constexpr std::size_t kExchangeValueCount = 74;
inline constexpr std::size_t kExchangeNameSize = 32;
inline constexpr std::size_t kExchangeNameAt = 6;
inline constexpr std::size_t kExchangeValuesAt = 38;
inline constexpr std::size_t kExchangeIRNameAAt = 198;
inline constexpr std::size_t kExchangeIRNameBAt = 230;
// Where an IR slot image keeps its name.
inline constexpr std::size_t kImageNameAt = 4;

enum class ExchangeVerdict { Ok, TooLarge, UnknownFormat, UnsupportedVersion };

struct ExchangeContents {
    std::array<int, kExchangeValueCount> values{}; // signed bytes as stored
    std::string name;                              // trailing blanks removed
    std::string irNameA, irNameB;                  // likewise
    std::array<char, kExchangeNameSize> rawIRNameA{}, rawIRNameB{};
    std::vector<std::span<const std::uint8_t>> images; // 0, 1 or 2, into the bytes read
};

struct ParsedExchange {
    ExchangeVerdict verdict = ExchangeVerdict::UnknownFormat;
    ExchangeContents contents;
};

// Only 262, 2698 and 5134 bytes are exchange files. The IR slot values
// (53..56) are taken as they stand: the importer re-points them to the
// current preset first and range-checks them after. The spans of the result
// point into `file`.
ParsedExchange ParsePresetExchange(std::span<const std::uint8_t> file);

struct ExchangeHeaderFields {
    std::array<int, kExchangeValueCount> values{};
    std::string_view name;             // cut to 32 characters
    std::string_view irNameA, irNameB; // empty: all blanks
};
std::array<std::uint8_t, kExchangeHeaderSize> BuildExchangeHeader(const ExchangeHeaderFields& f);

// The file name of a path without its folder and its extension.
std::string ExchangeNameFromPath(std::string_view path);
// The path with its extension (after the last '/' or '\') cut off.
std::string WithoutExtension(std::string_view path);

} // namespace omnar
