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

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// The bitmap and SVG controls; the bitmaps live in keep.
void PopulateImageRows(ICanvas& g, std::vector<std::unique_ptr<APIBitmap>>& keep) {
    auto strip = [&](const char* name, int w, int h, int n) {
        keep.emplace_back(RecordingCanvas::MakeBitmap(w, h * n));
        return IBitmapHandle(keep.back().get(), name, n, false);
    };
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
    PopulateImageRows(canvas, bitmaps);
    // Values part-way, so the new rows show arcs, fills and handles.
    for (int i = firstNew; i < canvas.NControls(); ++i)
        for (int v = 0; v < canvas.GetControl(i)->NVals(); ++v)
            canvas.GetControl(i)->SetValue(0.3 + 0.4 * v, v);
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

// The same panel in pixels, for a person to look at: build/test-output/gallery.png.
TEST(Gallery, DrawsIntoAnImage) {
    FakeDelegate delegate;
    HeadlessCanvas canvas(delegate, 1920, 1200);
    canvas.Attach();
    ASSERT_TRUE(canvas.LoadFontFromFile(
        "Roboto-Regular",
        "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Regular.ttf"));
    Populate(canvas);
    ASSERT_TRUE(RunFrame(canvas));
    int w = 0, h = 0;
    const std::vector<unsigned char> frame = canvas.LastFrame(&w, &h);
    ASSERT_EQ(w, 1920);
    ASSERT_EQ(h, 1200);
    EXPECT_EQ(frame[3], 255) << "the background panel covers the frame";
    EXPECT_FALSE(canvas.WriteFramePNG("gallery").empty());
}

} // namespace
} // namespace vx::test
