#include "Output.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace resgen {

void WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + temp);
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        std::remove(temp.c_str());
        throw std::runtime_error("cannot write " + temp);
    }
    CommitFile(temp, path);
}

void CommitFile(const std::string& tempPath, const std::string& path) {
    std::error_code ec;
    std::filesystem::rename(tempPath, path, ec);
    if (ec) {
        std::filesystem::remove(tempPath, ec);
        throw std::runtime_error("cannot rename " + tempPath + " to " + path);
    }
}

void MakeFolders(const std::string& dir) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec)
        throw std::runtime_error("cannot create " + dir);
}

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

} // namespace resgen
