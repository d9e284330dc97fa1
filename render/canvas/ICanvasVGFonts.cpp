// Registering fonts with the renderer through the process-wide byte cache.
#include "render/canvas/FontDataCache.h"
#include "render/canvas/ICanvasVG.h"
#include "render/vg/VG.h"

namespace vx::ui {

namespace {

int CreateFont(VGdrawContext* ctx, const char* fontID, const text::FontFileData& data) {
    // The renderer reads the bytes in place and never frees or writes them.
    auto* bytes = const_cast<unsigned char*>(data.Bytes());
    return vg_create_font_mem(ctx, fontID, bytes, int(data.Size()), data.faceIndex, 0);
}

} // namespace

bool ICanvasVG::RegisterFont(const char* fontID, const PlatformFont& font) {
    if (!context || !fontID)
        return false;
    FontDataCache& cache = SharedFontDataCache();
    const std::lock_guard lock(cache.Mutex());
    if (const text::FontFileData* cached = cache.Find(fontID, 1.0))
        return CreateFont(context, fontID, *cached) != -1;
    std::unique_ptr<text::FontFileData> data = font.GetFontData();
    if (!data || !data->IsValid() || CreateFont(context, fontID, *data) == -1)
        return false;
    cache.Add(std::move(data), fontID, 1.0);
    return true;
}

} // namespace vx::ui
