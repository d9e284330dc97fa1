#include "tests/render/support/TestAssets.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include <stb/stb_image_write.h>

namespace render_test {

std::vector<unsigned char> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string write_test_png(const std::string& name, int width, int height, int channels,
                           const unsigned char* pixels) {
    // The name may hold a subfolder ("pages/start-up.png").
    const std::filesystem::path file = std::filesystem::path(OMNAR_TEST_OUTPUT_DIR) / name;
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    const std::string path = file.string();
    if (!stbi_write_png(path.c_str(), width, height, channels, pixels, width * channels))
        return {};
    return path;
}

} // namespace render_test
