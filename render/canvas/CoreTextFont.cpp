#include "render/canvas/CoreTextFont.h"

#include "platform/text/FontLookup.h"
#include "toolkit/ResourcePath.h"

#include <cstring>

namespace vx::ui {

namespace {

// A font is only made of bytes whose first face parses.
std::unique_ptr<CoreTextFont> FontOfBytes(std::shared_ptr<const std::vector<unsigned char>> bytes,
                                          bool system, const std::string& style) {
    if (!bytes || !text::FontFileData(bytes->data(), bytes->size(), 0).IsValid())
        return nullptr;
    auto descriptor = std::make_shared<text::FontDescriptor>();
    const text::FontFileData face(bytes->data(), bytes->size(), 0);
    descriptor->bytes = std::move(bytes);
    descriptor->family = face.family;
    descriptor->style = style.empty() ? face.style : style;
    return std::make_unique<CoreTextFont>(system, std::move(descriptor), style);
}

} // namespace

CoreTextFont::CoreTextFont(bool system, text::FontDescriptorRef descriptor, std::string style)
    : PlatformFont(system), descriptor(std::move(descriptor)), style(std::move(style)) {}

std::unique_ptr<text::FontFileData> CoreTextFont::GetFontData() const {
    if (!descriptor || !descriptor->bytes)
        return nullptr;
    const std::vector<unsigned char>& bytes = *descriptor->bytes;
    const int face =
        style.empty() ? 0 : text::FontFileData::FindFaceByStyle(bytes.data(), bytes.size(), style);
    return std::make_unique<text::FontFileData>(bytes.data(), bytes.size(), face);
}

std::unique_ptr<CoreTextFont> LoadFontFromResource(const char* fileName, const char* bundleId,
                                                   const char* sharedSubPath) {
    VxString path;
    if (!FindResourcePath(fileName, "ttf", path, bundleId ? bundleId : "", nullptr,
                          sharedSubPath ? sharedSubPath : ""))
        return nullptr;
    return FontOfBytes(text::ReadFontFile(path.Get()), false, "");
}

std::unique_ptr<CoreTextFont> LoadFontFromFamily(const char* family, int style) {
    const char* name = style == 1 ? "Bold" : style == 2 ? "Italic" : "Regular";
    for (const std::string& file : text::FindInstalledFontFiles(family ? family : "", name))
        if (auto font = FontOfBytes(text::ReadFontFile(file), true, name))
            return font;
    return nullptr;
}

std::unique_ptr<CoreTextFont> LoadFontFromMemory(const void* data, int size) {
    if (!data || size <= 0)
        return nullptr;
    const auto* begin = static_cast<const unsigned char*>(data);
    return FontOfBytes(std::make_shared<std::vector<unsigned char>>(begin, begin + size), false,
                       "");
}

int TextStyleFromName(const char* style) {
    if (style && std::strcmp(style, "Bold") == 0)
        return 1;
    if (style && std::strcmp(style, "Italic") == 0)
        return 2;
    return 0;
}

} // namespace vx::ui
