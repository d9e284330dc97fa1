#pragma once

#include <string>

namespace vx::test {

// A temporary folder of small PNG files, removed with everything in it when
// the object goes. Paths it returns are absolute.
class TempImageFolder {
public:
    TempImageFolder();
    ~TempImageFolder();
    TempImageFolder(const TempImageFolder&) = delete;
    TempImageFolder& operator=(const TempImageFolder&) = delete;

    // Writes an opaque grey PNG of the given pixel size; returns its path.
    std::string AddPng(const std::string& name, int width, int height);
    // Writes arbitrary bytes (e.g. a broken image or an SVG text); returns its path.
    std::string AddFile(const std::string& name, const std::string& bytes);
    std::string Path(const std::string& name) const { return folder + "/" + name; }
    const std::string& Folder() const { return folder; }

private:
    std::string folder;
};

} // namespace vx::test
