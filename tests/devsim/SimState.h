#pragma once

// Everything the simulated pedal remembers. Plain data: tests read and set it
// directly.

#include "tests/devsim/SimWire.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace devsim {

inline constexpr int kPresetCount = 128;
inline constexpr int kUserIRCount = 384;
inline constexpr int kFactoryIRFirst = 384;
inline constexpr int kFactoryIRCount = 8;
inline constexpr std::size_t kIRImageSize = 2436;
inline constexpr int kPresetValueCount = 74;
// Offsets inside a 256-byte preset image.
inline constexpr std::size_t kPresetNameOffset = 2;
inline constexpr std::size_t kPresetValuesOffset = 34;
inline constexpr std::size_t kIRNameOffset = 4;

using PresetImage = std::array<std::uint8_t, kDumpDataSize>;
using IRImage = std::array<std::uint8_t, kIRImageSize>;

struct SimState {
    std::uint8_t versionByte = kProtocolVersion;
    std::string serial = "OMN-SIM-000001";
    std::array<PresetImage, kPresetCount> presets{};
    PresetImage editBuffer{};
    int currentSlot = 0;
    bool knobBankB = false;
    // SettingsDump type 0 image; d0 is filled with the current slot when sent.
    PresetImage globals{};
    // Parameters 101..108 (SettingsDump type 1, d0..d7).
    std::array<std::uint8_t, 8> ccTable{};
    std::array<std::uint8_t, kPresetCount> programMap{};
    // Device parameter ids 16 and 17: set by ParamChange, no further meaning here.
    std::array<std::uint8_t, 2> extraParams{};
    std::vector<std::optional<IRImage>> userIRs;
    std::array<IRImage, kFactoryIRCount> factoryIRs{};
    bool bulkOpen = false;
    bool loaderActive = false;
    // The last firmware image the loader accepted, unpacked.
    Bytes firmware;
    int firmwareUpdates = 0;
};

// The state of a pedal fresh from the factory: every preset "Preset %03d" at
// the default values, user IRs empty, synthetic factory IRs.
SimState FactoryState();
PresetImage DefaultPreset(int slot);
PresetImage DefaultGlobals();
// What an empty IR slot sends: field 1, gain 8000h, blank name, silent samples.
IRImage BlankIRImage();
IRImage SyntheticFactoryIR(int index);
// The 14-bit sum of a preset image, as in the type-3 checksum report.
std::array<std::uint8_t, 2> PresetCheck(const PresetImage& image);

} // namespace devsim
