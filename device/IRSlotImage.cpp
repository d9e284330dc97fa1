#include "device/IRSlotImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>

namespace omnar {
namespace {

void PutLe16(uint8_t* at, uint16_t value) {
    at[0] = uint8_t(value & 0xFF);
    at[1] = uint8_t(value >> 8);
}

uint16_t GetLe16(const uint8_t* at) {
    return uint16_t(at[0] | at[1] << 8);
}

} // namespace

double NormalizingGain(std::span<const double> samples) {
    double energy = 0.0;
    for (const double x : samples.first(std::min(samples.size(), kIRImageSamples)))
        energy += x * x;
    if (!(energy > 0.0) || !std::isfinite(energy))
        return 1.0;
    return std::min(1.0, 1.2 / (std::sqrt(energy) * 1.4142135623730951));
}

int16_t SampleToFixed(double x) {
    if (!std::isfinite(x))
        return 0;
    return int16_t(std::clamp(std::trunc(x * 32768.0), -32768.0, 32767.0));
}

IRImageBytes BuildIRImage(std::span<const double> samples, const IRNameField& name, double gain) {
    IRImageBytes image{};
    PutLe16(image.data(), 1);
    PutLe16(image.data() + 2, uint16_t(std::clamp(std::trunc(gain * 32768.0), 0.0, 32768.0)));
    std::memcpy(image.data() + kIRNameOffset, name.data(), kIRNameBytes);
    for (std::size_t i = 0; i < kIRImageSamples; ++i) {
        const double x = i < samples.size() ? samples[i] : 0.0;
        PutLe16(image.data() + kIRSamplesOffset + 2 * i, uint16_t(SampleToFixed(x)));
    }
    return image;
}

IRImageContents ParseIRImage(std::span<const uint8_t, kIRImageBytes> image) {
    IRImageContents contents;
    contents.gain = GetLe16(image.data() + 2) / 32768.0;
    std::memcpy(contents.name.data(), image.data() + kIRNameOffset, kIRNameBytes);
    for (std::size_t i = 0; i < kIRImageSamples; ++i)
        contents.samples[i] = int16_t(GetLe16(image.data() + kIRSamplesOffset + 2 * i)) / 32768.0;
    return contents;
}

std::string TrimmedName(std::span<const char> field) {
    std::string text(field.data(), strnlen(field.data(), field.size()));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

IRNameField PaddedName(std::string_view text) {
    IRNameField field;
    field.fill(' ');
    std::memcpy(field.data(), text.data(), std::min(text.size(), kIRNameBytes));
    return field;
}

std::string IRNameFromPath(std::string_view path) {
    std::string_view name = path.substr(path.rfind('/') + 1);
    if (name.size() >= 4 && strncasecmp(name.data() + name.size() - 4, ".wav", 4) == 0)
        name.remove_suffix(4);
    return std::string(name.substr(0, kIRNameBytes));
}

} // namespace omnar
