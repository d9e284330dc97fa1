#include "tests/devsim/SimSlotFiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace devsim {

namespace fs = std::filesystem;

namespace {

fs::path SlotPath(const fs::path& folder, int index) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", index + 1);
    return folder / name;
}

// Reads the file into image when it has exactly the image's size.
template <std::size_t N>
bool ReadExact(const fs::path& path, std::array<std::uint8_t, N>& image) {
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(image.data()), N);
    return in.gcount() == static_cast<std::streamsize>(N) && in.peek() == EOF;
}

// Hands every slot file of the folder that has the image size to store; a file
// of another size is skipped and named in problems. Preset images travel as
// SysEx data bytes, so for them (sevenBit) a byte of 0x80 or above, which
// would end the reply that carries it, skips the file as well.
template <std::size_t N, class Store>
void LoadFolder(const fs::path& folder, int count, bool sevenBit,
                std::vector<std::string>& problems, Store store) {
    for (int slot = 0; slot < count; ++slot) {
        const fs::path path = SlotPath(folder, slot);
        if (!fs::exists(path)) {
            continue;
        }
        std::array<std::uint8_t, N> image;
        if (!ReadExact(path, image)) {
            problems.push_back(path.string() + " is not " + std::to_string(N) +
                               " bytes long: skipped");
        } else if (sevenBit && std::any_of(image.begin(), image.end(),
                                           [](std::uint8_t b) { return b >= 0x80; })) {
            problems.push_back(path.string() + " holds bytes of 0x80 or above: skipped");
        } else {
            store(slot, image);
        }
    }
}

// Written beside the target and renamed over it, so a failed write never
// leaves a cut file behind.
std::string WriteWhole(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        if (!out) {
            return "cannot write " + temp.string();
        }
    }
    std::error_code error;
    fs::rename(temp, path, error);
    return error ? "cannot replace " + path.string() + ": " + error.message() : std::string();
}

} // namespace

std::vector<std::string> LoadSlotFiles(const fs::path& dir, SimState& state) {
    std::vector<std::string> problems;
    LoadFolder<kDumpDataSize>(
        dir / "Presets", kPresetCount, true, problems,
        [&](int slot, const PresetImage& image) { state.presets[slot] = image; });
    state.userIRs.resize(kUserIRCount);
    LoadFolder<kIRImageSize>(dir / "User IRs", kUserIRCount, false, problems,
                             [&](int slot, const IRImage& image) { state.userIRs[slot] = image; });
    state.editBuffer = state.presets[state.currentSlot];
    return problems;
}

std::string SaveSlotFiles(const fs::path& dir, const SimState& state) {
    std::error_code error;
    for (const char* folder : {"Presets", "User IRs"}) {
        fs::create_directories(dir / folder, error);
        if (error) {
            return "cannot create " + (dir / folder).string() + ": " + error.message();
        }
    }
    for (int slot = 0; slot < kPresetCount; ++slot) {
        const auto& image = state.presets[slot];
        if (auto failure = WriteWhole(SlotPath(dir / "Presets", slot), image.data(), image.size());
            !failure.empty()) {
            return failure;
        }
    }
    for (std::size_t slot = 0; slot < state.userIRs.size(); ++slot) {
        if (!state.userIRs[slot]) {
            continue;
        }
        const auto& image = *state.userIRs[slot];
        const fs::path path = SlotPath(dir / "User IRs", static_cast<int>(slot));
        if (auto failure = WriteWhole(path, image.data(), image.size()); !failure.empty()) {
            return failure;
        }
    }
    if (!state.firmware.empty()) {
        return WriteWhole(dir / "firmware.bin", state.firmware.data(), state.firmware.size());
    }
    return {};
}

} // namespace devsim
