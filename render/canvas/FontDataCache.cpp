#include "render/canvas/FontDataCache.h"

namespace vx::ui {

FontDataCache& SharedFontDataCache() {
    static FontDataCache cache;
    return cache;
}

} // namespace vx::ui
