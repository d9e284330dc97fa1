// Every concrete control of the library on one large panel, drawn once; the
// recorded drawing is compared with a log checked by eye.
#include "controls/IBitmapControls.h"
#include "controls/IDynamicsResponseGraph.h"
#include "controls/IFreqResponseGraph.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ISVGControls.h"
#include "controls/ITextControl.h"
#include "controls/IVButtonControl.h"
#include "controls/IVKnobControl.h"
#include "controls/IVLabelControl.h"
#include "controls/IVMenuButtonControl.h"
#include "controls/IVNumberBoxControl.h"
#include "controls/IVPadPlotControls.h"
#include "controls/IVSliderControls.h"
#include "controls/IVSwitchControls.h"
#include "controls/IVTabSwitchControl.h"
#include "tests/support/FakeDelegate.h"
#include "tests/support/HeadlessCanvas.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/support/RunFrame.h"
#include "toolkit/IPanelControl.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <vector>

namespace vx::test {
namespace {

using namespace ui;

void Populate(ICanvas& g) {
    g.AddControl(new IPanelControl({0, 0, 1920, 1200}, IColor(255, 30, 30, 36)));
    const IText label(16.f, kColorWhite, 0, 1);
    g.AddControl(new ITextControl({20, 20, 300, 50}, "Preset 001", label, {255, 60, 60, 70}));
    g.AddControl(new IEditableTextControl({20, 60, 300, 90}, "Growl", label));
    g.AddControl(new ICaptionControl({20, 100, 300, 130}, FakeDelegate::kRoom, label, {}, false));
    g.AddControl(new ICaptionControl({20, 140, 300, 170}, FakeDelegate::kGain, label, {}, true));
    g.AddControl(new IURLControl({20, 180, 300, 210}, "omnar.example", "https://omnar.example/",
                                 IText(14.f, kColorYellow, 1, 0)));
    g.AddControl(new ITextToggleControl({20, 220, 120, 250}, -1, "OFF", "ON", label));
    g.AddControl(new PlaceHolder({20, 270, 320, 420}, "Coming"));

    auto* spectrum = new IFreqResponseGraph({400, 20, 1072, 470}, {255, 0, 200, 0}, 4096, 0);
    spectrum->SetRanges(20.0, 20480.0, 100.0, 30.0);
    spectrum->SetNoSmoothing(1);
    g.AddControl(spectrum);
    std::vector<double> block(4096, 0.0);
    block[0] = 1.0;
    block[1] = 0.5;
    spectrum->ProcessBlock(block.data());
    spectrum->OnMouseOver(700, 200, {});

    auto* dynamics = new IDynamicsResponseGraph({1100, 20, 1500, 420}, {255, 255, 127, 0});
    dynamics->SetLowerBreakPoint(-60);
    dynamics->SetUpperBreakPoint(-20);
    dynamics->SetLowerSlope(0.5);
    dynamics->SetUpperRatio(4.0);
    g.AddControl(dynamics);

    g.AddControl(new IInvisibleSelectControl3(FakeDelegate::kCount, 0, {20, 500, 320, 900}));
    g.AddControl(new IInvisibleSelectControl2(FakeDelegate::kCount, 1, {340, 500, 640, 540}));
    g.AddControl(new IVNumberBoxControl({700, 500, 860, 580}, -1, nullptr, "CC", kDefaultStyle,
                                        50.0, 1.0, 100.0, true, "%0.0f", true));
    g.AddControl(new IVNumberBoxControl({900, 500, 1060, 560}, FakeDelegate::kCount, nullptr, "",
                                        kDefaultStyle, 50.0, 1.0, 100.0, false, "%0.0f", true));
    g.AddControl(new IVLabelControl({700, 620, 900, 660}, "Level"));
    g.AddControl(new IVButtonControl({700, 700, 860, 760}, IControl::splashClickAction, "IMPORT",
                                     kDefaultStyle, true, false));
    IVStyle above;
    above.labelPosition = 0;
    above.roundness = 0.5f;
    g.AddControl(new IVButtonControl({900, 700, 1060, 800}, IControl::splashClickAction, "EXPORT",
                                     above, false, false, EVShape::Ellipse));
    g.AddControl(new IPanelControl({1600, 600, 1900, 1100}, IColor(128, 0, 0, 0), true));
}

// The vector controls of the second library row by row below the first.
void PopulateVectorRows(ICanvas& g) {
    g.AddControl(new IVSwitchControl({20, 930, 120, 990}, FakeDelegate::kRoom, "ROOM"));
    g.AddControl(new IVToggleControl({140, 930, 240, 990}, nullptr, "BYPASS", kDefaultStyle, "OFF",
                                     "ON", true));
    IVStyle pill;
    pill.roundness = 1.f;
    g.AddControl(new IVSlideSwitchControl({260, 930, 400, 990}, -1, "AUTO GAIN", pill, true));
    g.AddControl(new IVTabSwitchControl({420, 930, 640, 990}, nullptr, {"LOW", "MID", "HIGH"},
                                        "BAND", kDefaultStyle, EVShape::EndsRounded));
    g.AddControl(new IVRadioButtonControl({660, 920, 800, 1000}, FakeDelegate::kRoom, {}, "ROOM"));
    g.AddControl(new IVMenuButtonControl({820, 930, 980, 990}, FakeDelegate::kRoom, "MODE"));
    g.AddControl(new IVKnobControl({20, 1010, 120, 1110}, FakeDelegate::kGain, "GAIN",
                                   kDefaultStyle, false, -135.f, 135.f, -135.f, 4.0, 18.f));
    g.AddControl(new IVSliderControl({140, 1010, 340, 1070}, FakeDelegate::kGain, "LEVEL",
                                     kDefaultStyle, true, 1.0, 8.f, 2.f, 0.f, 0.f,
                                     EDirection::Horizontal));
    g.AddControl(new IVTrackControlBase({360, 1010, 520, 1110}, "BARS", kDefaultStyle,
                                        {FakeDelegate::kGain, FakeDelegate::kCount, -1, -1}));
    g.AddControl(new IVRangeSliderControl({540, 1010, 600, 1110}, {-1, -1}, "RANGE"));
    g.AddControl(new IVXYPadControl({620, 1010, 720, 1110}, {-1, -1}, "PAD"));
    g.AddControl(new IVPlotControl(
        {740, 1010, 900, 1110}, {{kColorRed, [](double x) { return 2.0 * x - 1.0; }}}, 16, "PLOT"));
    g.AddControl(new IVGroupControl({920, 1010, 1080, 1110}, "GROUP"));
    g.AddControl(new IVColorSwatchControl({1100, 1010, 1280, 1110}, "COLOURS"));
}

// Makes a strip of n frames of w x h.
using StripMaker = std::function<IBitmapHandle(const char* name, int w, int h, int n)>;

// The bitmap and SVG controls, their bitmaps from `strip`.
void PopulateImageRows(ICanvas& g, const StripMaker& strip) {
    g.AddControl(new IBKnobControl({1100, 450, 1160, 510}, strip("knob.png", 40, 40, 64),
                                   FakeDelegate::kGain));
    g.AddControl(new IBKnobRotaterControl(
        {1170, 450, 1230, 510}, strip("fixture-knobrotate.png", 50, 50, 1), FakeDelegate::kGain));
    g.AddControl(new IBButtonControl(1240, 460, strip("fixture-fswitch.png", 40, 40, 2)));
    g.AddControl(new IBSwitchControl(1290, 460, strip("fixture-radio-room.png", 40, 40, 2)));
    g.AddControl(new IBSliderControl({1340, 450, 1380, 590}, strip("fixture-mic.png", 20, 10, 1),
                                     strip("fixture-micbg.png", 10, 120, 1), FakeDelegate::kGain));
    g.AddControl(new IBTextControl({1390, 460, 1580, 480}, strip("font.png", 6, 12, 95), IText(),
                                   "PRESET 42", 6, 12, 1));
    g.AddControl(new IBMeterControl(1100, 530, strip("meter.png", 20, 40, 11)));

    const std::string square =
        R"(<svg width="10" height="10"><rect width="10" height="10"/></svg>)";
    const std::string tall =
        R"(<svg width="10" height="100"><rect width="10" height="100"/></svg>)";
    const ISVGHandle box =
        g.LoadSVGData("gallery-box.svg", square.data(), static_cast<int>(square.size()));
    const ISVGHandle track =
        g.LoadSVGData("gallery-track.svg", tall.data(), static_cast<int>(tall.size()));
    g.AddControl(new ISVGButtonControl({1100, 600, 1140, 640}, nullptr, box, box));
    const IColor colours[4] = {kColorGray, kColorWhite, kColorLightGray, kColorYellow};
    g.AddControl(new ISVGToggleControl({1150, 600, 1190, 640}, -1, box, colours, 1));
    g.AddControl(new ISVGKnobControl({1200, 600, 1260, 660}, box, FakeDelegate::kGain));
    g.AddControl(new ISVGSwitchControl({1270, 600, 1310, 640}, {box, track}, FakeDelegate::kCount));
    g.AddControl(new ISVGSliderControl({1320, 600, 1360, 760}, box, track, FakeDelegate::kGain));
}

// Values part-way, so the rows from `first` on show arcs, fills and handles.
void SetValuesPartWay(ICanvas& g, int first) {
    for (int i = first; i < g.NControls(); ++i)
        for (int v = 0; v < g.GetControl(i)->NVals(); ++v)
            g.GetControl(i)->SetValue(0.3 + 0.4 * v, v);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Gallery, RecordedDrawingMatchesTheGoldenLog) {
    FakeDelegate delegate;
    RecordingCanvas canvas(delegate, 1920, 1200);
    std::vector<std::unique_ptr<APIBitmap>> bitmaps;
    Populate(canvas);
    const int firstNew = canvas.NControls();
    PopulateVectorRows(canvas);
    PopulateImageRows(canvas, [&](const char* name, int w, int h, int n) {
        bitmaps.emplace_back(RecordingCanvas::MakeBitmap(w, h * n));
        return IBitmapHandle(bitmaps.back().get(), name, n, false);
    });
    SetValuesPartWay(canvas, firstNew);
    canvas.ClearCalls();
    ASSERT_TRUE(RunFrame(canvas));
    std::string log;
    for (const std::string& call : canvas.calls)
        log += call + "\n";

    const std::filesystem::path golden = std::filesystem::path(OMNAR_GOLDEN_DIR) / "gallery.txt";
    const char* update = std::getenv("OMNAR_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::ofstream(golden, std::ios::binary) << log;
        GTEST_SKIP() << "rewrote " << golden << ": check it by eye";
    }
    if (log != ReadFile(golden)) {
        const std::filesystem::path out = std::filesystem::path(OMNAR_TEST_OUTPUT_DIR);
        std::filesystem::create_directories(out);
        std::ofstream(out / "gallery.txt", std::ios::binary) << log;
        FAIL() << "the drawing differs from " << golden << "; this run's log is in "
               << (out / "gallery.txt");
    }
}

// Frame k of a test strip is filled with kFrameColours[k % 4], so a pixel
// tells which frame a bitmap control drew.
const IColor kFrameColours[] = {
    {255, 230, 40, 40}, {255, 40, 200, 60}, {255, 40, 80, 230}, {255, 230, 200, 40}};

IBitmapHandle PngStrip(ICanvas& g, const char* name, int w, int h, int n) {
    std::vector<unsigned char> rgba;
    for (int k = 0; k < n; ++k)
        for (int p = 0; p < w * h; ++p) {
            const IColor& c = kFrameColours[k % 4];
            rgba.insert(rgba.end(),
                        {static_cast<unsigned char>(c.R), static_cast<unsigned char>(c.G),
                         static_cast<unsigned char>(c.B), 255});
        }
    std::vector<unsigned char> png;
    stbi_write_png_to_func(
        [](void* out, void* data, int size) {
            auto* bytes = static_cast<unsigned char*>(data);
            static_cast<std::vector<unsigned char>*>(out)->insert(
                static_cast<std::vector<unsigned char>*>(out)->end(), bytes, bytes + size);
        },
        &png, w, h * n, 4, rgba.data(), w * 4);
    return g.LoadScaledBitmapData(name, png.data(), static_cast<int>(png.size()), n, false, 1);
}

struct Probe {
    const char* what;
    int x, y;
    IColor colour;
};

// Every class of both libraries in pixels, probed where each draws a colour of
// its own; the picture is build/test-output/gallery.png.
TEST(Gallery, DrawsEveryClassIntoAnImage) {
    FakeDelegate delegate;
    HeadlessCanvas canvas(delegate, 1920, 1200);
    canvas.Attach();
    ASSERT_TRUE(canvas.LoadFontFromFile(
        "Roboto-Regular",
        "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf"));
    Populate(canvas);
    const int firstNew = canvas.NControls();
    PopulateVectorRows(canvas);
    PopulateImageRows(canvas, [&](const char* name, int w, int h, int n) {
        return PngStrip(canvas, name, w, h, n);
    });
    SetValuesPartWay(canvas, firstNew);
    ASSERT_TRUE(RunFrame(canvas));
    int w = 0, h = 0;
    const std::vector<unsigned char> frame = canvas.LastFrame(&w, &h);
    ASSERT_EQ(w, 1920);
    ASSERT_EQ(h, 1200);
    EXPECT_FALSE(canvas.WriteFramePNG("gallery").empty());
    const Probe probes[] = {
        {"background panel", 5, 5, {255, 30, 30, 36}},
        {"text control's background", 250, 25, {255, 60, 60, 70}},
        {"caption's background", 100, 115, {255, 0, 0, 0}},
        {"spectrum curve", 620, 139, {255, 0, 200, 0}},
        {"dynamics curve's lower handle", 1240, 260, {255, 255, 127, 0}},
        {"vector button IMPORT", 780, 735, {255, 200, 200, 200}},
        {"vector button EXPORT, an ellipse", 980, 760, {255, 200, 200, 200}},
        {"panel veil", 1605, 1000, {255, 15, 15, 18}},
        {"vector switch", 70, 965, {255, 200, 200, 200}},
        {"toggle", 190, 965, {255, 200, 200, 200}},
        {"tab LOW, not chosen", 460, 965, {255, 200, 200, 200}},
        {"tab MID, chosen", 540, 965, {255, 240, 240, 240}},
        {"radio Room, not chosen", 674, 943, {255, 200, 200, 200}},
        {"radio Hall, chosen", 674, 955, {255, 240, 240, 240}},
        {"menu button", 900, 965, {255, 198, 198, 198}},
        {"knob's value arc", 68, 1045, {255, 0, 255, 0}},
        {"slider's handle", 200, 1044, {255, 200, 200, 200}},
        {"track's second bar", 455, 1100, {255, 200, 200, 200}},
        {"pad's handle", 654, 1057, {255, 200, 200, 200}},
        {"plot's line", 820, 1069, {255, 255, 0, 0}},
        {"plot's empty corner", 821, 1080, {255, 30, 30, 36}},
        {"group frame", 920, 1080, {255, 23, 23, 28}},
        {"swatch cell 2", 1190, 1042, {255, 200, 200, 200}},
        {"swatch cell 3", 1247, 1042, {255, 240, 240, 240}},
        {"swatch cell 7", 1132, 1093, {255, 0, 0, 0}},
        {"swatch cell 8", 1190, 1093, {255, 0, 255, 0}},
        {"swatch cell 9", 1247, 1093, {255, 0, 0, 255}},
        // Bitmaps: the frame drawn tells by its colour (kFrameColours).
        {"bitmap knob, frame 19", 1130, 480, {255, 230, 200, 40}},
        {"rotating knob", 1200, 480, {255, 230, 40, 40}},
        {"bitmap button, frame 0", 1260, 480, {255, 230, 40, 40}},
        {"bitmap switch, frame 0", 1310, 480, {255, 230, 40, 40}},
        {"bitmap slider", 1360, 500, {255, 230, 40, 40}},
        {"bitmap text, frame 48", 1456, 470, {255, 230, 40, 40}},
        {"meter, frame 3", 1110, 550, {255, 230, 200, 40}},
        {"SVG button", 1120, 620, {255, 0, 0, 0}},
        {"SVG toggle, filled grey", 1170, 620, {255, 127, 127, 127}},
        {"SVG knob", 1230, 630, {255, 0, 0, 0}},
        {"SVG slider's track", 1340, 680, {255, 0, 0, 0}},
    };
    // Flat fills come out exact; a little room for antialiased lines.
    constexpr int kTolerance = 3;
    for (const Probe& p : probes) {
        const unsigned char* px =
            &frame[(std::size_t(p.y) * std::size_t(w) + std::size_t(p.x)) * 4];
        const IColor got(px[3], px[0], px[1], px[2]);
        EXPECT_TRUE(std::abs(got.R - p.colour.R) <= kTolerance &&
                    std::abs(got.G - p.colour.G) <= kTolerance &&
                    std::abs(got.B - p.colour.B) <= kTolerance && got.A == p.colour.A)
            << p.what << " at " << p.x << "," << p.y << ": " << got.A << "," << got.R << ","
            << got.G << "," << got.B;
    }
}

} // namespace
} // namespace vx::test
