// Every concrete control of the library on one large panel, drawn once; the
// recorded drawing is compared with a log checked by eye.
#include "controls/IDynamicsResponseGraph.h"
#include "controls/IFreqResponseGraph.h"
#include "controls/IInvisibleSelectControl.h"
#include "controls/ITextControl.h"
#include "controls/IVButtonControl.h"
#include "controls/IVLabelControl.h"
#include "controls/IVNumberBoxControl.h"
#include "tests/support/FakeDelegate.h"
#include "tests/support/HeadlessCanvas.h"
#include "tests/support/RecordingCanvas.h"
#include "tests/support/RunFrame.h"
#include "toolkit/IPanelControl.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(Gallery, RecordedDrawingMatchesTheGoldenLog) {
    FakeDelegate delegate;
    RecordingCanvas canvas(delegate, 1920, 1200);
    Populate(canvas);
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
