#include "render/canvas/FontDescriptorCache.h"

#include "platform/text/FontFileData.h"

namespace vx::ui {

void FontDescriptorCache::AddFont(const char* fontID, const PlatformFont& font) {
    const std::lock_guard lock(Mutex());
    if (Find(fontID, 1.0))
        return;
    auto entry = std::make_unique<FontDescriptorEntry>();
    entry->descriptor = font.GetDescriptor();
    if (const auto data = font.GetFontData()) {
        const int height = data->ascender - data->descender;
        entry->emRatio = height != 0 ? double(data->unitsPerEM) / height : 0.0;
    }
    Add(std::move(entry), fontID, 1.0);
}

const FontDescriptorEntry* FontDescriptorCache::FindFont(const char* fontID) {
    const std::lock_guard lock(Mutex());
    return Find(fontID, 1.0);
}

FontDescriptorCache& SharedFontDescriptorCache() {
    static FontDescriptorCache cache;
    return cache;
}

} // namespace vx::ui
