#include "tests/support/TempImageFolder.h"

#include <stb/stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
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
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        if (f)
            std::fclose(f);
        throw std::runtime_error("TempImageFolder: cannot write " + path);
    }
    std::fclose(f);
    return path;
}

} // namespace vx::test
