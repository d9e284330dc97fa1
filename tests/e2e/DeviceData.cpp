#include "tests/e2e/DeviceData.h"

#include "tests/devsim/SimSlotFiles.h"
#include "tests/devsim/SimState.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace e2e {

namespace fs = std::filesystem;

namespace {

std::string SlotFileName(int slot) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", slot + 1);
    return name;
}

std::vector<char> ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Rename(devsim::PresetImage& image, const char* format, int slot) {
    char name[40];
    std::snprintf(name, sizeof name, format, slot + 1);
    const auto field = devsim::TextField(name);
    std::copy(field.begin(), field.end(), image.begin() + devsim::kPresetNameOffset);
}

void WriteBank(const fs::path& file, bool renamed) {
    const devsim::SimState pedal = devsim::FactoryState();
    std::vector<devsim::Bytes> dumps;
    for (int slot = 0; slot < devsim::kPresetCount; ++slot) {
        devsim::PresetImage image = pedal.presets[std::size_t(slot)];
        if (renamed)
            Rename(image, "Restored %03d", slot);
        dumps.push_back(
            devsim::BuildDump(0x41, devsim::kProtocolVersion, std::uint8_t(slot), image));
    }
    const devsim::Bytes bank = devsim::Concat(dumps);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bank.data()), std::streamsize(bank.size()));
}

} // namespace

void SeedPedalAndLibrary(const fs::path& stateDir, const fs::path& presetsFolder,
                         const std::vector<int>& differing) {
    const devsim::SimState pedal = devsim::FactoryState();
    ASSERT_EQ(devsim::SaveSlotFiles(stateDir, pedal), "");
    fs::create_directories(presetsFolder);
    for (int slot = 0; slot < devsim::kPresetCount; ++slot) {
        devsim::PresetImage image = pedal.presets[std::size_t(slot)];
        if (std::find(differing.begin(), differing.end(), slot) != differing.end())
            Rename(image, "Stale %03d", slot);
        std::ofstream(presetsFolder / SlotFileName(slot), std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    }
}

void WriteFactoryBank(const fs::path& file) {
    WriteBank(file, false);
}

void WriteRenamedBank(const fs::path& file) {
    WriteBank(file, true);
}

std::vector<int> SlotsDiffering(const fs::path& stateDir, const fs::path& presetsFolder) {
    std::vector<int> slots;
    for (int slot = 0; slot < devsim::kPresetCount; ++slot) {
        const auto pedal = ReadBytes(stateDir / "Presets" / SlotFileName(slot));
        const auto library = ReadBytes(presetsFolder / SlotFileName(slot));
        if (library.size() != devsim::kDumpDataSize || library != pedal)
            slots.push_back(slot);
    }
    return slots;
}

std::vector<std::string> LeftTemporaries(const fs::path& folder) {
    std::vector<std::string> found;
    std::error_code ignored;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
        if (entry.path().filename().string().find(".tmp-") != std::string::npos)
            found.push_back(entry.path().string());
    return found;
}

void WriteFirmware(const fs::path& file, int size) {
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < size; ++i)
        out.put(char((i * 7 + i / 251) & 0xFF));
}

void WriteCabinetWav(const fs::path& file, int frames) {
    std::ofstream out(file, std::ios::binary);
    const auto le = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(char(value >> (8 * i)));
    };
    out << "RIFF";
    le(std::uint32_t(36 + 2 * frames), 4);
    out << "WAVEfmt ";
    le(16, 4);
    le(1, 2);     // PCM
    le(1, 2);     // mono
    le(44100, 4); // rate
    le(88200, 4); // bytes a second
    le(2, 2);     // block
    le(16, 2);    // bits
    out << "data";
    le(std::uint32_t(2 * frames), 4);
    for (int i = 0; i < frames; ++i) {
        const double sample = std::exp(-i / 300.0) * std::sin(i * 0.21);
        le(std::uint32_t(std::int16_t(sample * 20000)), 2);
    }
}

} // namespace e2e
