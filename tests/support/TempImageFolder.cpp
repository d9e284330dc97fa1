#include "tests/support/TempImageFolder.h"

#include <stb/stb_image_write.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace vx::test {

TempImageFolder::TempImageFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/omnar-images-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (!mkdtemp(buf.data()))
        throw std::runtime_error("TempImageFolder: cannot make a temporary folder");
    folder = buf.data();
}

TempImageFolder::~TempImageFolder() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

std::string TempImageFolder::AddPng(const std::string& name, int width, int height) {
    const std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 4), 0x80);
    const std::string path = Path(name);
    if (!stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4))
        throw std::runtime_error("TempImageFolder: cannot write " + path);
    return path;
}

std::string TempImageFolder::AddFile(const std::string& name, const std::string& bytes) {
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("TempImageFolder: cannot write " + path);
    return path;
}

} // namespace vx::test
