#include "pages/PanelScale.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Whatever settings.ini holds, the panel gets the default or a finite scale
// within its limits.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const float scale =
        omnar::pages::ParsePanelScale(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!std::isfinite(scale) || scale < omnar::pages::kMinPanelScale ||
        scale > omnar::pages::kMaxPanelScale)
        std::abort();
    return 0;
}
