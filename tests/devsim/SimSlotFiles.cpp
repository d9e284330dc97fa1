#include "tests/devsim/SimSlotFiles.h"

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
    state.userIRs.resize(kUserIRCount);
    for (int slot = 0; slot < kPresetCount; ++slot) {
        const fs::path path = SlotPath(dir / "Presets", slot);
        PresetImage image;
        if (!fs::exists(path)) {
            continue;
        }
        if (ReadExact(path, image)) {
            state.presets[slot] = image;
        } else {
            problems.push_back(path.string() + " is not 256 bytes long: skipped");
        }
    }
    for (int slot = 0; slot < kUserIRCount; ++slot) {
        const fs::path path = SlotPath(dir / "User IRs", slot);
        IRImage image;
        if (!fs::exists(path)) {
            continue;
        }
        if (ReadExact(path, image)) {
            state.userIRs[slot] = image;
        } else {
            problems.push_back(path.string() + " is not 2436 bytes long: skipped");
        }
    }
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
    return {};
}

} // namespace devsim
