#pragma once

// Drawing scenes through the vector back end on a headless canvas.

#include "render/vg/VG.h"
#include "tests/render/support/MetalHarness.h"
#include "tests/render/support/TestAssets.h"
#include "tests/support/FakeDelegate.h"
#include "tests/support/HeadlessCanvas.h"
#include "toolkit/IControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace canvas_test {

using namespace vx;
using namespace vx::ui;

inline constexpr const char* kFont = "DejaVu";

// A control whose drawing is a function.
class SceneControl : public IControl {
public:
    SceneControl(const IRECT& bounds, std::function<void(ICanvas&, const IRECT&)> draw)
        : IControl(bounds), draw(std::move(draw)) {}
    void Draw(ICanvas& g) override { draw(g, GetRECT()); }
    std::function<void(ICanvas&, const IRECT&)> draw;
};

// An attached headless canvas with the test font registered as kFont.
struct CanvasFixture {
    CanvasFixture(int w, int h, float drawScale, float screenScale)
        : canvas(delegate, w, h, drawScale, screenScale) {
        canvas.Attach();
        const std::vector<unsigned char> font = render_test::read_file(render_test::kDejaVuSans);
        EXPECT_TRUE(canvas.LoadFontFromMemory(kFont, font.data(), int(font.size())));
    }

    test::FakeDelegate delegate;
    test::HeadlessCanvas canvas;
};

// Compares the canvas's last frame with the golden image `name`.
inline void ExpectGolden(test::HeadlessCanvas& canvas, const std::string& name) {
    int w = 0, h = 0;
    const std::vector<unsigned char> frame = canvas.LastFrame(&w, &h);
    ASSERT_FALSE(frame.empty()) << name;
    std::string message;
    EXPECT_TRUE(render_test::matches_golden(name, w, h, frame, message)) << message;
}

} // namespace canvas_test
