// Images, layers and fonts of the vector back end.
#include "render/canvas/CoreTextFont.h"
#include "render/canvas/FontDataCache.h"
#include "render/canvas/FontDescriptorCache.h"
#include "tests/render/canvas/CanvasTestKit.h"
#include "tests/support/TempImageFolder.h"

#include <cstdio>

namespace canvas_test {
namespace {

TEST(CanvasVGResources, ImageExtensions) {
    CanvasFixture f(10, 10, 1.f, 1.f);
    const struct {
        std::string ext;
        bool supported;
    } cases[] = {
        {"PNG", true},  {"jpeg", true}, {"JPG", true}, {"svg", false},
        {"pngx", true}, {"gif", false}, {"", false},   {std::string(30, 'x') + "png", true}};
    for (const auto& c : cases)
        EXPECT_EQ(f.canvas.IsImageExtensionSupported(c.ext.c_str()), c.supported) << c.ext;
}

// Found only at scale 1 for a target of 2: cached under 1, where the next load
// at target 2 finds it again after the search, so the file is decoded once.
TEST(CanvasVGResources, PlainFileAtTargetTwoIsCachedUnderOneAndDecodedOnce) {
    CanvasFixture f(10, 10, 1.f, 2.f);
    test::TempImageFolder folder;
    const std::string path = folder.AddPng("knob.png", 8, 6);
    const IBitmapHandle first = f.canvas.LoadScaledBitmap(path.c_str(), 1, false, 2);
    ASSERT_TRUE(first.IsValid());
    EXPECT_EQ(first.bitmap->scale, 1.f);
    EXPECT_EQ(first.W, 8);
    EXPECT_EQ(first.H, 6);
    EXPECT_EQ(f.canvas.CachedBitmapCount(), 1);
    const IBitmapHandle second = f.canvas.LoadScaledBitmap(path.c_str(), 1, false, 2);
    EXPECT_EQ(second.bitmap, first.bitmap) << "decoded again";
    EXPECT_EQ(f.canvas.CachedBitmapCount(), 1);
    const IBitmapHandle atOne = f.canvas.LoadScaledBitmap(path.c_str(), 1, false, 1);
    EXPECT_EQ(atOne.bitmap, first.bitmap) << "a hit at its own scale";
    EXPECT_EQ(f.canvas.CachedBitmapCount(), 1);
    // A file at the target scale itself is still taken over the one found before.
    folder.AddPng("knob@2x.png", 16, 12);
    const IBitmapHandle sharp = f.canvas.LoadScaledBitmap(path.c_str(), 1, false, 2);
    EXPECT_EQ(sharp.bitmap->scale, 2.f);
    EXPECT_EQ(sharp.W, 8);
}

// A decoding started ahead of the load is what the load gets, once: the file
// as it was when asked for; a later load decodes the file anew.
TEST(CanvasVGResources, APrefetchedImageIsTakenOnceAsItWasWhenAsked) {
    test::TempImageFolder folder;
    const std::string path = folder.AddPng("panel.png", 8, 6);
    vg_prefetch_image_file(path.c_str());
    ASSERT_EQ(std::remove(path.c_str()), 0);
    folder.AddPng("panel.png", 3, 2);
    {
        CanvasFixture f(10, 10, 1.f, 1.f);
        const IBitmapHandle prefetched = f.canvas.LoadScaledBitmap(path.c_str(), 1, false, 1);
        ASSERT_TRUE(prefetched.IsValid());
        EXPECT_EQ(prefetched.W, 8);
        EXPECT_EQ(prefetched.H, 6);
    }
    CanvasFixture f(10, 10, 1.f, 1.f);
    const IBitmapHandle fresh = f.canvas.LoadScaledBitmap(path.c_str(), 1, false, 1);
    ASSERT_TRUE(fresh.IsValid());
    EXPECT_EQ(fresh.W, 3);
    vg_prefetch_image_file((folder.Folder() + "/none.png").c_str()); // nothing to start
}

TEST(CanvasVGResources, MissingUnsupportedAndUndecodableImages) {
    CanvasFixture f(10, 10, 1.f, 1.f);
    test::TempImageFolder folder;
    EXPECT_FALSE(
        f.canvas.LoadScaledBitmap((folder.Folder() + "/none.png").c_str(), 1, false, 1).IsValid());
    const std::string gif = folder.AddFile("anim.gif", "GIF89a");
    EXPECT_FALSE(f.canvas.LoadScaledBitmap(gif.c_str(), 1, false, 1).IsValid());
    const std::string broken = folder.AddFile("broken.png", "not a png");
    const IBitmapHandle handle = f.canvas.LoadScaledBitmap(broken.c_str(), 1, false, 1);
    ASSERT_TRUE(handle.IsValid());
    EXPECT_EQ(handle.bitmap->width, 0);
    EXPECT_EQ(static_cast<ICanvasVG::Bitmap*>(handle.bitmap)->image, 0);
    // Drawing it paints nothing (and no NaN reaches the renderer).
    f.canvas.AddControl(new SceneControl({0, 0, 10, 10}, [&](ICanvas& g, const IRECT& r) {
        g.FillRect({255, 0, 0, 255}, r);
        g.DrawBitmapRegion(handle, r, 0, 0);
    }));
    ASSERT_TRUE(f.canvas.DrawFrame());
    const auto frame = f.canvas.LastFrame();
    EXPECT_EQ(frame[2], 255);
}

TEST(CanvasVGResources, DataImagesAreCachedPerNameAndHeldBitmapsFreed) {
    CanvasFixture f(10, 10, 1.f, 1.f);
    test::TempImageFolder folder;
    const std::vector<unsigned char> png = render_test::read_file(folder.AddPng("a.png", 4, 4));
    const IBitmapHandle a =
        f.canvas.LoadScaledBitmapData("a", png.data(), int(png.size()), 1, false, 1);
    const IBitmapHandle again = f.canvas.LoadScaledBitmapData("a", nullptr, 0, 1, false, 1);
    EXPECT_EQ(a.bitmap, again.bitmap);
    EXPECT_EQ(f.canvas.CachedBitmapCount(), 1);
    f.canvas.FreeBitmap(a);
    EXPECT_EQ(f.canvas.CachedBitmapCount(), 0);
    f.canvas.HoldBitmap(f.canvas.DecodeImageData("b", png.data(), int(png.size()), 1), "b");
    EXPECT_EQ(f.canvas.CachedBitmapCount(), 1);
}

TEST(CanvasVGResources, LayerReleasedInAFrameIsDeletedAfterTheFrame) {
    CanvasFixture f(20, 20, 1.f, 1.f);
    int pendingInFrame = -1;
    f.canvas.AddControl(new SceneControl({0, 0, 20, 20}, [&](ICanvas& g, const IRECT& r) {
        g.BeginOffscreenLayer(nullptr, r, false);
        g.FinishOffscreenLayer().reset();
        pendingInFrame = f.canvas.PendingDeletions();
    }));
    ASSERT_TRUE(f.canvas.DrawFrame());
    EXPECT_EQ(pendingInFrame, 1);
    EXPECT_EQ(f.canvas.PendingDeletions(), 0);
    auto outside = f.canvas.CreateOffscreenBitmap(4, 4, false, 1.f, 1.f);
    outside.reset();
    EXPECT_EQ(f.canvas.PendingDeletions(), 0) << "outside a frame it goes at once";
}

TEST(CanvasVGResources, ReadLayerPixelsGivesTopDownRgbaOfTheLayerSize) {
    CanvasFixture f(20, 20, 1.f, 2.f);
    VxHeapBuf pixels(4096);
    int w = 0, h = 0;
    f.canvas.AddControl(new SceneControl({0, 0, 20, 20}, [&](ICanvas& g, const IRECT&) {
        g.BeginOffscreenLayer(nullptr, {0, 0, 8, 6}, false);
        g.FillRect({255, 255, 0, 0}, {0, 0, 8, 3}); // the top half red
        ILayerPtr layer = g.FinishOffscreenLayer();
        g.ReadLayerPixels(*layer, pixels);
        w = layer->bitmap->width, h = layer->bitmap->height;
    }));
    ASSERT_TRUE(f.canvas.DrawFrame());
    ASSERT_EQ(w, 16);
    ASSERT_EQ(h, 12);
    ASSERT_EQ(pixels.GetSize(), w * h * 4);
    const auto* p = static_cast<const unsigned char*>(pixels.Get());
    EXPECT_EQ(p[0], 255);
    EXPECT_EQ(p[3], 255);
    EXPECT_EQ(p[(size_t(h) - 1) * size_t(w) * 4 + 3], 0) << "the bottom row is empty";
    EXPECT_EQ(f.canvas.AlphaByteIndex(), 3);
    EXPECT_FALSE(f.canvas.LayerRowsBottomUp());
}

// Counts how often the renderer asks for the font's bytes.
class CountingFont : public PlatformFont {
public:
    explicit CountingFont(std::unique_ptr<CoreTextFont> font) : font(std::move(font)) {}
    std::unique_ptr<text::FontFileData> GetFontData() const override {
        ++reads;
        return font ? font->GetFontData() : nullptr;
    }
    std::unique_ptr<CoreTextFont> font;
    mutable int reads = 0;
};

TEST(CanvasVGResources, FontBytesAreReadOncePerProcessAndRefusalsAreNotCached) {
    const auto bytes = render_test::read_file(render_test::kDejaVuSans);
    CountingFont font(LoadFontFromMemory(bytes.data(), int(bytes.size())));
    CountingFont junk(nullptr);
    CanvasFixture first(10, 10, 1.f, 1.f);
    EXPECT_TRUE(first.canvas.RegisterFont("Counted", font));
    EXPECT_FALSE(first.canvas.RegisterFont("Junk", junk));
    {
        CanvasFixture second(10, 10, 1.f, 1.f);
        EXPECT_TRUE(second.canvas.RegisterFont("Counted", font));
        EXPECT_FALSE(second.canvas.RegisterFont("Junk", junk));
    }
    EXPECT_EQ(font.reads, 1);
    EXPECT_EQ(junk.reads, 2) << "a refused font is asked again";
}

TEST(CanvasVGResources, FontDataCacheEmptiesWithTheLastCanvas) {
    {
        CanvasFixture f(10, 10, 1.f, 1.f);
        const std::lock_guard lock(SharedFontDataCache().Mutex());
        EXPECT_NE(SharedFontDataCache().Find(kFont, 1.0), nullptr);
    }
    const std::lock_guard lock(SharedFontDataCache().Mutex());
    EXPECT_EQ(SharedFontDataCache().Size(), 0);
}

} // namespace
} // namespace canvas_test
