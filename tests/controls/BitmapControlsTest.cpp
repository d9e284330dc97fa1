#include "controls/IBitmapControls.h"
#include "tests/controls/ControlsTest.h"
#include "tests/support/TempImageFolder.h"

#include <cstring>
#include <memory>
#include <sstream>

namespace vx::test {
namespace {

using ui::IBitmapHandle;
using ui::IRECT;

class BitmapControlsTest : public ControlsTest {
protected:
    // A strip of n frames stacked, each w by h, kept alive by the test.
    IBitmapHandle Strip(const char* name, int w, int h, int n, bool horizontal = false) {
        pixels.emplace_back(
            RecordingCanvas::MakeBitmap(horizontal ? w * n : w, horizontal ? h : h * n));
        return IBitmapHandle(pixels.back().get(), name, n, horizontal);
    }
    // The frame numbers of the bitmap drawn for each value.
    std::vector<int> FramesAt(ui::IControl* c, std::initializer_list<double> values, int frameH) {
        std::vector<int> out;
        for (double v : values) {
            c->SetValue(v);
            canvas.ClearCalls();
            c->Draw(canvas);
            for (const std::string& call : canvas.CallsStartingWith("DrawBitmapRegion")) {
                std::istringstream in(call);
                std::string word, name, rect;
                int sx = 0, sy = 0;
                in >> word >> name >> rect >> sx >> sy;
                out.push_back(sy / frameH + 1);
            }
        }
        return out;
    }

    std::vector<std::unique_ptr<ui::APIBitmap>> pixels;
};

TEST_F(BitmapControlsTest, KnobStripShowsTheFrameOfTheValue) {
    auto* knob = Attach(new ui::IBKnobControl({0, 0, 100, 100}, Strip("knob.png", 40, 40, 64)));
    EXPECT_EQ(knob->GetRECT(), (IRECT{30, 30, 70, 70})) << "one frame centred";
    EXPECT_EQ(FramesAt(knob, {0.0, 0.5, 1.0}, 40), (std::vector<int>{1, 33, 64}));
}

TEST_F(BitmapControlsTest, ButtonFiresOnPressAndReleaseAndKeepsItsValue) {
    int actions = 0;
    auto* button = Attach(new ui::IBButtonControl(10, 20, Strip("fixture-fswitch.png", 30, 30, 2),
                                                  [&](ui::IControl*) { ++actions; }));
    EXPECT_EQ(button->GetRECT(), (IRECT{10, 20, 40, 50})) << "one frame at the point";
    MouseDown(25, 35);
    MouseUp(25, 35);
    EXPECT_EQ(actions, 2);
    EXPECT_EQ(button->GetValue(), 0.0);
}

TEST_F(BitmapControlsTest, SwitchStepsByTheStripsFrames) {
    struct Case {
        int frames;
        std::vector<double> values;
    };
    const Case cases[] = {{3, {0.5, 1.0, 0.0, 0.5}}, {1, {1.0, 0.0, 1.0}}};
    for (const Case& c : cases) {
        auto* sw = Attach(new ui::IBSwitchControl(0, 0, Strip("radio.png", 20, 20, c.frames)));
        std::vector<double> seen;
        for (size_t i = 0; i < c.values.size(); ++i) {
            MouseDown(5, 5);
            MouseUp(5, 5);
            seen.push_back(sw->GetValue());
        }
        EXPECT_EQ(seen, c.values) << c.frames << " frames";
        canvas.RemoveControl(sw);
    }
}

TEST_F(BitmapControlsTest, SliderHandleTravelsItsTrack) {
    auto* slider =
        Attach(new ui::IBSliderControl({0, 0, 40, 110}, Strip("fixture-mic.png", 20, 10, 1)));
    EXPECT_EQ(slider->GetTrackRECT(), (IRECT{10, 0, 30, 110})) << "no track image: the handle's";
    EXPECT_EQ(slider->GetHandleBounds(1.0), (IRECT{10, 0, 30, 10}));
    EXPECT_EQ(slider->GetHandleBounds(0.0), (IRECT{10, 100, 30, 110}));

    auto* tracked =
        Attach(new ui::IBSliderControl({100, 0, 140, 200}, Strip("fixture-mic.png", 20, 10, 1),
                                       Strip("fixture-micbg.png", 10, 100, 1)));
    EXPECT_EQ(tracked->GetTrackRECT(), (IRECT{115, 50, 125, 150}));
    canvas.ClearCalls();
    tracked->Draw(canvas);
    EXPECT_EQ(canvas.CallsStartingWith("DrawBitmapRegion").size(), 2u);

    auto* empty = Attach(new ui::IBSliderControl({0, 0, 40, 110}, IBitmapHandle()));
    canvas.ClearCalls();
    empty->Draw(canvas);
    EXPECT_TRUE(canvas.CallsStartingWith("DrawBitmapRegion").empty());
}

TEST_F(BitmapControlsTest, RescaleReloadsAtTheScreenScaleOrKeepsTheBitmap) {
    TempImageFolder images;
    const std::string path = images.AddPng("fixture-knobrotate.png", 40, 40);
    images.AddPng("fixture-knobrotate@2x.png", 80, 80);
    const IBitmapHandle loaded = canvas.LoadScaledBitmap(path.c_str(), 1, false, 0);
    ASSERT_TRUE(loaded.IsValid());
    auto* knob = Attach(new ui::IBKnobRotaterControl({0, 0, 60, 60}, loaded));
    const IBitmapHandle missing = Strip("nowhere.png", 20, 20, 1);
    auto* other = Attach(new ui::IBKnobControl({0, 0, 60, 60}, missing));
    const IRECT before = knob->GetRECT();

    canvas.SetScreenScale(2.f);
    EXPECT_FLOAT_EQ(knob->GetBitmap().bitmap->scale, 2.f);
    EXPECT_EQ(knob->GetBitmap().W, 40) << "same size in panel units";
    EXPECT_EQ(knob->GetRECT(), before);
    EXPECT_EQ(other->GetBitmap().bitmap, missing.bitmap) << "a failed reload keeps the copy";
}

TEST_F(BitmapControlsTest, MeterTakesOnlyWhatItsRecordHolds) {
    auto* meter =
        Attach(new ui::IBMeterControl(0, 0, Strip("meter.png", 10, 10, 11), 0.f, -60.f, 1));
    auto record = [](int channels, int first, float level) {
        std::vector<unsigned char> bytes(20);
        const int header[3] = {0, channels, first};
        const float pair[2] = {0.f, level};
        std::memcpy(bytes.data(), header, sizeof header);
        std::memcpy(bytes.data() + 12, pair, sizeof pair);
        return bytes;
    };
    struct Case {
        const char* what;
        int tag;
        std::vector<unsigned char> bytes;
        int size;
        bool disabled;
        double expected;
    };
    const Case cases[] = {
        {"-20 dB over a -60..0 range", 0, record(1, 0, 0.1f), 20, false, 2.0 / 3.0},
        {"three channels: only the one held", 0, record(3, 0, 1.f), 20, false, 1.0},
        {"first channel 1: not in the record", 0, record(1, 1, 0.1f), 20, false, 1.0},
        {"another message", 1, record(1, 0, 0.1f), 20, false, 1.0},
        {"while disabled", 0, record(1, 0, 0.1f), 20, true, 1.0},
        {"size 8: channel 0 at level 0", 0, record(1, 0, 1.f), 8, false, 0.0},
    };
    for (const Case& c : cases) {
        meter->SetDisabled(c.disabled);
        meter->OnDelegateMessage(c.tag, c.size, c.bytes.data());
        EXPECT_NEAR(meter->GetValue(0), c.expected, 1e-6) << c.what;
    }
    meter->SetDisabled(false);
    meter->SetValue(1.0);
    meter->OnDelegateMessage(0, 20, nullptr);
    EXPECT_EQ(meter->GetValue(0), 0.0) << "a null record counts as level 0";
}

TEST_F(BitmapControlsTest, TextDrawsItsStringFromTheFontStrip) {
    auto* text = Attach(new ui::IBTextControl({0, 0, 100, 20}, Strip("font.png", 6, 12, 95),
                                              ui::IText(), "AB", 6, 12, 1, false, true));
    canvas.ClearCalls();
    text->Draw(canvas);
    EXPECT_EQ(canvas.CallsStartingWith("DrawBitmapRegion").size(), 2u);
}

} // namespace
} // namespace vx::test
