// The background and what lies under it: controls hidden by a later opaque
// image are not drawn, a whole-window image is scaled once per scale, and
// the frame stays the same, byte for byte.
#include "tests/render/canvas/CanvasTestKit.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/IPanelControl.h"

#include <stb/stb_image_write.h>

#include <cstdint>

namespace canvas_test {
namespace {

// A PNG of noisy pixels, so any filtering or blending difference shows.
std::vector<unsigned char> NoisePng(int w, int h, bool opaque, uint32_t seed) {
    std::vector<unsigned char> rgba(size_t(w) * size_t(h) * 4);
    uint32_t x = seed;
    for (size_t i = 0; i < rgba.size(); ++i) {
        x = x * 1664525u + 1013904223u;
        rgba[i] = static_cast<unsigned char>(x >> 24);
        if (i % 4 == 3 && opaque)
            rgba[i] = 255;
    }
    std::vector<unsigned char> png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* out = static_cast<std::vector<unsigned char>*>(context);
            const auto* bytes = static_cast<const unsigned char*>(data);
            out->insert(out->end(), bytes, bytes + size);
        },
        &png, w, h, 4, rgba.data(), w * 4);
    return png;
}

struct Scene {
    float screenScale;
    float backgroundX; // the background image's left edge, panel units
    const char* name;
    int skippedFull;  // controls left out of the first frame
    int skippedAfter; // and after a partial frame too
};

constexpr int kW = 48, kH = 32;

// A panel colour, an opaque background image, a vector control it hides, an
// opaque small image over a vector control, and a translucent one on top.
IControl* Build(test::HeadlessCanvas& g, const Scene& s) {
    g.AddBackgroundPanel(IColor{255, 0, 200, 40});
    const std::vector<unsigned char> big = NoisePng(40, kH, true, 1);
    const std::vector<unsigned char> small = NoisePng(9, 7, true, 2);
    const std::vector<unsigned char> glass = NoisePng(12, 12, false, 3);
    const IBitmapHandle background =
        g.LoadScaledBitmapData("bg", big.data(), int(big.size()), 1, false, 1);
    const IBitmapHandle knob =
        g.LoadScaledBitmapData("knob", small.data(), int(small.size()), 1, false, 1);
    const IBitmapHandle over =
        g.LoadScaledBitmapData("glass", glass.data(), int(glass.size()), 1, false, 1);
    EXPECT_TRUE(background.bitmap && background.bitmap->opaque);
    EXPECT_TRUE(over.bitmap && !over.bitmap->opaque);
    g.AddControl(new SceneControl({8, 8, 20, 20}, [](ICanvas& c, const IRECT& r) {
        c.FillCircle({255, 250, 0, 0}, r.MW(), r.MH(), 7.f);
    }));
    g.AddControl(new IBitmapControl(s.backgroundX, 0, background));
    auto* under = new SceneControl({22, 10, 26, 13}, [](ICanvas& c, const IRECT& r) {
        c.FillRect({255, 0, 0, 255}, r);
    });
    g.AddControl(under);
    g.AddControl(new IBitmapControl(20.25f, 8.5f, knob));
    g.AddControl(new IBitmapControl(30.5f, 15.f, over));
    return under;
}

std::vector<unsigned char> Frame(const Scene& s, bool skip, int* skipped, bool redrawUnder) {
    test::FakeDelegate delegate;
    test::HeadlessCanvas g(delegate, kW, kH, 1.f, s.screenScale);
    g.Attach();
    IControl* under = Build(g, s);
    g.SetSkipHiddenControls(skip);
    EXPECT_TRUE(g.DrawFrame());
    if (redrawUnder) { // a partial frame: only the hidden control is dirty
        under->SetDirty(false);
        EXPECT_TRUE(g.DrawFrame());
    }
    *skipped = g.SkippedDraws();
    return g.LastFrame();
}

TEST(CanvasVGBackground, HiddenControlsAreSkippedAndTheFrameIsTheSameByteForByte) {
    // Full frame: the circle under the background image and the square under
    // the knob. Partial frame (the square's): the panel, the background image
    // and the square, all under the knob there. Scales that are no power of two
    // keep the edge pixels of each cover, so less is left out.
    const Scene scenes[] = {
        {1.f, 4.f, "scale 1", 2, 5},
        {2.f, 4.f, "scale 2", 2, 5},
        {2.f, 4.5f, "scale 2, background at a half unit", 2, 5},
        {4.f, 4.25f, "scale 4", 2, 5},
        {1.5f, 4.f, "scale 1.5", 1, 1},
        {3.f, 4.f, "scale 3", 2, 2},
    };
    for (const Scene& s : scenes)
        for (bool partial : {false, true}) {
            SCOPED_TRACE(std::string(s.name) + (partial ? ", partial frame" : ", full frame"));
            int skippedOff = 0, skippedOn = 0;
            const std::vector<unsigned char> old = Frame(s, false, &skippedOff, partial);
            const std::vector<unsigned char> now = Frame(s, true, &skippedOn, partial);
            ASSERT_EQ(old.size(), now.size());
            EXPECT_TRUE(old == now);
            EXPECT_EQ(skippedOff, 0);
            EXPECT_EQ(skippedOn, partial ? s.skippedAfter : s.skippedFull);
        }
}

// Frames of a whole-window background image drawn at twice its own scale,
// with a translucent image over it, full then partial; the last frame of each.
struct LayerRun {
    std::vector<std::vector<unsigned char>> frames;
    int made = 0;
};

LayerRun LayerFrames(bool layers, const std::vector<float>& scales) {
    test::FakeDelegate delegate;
    test::HeadlessCanvas g(delegate, kW, kH, 1.f, scales.front());
    g.Attach();
    g.SetDeviceLayers(layers);
    const std::vector<unsigned char> big = NoisePng(kW, kH, true, 4);
    const std::vector<unsigned char> glass = NoisePng(12, 12, false, 5);
    const IBitmapHandle background =
        g.LoadScaledBitmapData("bg", big.data(), int(big.size()), 1, false, 1);
    const IBitmapHandle over =
        g.LoadScaledBitmapData("glass", glass.data(), int(glass.size()), 1, false, 1);
    g.AddControl(new IBitmapControl(0, 0, background));
    IControl* top = g.AddControl(new IBitmapControl(20.5f, 9.f, over));
    LayerRun run;
    for (float scale : scales) {
        if (scale != g.GetScreenScale())
            g.SetScreenScale(scale);
        for (int i = 0; i < 3; ++i) { // the first frame at a scale asks for the layer
            g.MarkAllControlsDirty();
            EXPECT_TRUE(g.DrawFrame());
            run.frames.push_back(g.LastFrame());
        }
        top->SetDirty(false); // a partial frame
        EXPECT_TRUE(g.DrawFrame());
        run.frames.push_back(g.LastFrame());
    }
    run.made = g.DeviceLayersMade();
    return run;
}

TEST(CanvasVGBackground, AWholeWindowImageIsScaledOncePerScaleThenCopiedWithTheSamePixels) {
    struct Case {
        std::vector<float> scales;
        int made;
        const char* name;
    };
    const Case cases[] = {
        {{2.f}, 1, "scale 2"},
        {{2.f, 4.f, 2.f}, 3, "scale 2, then 4, then 2 again"},
        {{1.f}, 0, "scale 1: already one texel a pixel"},
        {{1.5f}, 0, "scale 1.5: not exact, drawn the usual way"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LayerRun old = LayerFrames(false, c.scales);
        const LayerRun now = LayerFrames(true, c.scales);
        EXPECT_EQ(old.made, 0);
        EXPECT_EQ(now.made, c.made);
        ASSERT_EQ(old.frames.size(), now.frames.size());
        for (size_t i = 0; i < old.frames.size(); ++i)
            EXPECT_TRUE(old.frames[i] == now.frames[i]) << "frame " << i;
    }
}

} // namespace
} // namespace canvas_test
