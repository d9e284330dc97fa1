// Any bytes either parse or fail with a message; nothing else may happen.
#include "toolkit/svg/SvgImage.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const vx::ui::svg::ParseResult r =
        vx::ui::svg::Parse(reinterpret_cast<const char*>(data), size, "px", 72.f);
    if (!r.image && r.error.empty())
        __builtin_trap();
    return 0;
}
