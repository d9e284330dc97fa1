#pragma once

// The process-wide cache of font bytes by font id, so a font is read from the
// platform once and registered from memory with every new renderer context.

#include "platform/text/FontFileData.h"
#include "render/canvas/ScaledCache.h"

namespace vx::ui {

using FontDataCache = ScaledCache<text::FontFileData>;

FontDataCache& SharedFontDataCache();

} // namespace vx::ui
