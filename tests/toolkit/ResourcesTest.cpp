#include "tests/support/ToolkitTest.h"

#include "platform/sys/Folders.h"
#include "platform/sys/Log.h"
#include "tests/support/TempImageFolder.h"
#include "toolkit/ResourceCache.h"
#include "toolkit/ResourcePath.h"
#include "toolkit/svg/SvgImage.h"

#include <cstdio>
#include <filesystem>

namespace {

using namespace vx::ui;
using vx::test::FakeDelegate;
using vx::test::RecordingCanvas;
using vx::test::TempImageFolder;
using vx::test::TestControl;
using vx::test::ToolkitTest;

// Collects the lines logged while it lives.
class LogCapture {
public:
    explicit LogCapture(std::vector<std::string>& lines) {
        sys::SetLogSink([&lines](const std::string& line) { lines.push_back(line); });
    }
    ~LogCapture() { sys::SetLogSink(nullptr); }
};

class Resources : public ToolkitTest {
protected:
    TempImageFolder images;
};

TEST_F(Resources, ScaleSearchFindsTheFirstScaleInOrder) {
    struct Case {
        std::vector<std::string> files;
        int target;
        std::string found; // "" when nothing is found
        int scale;
    };
    const Case cases[] = {
        {{"k.png"}, 1, "k.png", 1},
        {{"k.png"}, 2, "k.png", 1},
        {{"k.png", "k@2x.png"}, 3, "k@2x.png", 2},
        {{"k@2x.png", "k@3x.png"}, 1, "k@3x.png", 3}, // 3 is tried before 2
        {{"k@2x.png", "k@3x.png"}, 2, "k@2x.png", 2},
        {{"k@2x.png"}, 5, "k@2x.png", 2},
        {{"k@4x.png", "k@3x.png"}, 4, "k@4x.png", 4},
        {{"k@4x.png"}, 3, "", 0}, // larger scales than the target are never tried
        {{"k.png"}, 0, "", 0},
    };
    for (const Case& c : cases) {
        TempImageFolder folder;
        for (const std::string& f : c.files)
            folder.AddPng(f, 4, 4);
        VxString path;
        int scale = 0;
        const int location =
            canvas.FindImageResource(folder.Path("k.png").c_str(), "png", path, c.target, scale);
        EXPECT_EQ(location, c.found.empty() ? 0 : 1) << c.target;
        EXPECT_EQ(std::string(path.Get()), c.found.empty() ? "" : folder.Path(c.found)) << c.target;
        if (!c.found.empty()) {
            EXPECT_EQ(scale, c.scale) << c.target;
        }
    }
}

TEST(ResourcePath, TheProgramsResourceFolderComesBeforeThePlainPath) {
    const std::string folder = sys::ResourceFolder();
    ASSERT_FALSE(folder.empty()); // the build tree keeps a copy next to the tests
    std::filesystem::create_directories(folder + "probe-sub");
    const std::string inBundle = folder + "probe-sub/omnar-probe.svg";
    FILE* f = std::fopen(inBundle.c_str(), "w");
    ASSERT_TRUE(f);
    std::fclose(f);
    const std::string atTop = folder + "omnar-top-probe.svg";
    std::fclose(std::fopen(atTop.c_str(), "w"));
    TempImageFolder images;
    const std::string plain = images.AddFile("omnar-probe.svg", "");
    struct Case {
        std::string name;
        const char* type;
        const char* subPath;
        std::string found;
    };
    const Case cases[] = {
        {"omnar-probe.svg", "svg", "probe-sub", inBundle},
        {"omnar-probe.SVG", "svg", "probe-sub", inBundle}, // the extension in any case
        {"omnar-probe.svg", "png", "probe-sub", ""},       // another type
        {"omnar-probe.svg", "svg", "", ""},
        {"omnar-top-probe.svg", "svg", "probe-sub", atTop}, // not in the sub-folder
        {"omnar-top-probe.svg", "svg", "", atTop},
        {plain, "svg", "probe-sub", plain}, // a path of its own
        {"", "svg", "", ""},
    };
    for (const Case& c : cases) {
        VxString out("stale");
        EXPECT_EQ(vx::FindResourcePath(c.name.c_str(), c.type, out, "", nullptr, c.subPath),
                  !c.found.empty())
            << c.name;
        EXPECT_EQ(std::string(out.Get()), c.found) << c.name;
    }
    std::filesystem::remove_all(folder + "probe-sub");
    std::filesystem::remove(atTop);
}

TEST_F(Resources, ScaledNamesCutTheExtensionOnlyAfterTheLastSeparator) {
    std::filesystem::create_directory(images.Path("set.v1d"));
    images.AddPng("set.v1d/knob@2x", 2, 2);
    images.AddPng("plain.tar@3x.png", 2, 2);
    VxString path;
    int scale = 0;
    EXPECT_EQ(canvas.FindImageResource(images.Path("set.v1d/knob").c_str(), "", path, 2, scale), 1);
    EXPECT_EQ(std::string(path.Get()), images.Path("set.v1d/knob@2x"));
    EXPECT_EQ(canvas.FindImageResource(images.Path("plain.tar.png").c_str(), "png", path, 3, scale),
              1);
    EXPECT_EQ(std::string(path.Get()), images.Path("plain.tar@3x.png"));
}

TEST_F(Resources, ACachedBitmapIsDecodedOnceAndSharedWithoutTouchingFiles) {
    const std::string path = images.AddPng("knob.png", 300, 100);
    const IBitmapHandle a = canvas.LoadScaledBitmap(path.c_str(), 3, true, 1);
    ASSERT_TRUE(a.IsValid());
    EXPECT_EQ(a.W, 300);
    EXPECT_EQ(a.H, 100);
    std::filesystem::remove(path);
    RecordingCanvas other(delegate);
    const IBitmapHandle b = other.LoadScaledBitmap(path.c_str(), 3, true, 1);
    EXPECT_EQ(b.bitmap, a.bitmap);
    EXPECT_EQ(canvas.decodeCount + other.decodeCount, 1);
}

TEST_F(Resources, AMissingScaleIsMadeOnceFromTheNearestFileAndOnlyTheCopyIsKept) {
    canvas.SetScreenScale(2.f);
    const std::string plain = images.AddPng("bg.png", 200, 100);
    canvas.ClearCalls();
    const IBitmapHandle h = canvas.LoadScaledBitmap(plain.c_str(), 1, false, 0);
    ASSERT_TRUE(h.IsValid());
    EXPECT_EQ(canvas.decodedPaths, std::vector<std::string>{plain});
    EXPECT_FLOAT_EQ(h.bitmap->scale, 2.f);
    EXPECT_EQ(h.bitmap->width, 400);
    EXPECT_EQ(h.W, 200);
    EXPECT_EQ(canvas.CallsStartingWith("CreateOffscreenBitmap"),
              std::vector<std::string>{"CreateOffscreenBitmap 400 200 2 1"});
    EXPECT_EQ(BitmapCache().Find(plain.c_str(), 2.0), h.bitmap);
    EXPECT_EQ(BitmapCache().Find(plain.c_str(), 1.0), nullptr);
    EXPECT_FLOAT_EQ(canvas.GetScreenScale(), 2.f); // restored after the rescale

    // Only @2x and @3x files: a target of 1 starts from the 3x file.
    const std::string name = images.Path("dial.png");
    images.AddPng("dial@2x.png", 40, 40);
    const std::string x3 = images.AddPng("dial@3x.png", 60, 60);
    const IBitmapHandle d = canvas.LoadScaledBitmap(name.c_str(), 1, false, 1);
    ASSERT_TRUE(d.IsValid());
    EXPECT_EQ(canvas.decodedPaths.back(), x3);
    EXPECT_FLOAT_EQ(d.bitmap->scale, 1.f);
    EXPECT_EQ(d.W, 20);
}

TEST_F(Resources, FailedLoadsGiveEmptyHandlesCacheNothingAndTryAgain) {
    const std::string missing = images.Path("late.png");
    const std::string broken = images.AddFile("broken.png", "not a png");
    const std::string gif = images.AddFile("anim.gif", "GIF89a");
    for (const std::string& name : {missing, broken, gif}) {
        const IBitmapHandle h = canvas.LoadScaledBitmap(name.c_str(), 4, true, 1);
        EXPECT_FALSE(h.IsValid()) << name;
        EXPECT_EQ(h.W, 0);
        EXPECT_EQ(h.nFrames, 1);
    }
    EXPECT_EQ(BitmapCache().Size(), 0);
    images.AddPng("late.png", 8, 8);
    EXPECT_TRUE(canvas.LoadScaledBitmap(missing.c_str(), 1, false, 1).IsValid());
}

TEST_F(Resources, BitmapsFromBytesAndFreeing) {
    const std::string path = images.AddPng("mem.png", 10, 20);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(f);
    std::vector<char> bytes(4096);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    const IBitmapHandle a =
        canvas.LoadScaledBitmapData("mem", bytes.data(), int(bytes.size()), 1, false, 2);
    ASSERT_TRUE(a.IsValid());
    EXPECT_FLOAT_EQ(a.bitmap->scale, 2.f); // decoded at 1 and rescaled
    EXPECT_EQ(canvas.LoadScaledBitmapData("mem", nullptr, 0, 1, false, 2).bitmap, a.bitmap);
    EXPECT_EQ(canvas.decodeCount, 1);
    canvas.FreeBitmap(a);
    EXPECT_EQ(BitmapCache().Find("mem", 2.0), nullptr);
}

TEST_F(Resources, LayersAlignToDevicePixelsAndRestoreTheTarget) {
    canvas.SetScreenScale(2.f);
    canvas.PrepareDrawRegion({0, 0, 100, 100});
    canvas.ClearCalls();
    canvas.BeginOffscreenLayer(nullptr, {10.3f, 5.6f, 20.2f, 9.1f}, true);
    canvas.BeginOffscreenLayer(nullptr, {1, 1, 2, 2}, true);
    EXPECT_EQ(canvas.LayerDepth(), 2);
    const ILayerPtr inner = canvas.FinishOffscreenLayer();
    const ILayerPtr layer = canvas.FinishOffscreenLayer();
    ASSERT_TRUE(layer && layer->bitmap);
    EXPECT_EQ(layer->bounds, (IRECT{10.f, 5.5f, 20.5f, 9.5f}));
    EXPECT_EQ(layer->bitmap->width, 22);
    EXPECT_EQ(layer->bitmap->height, 8);
    EXPECT_EQ(canvas.CallsStartingWith("SetClipRect"),
              (std::vector<std::string>{"SetClipRect 10,5.5,20.5,9.5", "SetClipRect 1,1,2,2",
                                        "SetClipRect 10,5.5,20.5,9.5", "SetClipRect 0,0,100,100"}));
    EXPECT_EQ(canvas.CallsStartingWith("RetargetToTopLayer").size(), 4u);
    EXPECT_EQ(canvas.FinishOffscreenLayer(), nullptr); // nothing left to pop

    canvas.ClearCalls();
    canvas.DrawOffscreenLayer(*layer, nullptr);
    EXPECT_EQ(canvas.CallsStartingWith("DrawBitmapRegion"),
              std::vector<std::string>{"DrawBitmapRegion  10,5.5,20.5,9.5 0 0 -"});
    canvas.ClearCalls();
    canvas.DrawFittedLayer(*layer, {0, 0, 21, 8}, nullptr); // twice the layer's size
    EXPECT_EQ(canvas.CallsStartingWith("PathSetTransform")[1], "PathSetTransform 2 0 0 2 0 0");
    EXPECT_EQ(canvas.CallsStartingWith("DrawBitmapRegion"),
              std::vector<std::string>{"DrawBitmapRegion  0,0,10.5,4 0 0 -"});
    EXPECT_EQ(canvas.TransformStackDepth(), 0);
}

TEST_F(Resources, ALayerStaysCurrentUntilItsOwnerMovesOrTheScaleChanges) {
    TestControl* owner = Add("owner", {0, 0, 10, 10});
    canvas.BeginOffscreenLayer(owner, owner->GetRECT(), false);
    ILayerPtr layer = canvas.FinishOffscreenLayer();
    EXPECT_TRUE(canvas.IsLayerCurrent(layer.get()));
    canvas.SetScreenScale(2.f);
    EXPECT_FALSE(canvas.IsLayerCurrent(layer.get()));
    canvas.SetScreenScale(1.f);
    EXPECT_TRUE(canvas.IsLayerCurrent(layer.get()));
    canvas.SetControlPosition(owner, 5, 5);
    EXPECT_FALSE(canvas.IsLayerCurrent(layer.get()));
    canvas.SetControlPosition(owner, 0, 0);
    EXPECT_FALSE(canvas.IsLayerCurrent(layer.get())); // invalid for good
    EXPECT_FALSE(canvas.IsLayerCurrent(nullptr));
}

TEST_F(Resources, ShadowBlursTheAlphaOfAOnePixelColumn) {
    canvas.BeginOffscreenLayer(nullptr, {0, 0, 9, 9}, false);
    ILayerPtr layer = canvas.FinishOffscreenLayer();
    canvas.layerPixels.assign(9 * 9 * 4, 0);
    for (int y = 0; y < 9; ++y) {
        canvas.layerPixels[size_t((y * 9 + 4) * 4 + 3)] = 255; // alpha of column 4
        canvas.layerPixels[size_t((y * 9 + 4) * 4 + 0)] = 77;  // red, left alone
    }
    ILayerShadow shadow;
    shadow.blurSize = 2.f; // kernel 3 long: weights 255, 155, 35
    canvas.DropShadowOnLayer(*layer, shadow);
    ASSERT_EQ(canvas.lastShadowMask.size(), 9u * 9u * 4u);
    auto alpha = [&](int x, int y) {
        return int(canvas.lastShadowMask[size_t((y * 9 + x) * 4 + 3)]);
    };
    const int middle[9] = {0, 0, 14, 62, 102, 62, 14, 0, 0};
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(alpha(x, 4), middle[x]) << x;
    EXPECT_EQ(alpha(4, 0), 71); // the rows beyond the edge count as 0
    EXPECT_EQ(alpha(4, 8), 71);
    EXPECT_EQ(canvas.lastShadowMask[size_t((0 * 9 + 4) * 4)], 77);
}

TEST_F(Resources, SVGImagesAreParsedOnceUnderTheirName) {
    const std::string doc = R"(<svg width="10" height="10"><rect width="5" height="5"/></svg>)";
    const ISVGHandle a = canvas.LoadSVGData("icon", doc.data(), int(doc.size()), "px", 72.f);
    ASSERT_TRUE(a.IsValid());
    const ISVGHandle b = canvas.LoadSVGData("icon", "<svg/>", 6, "px", 144.f);
    EXPECT_EQ(a.image, b.image);

    const std::string path = images.AddFile("logo.svg", doc);
    const ISVGHandle c = canvas.LoadSVG(path.c_str());
    ASSERT_TRUE(c.IsValid());
    EXPECT_FLOAT_EQ(c.image->width, 10.f);
    EXPECT_EQ(canvas.LoadSVG(images.Path("none.svg").c_str()).image, nullptr);

    // Bytes after a zero byte are not part of the document.
    const std::string withZero = doc + std::string(1, '\0') + "<junk";
    EXPECT_TRUE(canvas.LoadSVGData("zero", withZero.data(), int(withZero.size())).IsValid());
}

TEST_F(Resources, ABrokenSVGIsLoggedAndNotCached) {
    std::vector<std::string> lines;
    const LogCapture capture(lines);
    const std::string bad = "<svg>\n<path d=\"M0 0 L\"/></svg>";
    EXPECT_FALSE(canvas.LoadSVGData("art", bad.data(), int(bad.size())).IsValid());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("\"art\""), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("line 2, column 1, element <path>, attribute d"), std::string::npos)
        << lines[0];
    const std::string good = "<svg width=\"4\" height=\"4\"/>";
    EXPECT_TRUE(canvas.LoadSVGData("art", good.data(), int(good.size())).IsValid());
}

TEST_F(Resources, FontsAreKeptOnlyWhenRegistered) {
    const int before = RecordingCanvas::liveFonts;
    EXPECT_TRUE(canvas.LoadFontFromFile("Roboto-Regular", "Roboto-Regular.ttf"));
    EXPECT_TRUE(canvas.LoadFontFromMemory("Mem", "abc", 3));
    EXPECT_TRUE(canvas.LoadFontFromFamilyStyle("Sans", "DejaVu Sans", "Book"));
    EXPECT_EQ(canvas.cachedFonts, (std::vector<std::string>{"Roboto-Regular", "Mem", "Sans"}));
    EXPECT_EQ(RecordingCanvas::liveFonts, before + 3);
    EXPECT_FALSE(canvas.LoadFontFromFile("Nothing", "")); // not made
    canvas.fontsRegister = false;
    EXPECT_FALSE(canvas.LoadFontFromMemory("Refused", "abc", 3)); // made, not registered
    EXPECT_EQ(RecordingCanvas::liveFonts, before + 3);
    EXPECT_EQ(canvas.cachedFonts.size(), 3u);
}

TEST(ResourceCaches, TheLastContextEmptiesThemAndALaterOneLoadsAgain) {
    TempImageFolder images;
    const std::string path = images.AddPng("a.png", 4, 4);
    const std::string doc = "<svg width=\"4\" height=\"4\"/>";
    FakeDelegate delegate;
    {
        RecordingCanvas first(delegate);
        {
            RecordingCanvas second(delegate);
            ASSERT_TRUE(second.LoadScaledBitmap(path.c_str(), 1, false, 1).IsValid());
            ASSERT_TRUE(second.LoadSVGData("s", doc.data(), int(doc.size())).IsValid());
        }
        EXPECT_EQ(BitmapCache().Size(), 1); // the first context still uses them
        EXPECT_EQ(SVGCache().Size(), 1);
        EXPECT_EQ(first.LoadScaledBitmap(path.c_str(), 1, false, 1).bitmap,
                  BitmapCache().Find(path.c_str(), 1.0));
        EXPECT_EQ(first.decodeCount, 0);
    }
    EXPECT_EQ(BitmapCache().Size(), 0);
    EXPECT_EQ(SVGCache().Size(), 0);
    RecordingCanvas later(delegate);
    EXPECT_TRUE(later.LoadScaledBitmap(path.c_str(), 1, false, 1).IsValid());
    EXPECT_EQ(later.decodeCount, 1);
}

} // namespace
