#include "tests/render/view/WindowGolden.h"

#include "controls/IVKnobControl.h"
#include "tests/render/support/MetalHarness.h"
#include "tests/support/FakeDelegate.h"
#include "toolkit/ICanvas.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace vx::test {

ui::IControl* AddGoldenKnob(ui::ICanvas* canvas) {
    ui::IVStyle style;
    style.showLabel = false;
    style.showValue = false;
    auto* knob = new ui::IVKnobControl({110, 10, 190, 90}, FakeDelegate::kGain, "", style);
    canvas->AddControl(knob);
    return knob;
}

bool WindowMatchesGolden(ak::Window& window, const std::string& name, std::string& message) {
    const ak::Surface snapshot = window.Snapshot();
    cairo_surface_flush(snapshot.get());
    const int width = cairo_image_surface_get_width(snapshot.get());
    const int height = cairo_image_surface_get_height(snapshot.get());
    const int stride = cairo_image_surface_get_stride(snapshot.get());
    const unsigned char* data = cairo_image_surface_get_data(snapshot.get());
    // Opaque ARGB32 words to RGBA bytes.
    std::vector<unsigned char> rgba(size_t(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t argb = 0;
            std::memcpy(&argb, data + size_t(y) * stride + size_t(x) * 4, 4);
            unsigned char* out = &rgba[(size_t(y) * width + x) * 4];
            out[0] = (argb >> 16) & 0xff;
            out[1] = (argb >> 8) & 0xff;
            out[2] = argb & 0xff;
            out[3] = 255;
        }
    return render_test::matches_golden(name, width, height, rgba, message);
}

} // namespace vx::test
