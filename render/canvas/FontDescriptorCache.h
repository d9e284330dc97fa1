#pragma once

// The process-wide cache of platform font descriptors by font id, from which
// the native text entry builds its font. AddFont and FindFont lock the cache.

#include "platform/text/FontDescriptor.h"
#include "render/canvas/ScaledCache.h"
#include "toolkit/IResourceRecords.h"

namespace vx::ui {

struct FontDescriptorEntry {
    text::FontDescriptorRef descriptor;
    double emRatio = 0.0; // unitsPerEM / (ascender - descender)
};

class FontDescriptorCache : public ScaledCache<FontDescriptorEntry> {
public:
    // Keeps the font's descriptor under the id unless one is kept already.
    void AddFont(const char* fontID, const PlatformFont& font);
    const FontDescriptorEntry* FindFont(const char* fontID);
};

FontDescriptorCache& SharedFontDescriptorCache();

} // namespace vx::ui
