#pragma once

#include <string>
#include <vector>

namespace render_test {

// The font every render test lays text out with.
inline constexpr const char* kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::vector<unsigned char> read_file(const std::string& path);

// Writes an image for a person to look at into build/test-output/ and
// returns its path; empty when it could not be written.
std::string write_test_png(const std::string& name, int width, int height, int channels,
                           const unsigned char* pixels);

} // namespace render_test
