#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace omnar {

// The 2436-byte image of one impulse response, as slot files, uploads, dumps
// and preset exchange files carry it (little-endian): field 1, the gain as
// 1.15 fixed point, a 32-character space-padded name, 1200 16-bit samples.
inline constexpr std::size_t kIRImageBytes = 2436;
inline constexpr std::size_t kIRImageSamples = 1200;
inline constexpr std::size_t kIRNameBytes = 32;
inline constexpr std::size_t kIRNameOffset = 4;
inline constexpr std::size_t kIRSamplesOffset = 36;

using IRImageBytes = std::array<uint8_t, kIRImageBytes>;
using IRNameField = std::array<char, kIRNameBytes>;

struct IRImageContents {
    double gain = 0.0;
    IRNameField name{};
    std::array<double, kIRImageSamples> samples{};
};

// min(1, 1.2 / (rms energy x sqrt 2)) over the first 1200 samples; a silent
// IR gets 1.
double NormalizingGain(std::span<const double> samples);

// The gain is recorded, not applied. Missing samples count as silence.
IRImageBytes BuildIRImage(std::span<const double> samples, const IRNameField& name, double gain);
IRImageContents ParseIRImage(std::span<const uint8_t, kIRImageBytes> image);

// x 32768 truncated toward zero and saturated; anything not finite is silence.
int16_t SampleToFixed(double x);

// The name field's text with trailing spaces cut (and stopping at a zero byte).
std::string TrimmedName(std::span<const char> field);
IRNameField PaddedName(std::string_view text);
// A WAV file's IR name: the last path component less a final ".wav" in any
// case, at most 32 characters.
std::string IRNameFromPath(std::string_view path);

} // namespace omnar
