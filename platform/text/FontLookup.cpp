#include "platform/text/FontLookup.h"

#include "platform/text/ProcessFontConfig.h"

#include <fstream>
#include <iterator>
#include <memory>

namespace text {

namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

} // namespace

std::vector<std::string> FindInstalledFontFiles(const std::string& family,
                                                const std::string& style) {
    std::vector<std::string> files;
    std::lock_guard lock(FontConfigMutex());
    FcConfig* config = ProcessFontConfig();
    if (!config)
        return files;
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FILE, FC_INDEX, static_cast<char*>(nullptr)));
    if (!pattern || !objects)
        return files;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern.get(), FC_STYLE, reinterpret_cast<const FcChar8*>(style.c_str()));
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
        FcFontList(config, pattern.get(), objects.get()));
    if (!fonts)
        return files;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file)
            files.emplace_back(reinterpret_cast<const char*>(file));
    }
    return files;
}

std::shared_ptr<const std::vector<unsigned char>> ReadFontFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return nullptr;
    auto bytes = std::make_shared<std::vector<unsigned char>>(std::istreambuf_iterator<char>(in),
                                                              std::istreambuf_iterator<char>());
    if (in.bad() || bytes->empty())
        return nullptr;
    return bytes;
}

} // namespace text
