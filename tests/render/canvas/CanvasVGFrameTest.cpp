// Frames of the vector back end: back buffer, blit, partial redraws and the
// context's lifetime.
#include "tests/render/canvas/CanvasTestKit.h"
#include "tests/support/TestControl.h"

namespace canvas_test {
namespace {

TEST(CanvasVGFrame, DirtyFrameRendersBackBufferThenBlitsIt) {
    CanvasFixture f(40, 30, 1.f, 1.f);
    f.canvas.AddControl(new SceneControl({0, 0, 40, 30}, [](ICanvas& g, const IRECT& r) {
        g.FillRect({255, 200, 0, 0}, r);
    }));
    const long before = f.canvas.device->commandBuffersMade();
    ASSERT_TRUE(f.canvas.DrawFrame());
    EXPECT_EQ(f.canvas.device->commandBuffersMade() - before, 2);
    EXPECT_EQ(f.canvas.presenter->framesPresented(), 1);
    EXPECT_FALSE(f.canvas.DrawFrame()) << "nothing dirty, nothing drawn";
    EXPECT_EQ(f.canvas.device->commandBuffersMade() - before, 2);
    int w = 0, h = 0;
    const auto frame = f.canvas.LastFrame(&w, &h);
    ASSERT_EQ(w, 40);
    ASSERT_EQ(h, 30);
    EXPECT_EQ(frame[0], 200);
    EXPECT_EQ(frame[3], 255);
    EXPECT_FALSE(f.canvas.InFrame());
    EXPECT_STREQ(f.canvas.DrawingBackendName(), "VG | Metal");
}

TEST(CanvasVGFrame, NewBackBufferStartsTransparent) {
    CanvasFixture f(20, 10, 0.5f, 2.f);
    f.canvas.AddControl(new SceneControl({0, 0, 10, 10}, [](ICanvas& g, const IRECT& r) {
        g.FillRect({255, 0, 0, 200}, r);
    }));
    ASSERT_TRUE(f.canvas.DrawFrame());
    int w = 0, h = 0;
    const auto frame = f.canvas.LastFrame(&w, &h);
    ASSERT_EQ(w, 20);
    EXPECT_EQ(frame[3], 255);
    EXPECT_EQ(frame[size_t(w - 1) * 4 + 3], 0) << "nothing drawn on the right";
}

// A partial redraw presents only its damage (the dirty area's pixels and one
// to spare), and what is presented is the same frame a full redraw draws.
TEST(CanvasVGFrame, PartialRedrawKeepsEveryPixelOutsideTheDirtyArea) {
    IColor left{255, 10, 100, 200};
    const auto scene = [&left](CanvasFixture& f) {
        f.canvas.AddControl(new SceneControl({0, 0, 60, 40}, [](ICanvas& g, const IRECT& r) {
            g.FillRect({255, 40, 40, 40}, r);
            g.FillCircle({255, 250, 250, 0}, 30, 20, 15);
        }));
        auto* changing = new SceneControl(
            {5, 5, 25, 35}, [&left](ICanvas& g, const IRECT& r) { g.FillRect(left, r); });
        f.canvas.AddControl(changing);
        return changing;
    };
    CanvasFixture f(60, 40, 0.5f, 2.f);
    SceneControl* changing = scene(f);
    ASSERT_TRUE(f.canvas.DrawFrame());
    int w = 0, h = 0;
    const auto first = f.canvas.LastFrame(&w, &h);
    left = {255, 220, 30, 30};
    changing->SetDirty(false);
    ASSERT_TRUE(f.canvas.DrawFrame());
    const auto second = f.canvas.LastFrame();
    ASSERT_EQ(first.size(), second.size());
    const mtl::PixelRect damage = f.canvas.presenter->lastDamage();
    // The control's padded area at total scale 1 is 4..26 x 4..36.
    EXPECT_GE(damage.x, 3);
    EXPECT_GE(damage.y, 3);
    EXPECT_LE(damage.x + damage.width, 27);
    EXPECT_LE(damage.y + damage.height, 37);
    int changed = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t at = (size_t(y) * size_t(w) + size_t(x)) * 4;
            const bool inside = x >= 5 && x < 25 && y >= 5 && y < 35; // units = pixels here
            if (!inside)
                ASSERT_EQ(std::vector<unsigned char>(first.begin() + long(at),
                                                     first.begin() + long(at) + 4),
                          std::vector<unsigned char>(second.begin() + long(at),
                                                     second.begin() + long(at) + 4))
                    << x << "," << y;
            else
                changed += first[at] != second[at];
        }
    EXPECT_GT(changed, 0);
    CanvasFixture whole(60, 40, 0.5f, 2.f);
    scene(whole);
    ASSERT_TRUE(whole.canvas.DrawFrame());
    EXPECT_TRUE(whole.canvas.LastFrame() == second) << "a partial frame differs from a full one";
}

TEST(CanvasVGFrame, WithoutContextNothingIsDrawnLoadedOrRegistered) {
    test::FakeDelegate delegate;
    test::HeadlessCanvas canvas(delegate, 20, 20);
    canvas.AddControl(new SceneControl({0, 0, 20, 20}, [](ICanvas& g, const IRECT& r) {
        g.FillRect({255, 1, 2, 3}, r);
        g.DrawDashedRect({255, 1, 2, 3}, r);
        g.DrawText(IText(), "text", r);
    }));
    EXPECT_TRUE(canvas.DrawFrame());
    EXPECT_EQ(canvas.presenter->framesPresented(), 0);
    EXPECT_FALSE(canvas.LoadScaledBitmapData("x.png", "abc", 3, 1, false, 1).IsValid());
    const auto font = render_test::read_file(render_test::kDejaVuSans);
    EXPECT_FALSE(canvas.LoadFontFromMemory("F", font.data(), int(font.size())));
    EXPECT_EQ(canvas.CreateOffscreenBitmap(4, 4, false, 1.f, 1.f), nullptr);
}

TEST(CanvasVGFrame, DestroyingTheContextRemovesControlsAndLayersFirst) {
    CanvasFixture f(40, 40, 1.f, 1.f);
    std::vector<std::string> log;
    f.canvas.AddControl(new test::TestControl(log, "knob", {0, 0, 10, 10}));
    // A control that keeps a layer: its target must go while the context lives.
    ILayerPtr kept;
    f.canvas.AddControl(new SceneControl({0, 0, 40, 40}, [&kept](ICanvas& g, const IRECT& r) {
        g.BeginOffscreenLayer(nullptr, r, true);
        g.FillRect({255, 0, 255, 0}, r);
        kept = g.FinishOffscreenLayer();
        g.DrawOffscreenLayer(*kept);
    }));
    ASSERT_TRUE(f.canvas.DrawFrame());
    ASSERT_TRUE(kept && kept->bitmap);
    kept.reset();
    f.canvas.DestroyDrawContext();
    EXPECT_EQ(f.canvas.NControls(), 0);
    EXPECT_EQ(log.back(), "knob deleted");
    EXPECT_EQ(f.canvas.DrawContextHandle(), nullptr);
    EXPECT_EQ(f.canvas.BackBuffer(), nullptr);
    EXPECT_EQ(f.canvas.CachedBitmapCount(), 0);
    EXPECT_EQ(f.canvas.LayerDepth(), 0);
}

TEST(CanvasVGFrame, BackBufferWithoutImageDrawsAndPresentsNothing) {
    CanvasFixture f(20, 20, 1.f, 1.f);
    f.canvas.AddControl(new SceneControl({0, 0, 20, 20}, [](ICanvas& g, const IRECT& r) {
        g.FillRect({255, 9, 9, 9}, r);
    }));
    f.canvas.Resize(20000, 20, 1.f, false); // beyond the largest texture
    ASSERT_NE(f.canvas.BackBuffer(), nullptr);
    ASSERT_EQ(f.canvas.BackBuffer()->image, 0);
    EXPECT_TRUE(f.canvas.DrawFrame());
    EXPECT_EQ(f.canvas.presenter->framesPresented(), 0);
    f.canvas.Resize(20, 20, 1.f, false); // the next rebuild tries again
    EXPECT_TRUE(f.canvas.DrawFrame());
    EXPECT_EQ(f.canvas.presenter->framesPresented(), 1);
}

} // namespace
} // namespace canvas_test
