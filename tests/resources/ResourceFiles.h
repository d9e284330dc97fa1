#pragma once

#include <string>
#include <vector>

namespace resources_test {

enum class Kind { Png, Svg, Font, Wav, Pdf };
enum class Look { Any, Opaque, ClearCorners, Veil };

// One file the panel, the device core or the host commands load, with what
// this issue promises about it.
struct Entry {
    std::string name;
    Kind kind;
    int width = 0, height = 0, frames = 1;
    Look look = Look::Any;
};

const std::vector<Entry>& AllResources();

// FindResourcePath's answer for an entry; empty when not found.
std::string Locate(const Entry& e);

std::vector<unsigned char> ReadBytes(const std::string& path);

struct Rgba8 {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels; // RGBA, rows top down
    unsigned char Alpha(int x, int y) const { return pixels[(y * width + x) * 4 + 3]; }
};
// Decoded through stb_image; empty on failure.
Rgba8 DecodePng(const std::vector<unsigned char>& bytes);

} // namespace resources_test
