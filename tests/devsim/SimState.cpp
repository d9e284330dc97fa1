#include "tests/devsim/SimState.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace devsim {

namespace {

// Parameters 0..73 at their defaults.
constexpr std::uint8_t kDefaultValues[kPresetValueCount] = {
    64, 64, 64,  64, 64,  64, 64, 64, 0,  0,  64, 64, 64, 64, 0,   64,  64,  64,  100,
    2,  64, 127, 0,  127, 0,  0,  64, 64, 64, 0,  64, 64, 64, 127, 127, 127, 127, 0,
    0,  64, 0,   0,  64,  64, 64, 64, 64, 64, 64, 64, 1,  0,  0,   0,   0,   0,   0,
    0,  0,  0,   0,  64,  64, 64, 32, 0,  0,  0,  0,  0,  64, 127, 64,  64};

constexpr const char* kFactoryIRNames[kFactoryIRCount] = {"Quorbel",    "Hinglow",     "KL 8x10",
                                                          "Dunmo 2x15", "Ovaten 2x15", "Brel 4x10",
                                                          "Tirn 12L",   "Isle V30"};

void PutLE16(IRImage& image, std::size_t offset, unsigned value) {
    image[offset] = static_cast<std::uint8_t>(value & 0xFF);
    image[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

IRImage IRWithName(const char* name) {
    IRImage image{};
    PutLE16(image, 0, 1);
    PutLE16(image, 2, 0x8000);
    const auto field = TextField(name);
    std::copy(field.begin(), field.end(), image.begin() + kIRNameOffset);
    return image;
}

} // namespace

PresetImage DefaultPreset(int slot) {
    PresetImage image{};
    image[0] = 1;
    image[1] = 0;
    char name[24];
    std::snprintf(name, sizeof name, "Preset %03d", slot + 1);
    const auto nameField = TextField(name);
    std::copy(nameField.begin(), nameField.end(), image.begin() + kPresetNameOffset);
    std::copy(std::begin(kDefaultValues), std::end(kDefaultValues),
              image.begin() + kPresetValuesOffset);
    std::fill(image.begin() + 192, image.end(), ' ');
    return image;
}

PresetImage DefaultGlobals() {
    PresetImage globals{};
    globals[8] = 12; // tuner reference 440 Hz
    return globals;
}

IRImage BlankIRImage() {
    return IRWithName("");
}

IRImage SyntheticFactoryIR(int index) {
    IRImage image = IRWithName(kFactoryIRNames[index]);
    // A decaying oscillation, different per IR, so transfers carry real data.
    for (int i = 0; i < 1200; ++i) {
        const double x = std::exp(-i / (40.0 + 20.0 * index)) * std::cos(i * (0.05 + 0.02 * index));
        const auto sample = static_cast<int>(x * 32767.0);
        PutLE16(image, 36 + 2 * i, static_cast<unsigned>(sample) & 0xFFFF);
    }
    return image;
}

std::array<std::uint8_t, 2> PresetCheck(const PresetImage& image) {
    return CheckDigits(SumOf(image));
}

SimState FactoryState() {
    SimState state;
    for (int slot = 0; slot < kPresetCount; ++slot) {
        state.presets[slot] = DefaultPreset(slot);
        state.programMap[slot] = static_cast<std::uint8_t>(slot);
    }
    state.editBuffer = state.presets[0];
    state.globals = DefaultGlobals();
    for (int i = 0; i < 8; ++i) {
        state.ccTable[i] = static_cast<std::uint8_t>(i);
    }
    state.userIRs.assign(kUserIRCount, std::nullopt);
    for (int i = 0; i < kFactoryIRCount; ++i) {
        state.factoryIRs[i] = SyntheticFactoryIR(i);
    }
    return state;
}

} // namespace devsim
