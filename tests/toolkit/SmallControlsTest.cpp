#include "tests/support/ToolkitTest.h"

#include "framework/MidiTypes.h"
#include "tests/support/TempImageFolder.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/IContainerBase.h"
#include "toolkit/IKeyPress.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/ISVGControl.h"
#include "toolkit/IVectorBase.h"

namespace {

using namespace vx::ui;
using vx::IKeyPress;
using vx::IMidiMsg;
using vx::test::RecordingCanvas;
using vx::test::RunFrame;
using vx::test::TempImageFolder;
using vx::test::TestClock;
using vx::test::TestControl;
using vx::test::ToolkitTest;

class SmallControls : public ToolkitTest {};

TEST_F(SmallControls, BitmapControlPicksTheFrameByValue) {
    IBitmapHandle strip(RecordingCanvas::MakeBitmap(300, 100), "strip", 3, true);
    auto* c =
        static_cast<IBitmapControl*>(canvas.AddControl(new IBitmapControl(10, 20, strip, -1, 3)));
    EXPECT_EQ(c->GetRECT(), (IRECT{10, 20, 110, 120}));
    struct Case {
        double value;
        const char* call;
    };
    const Case cases[] = {
        {0.0, "DrawBitmapRegion strip 10,20,110,120 0 0 b(3,1)"},
        {0.24, "DrawBitmapRegion strip 10,20,110,120 0 0 b(3,1)"},
        {0.5, "DrawBitmapRegion strip 10,20,110,120 100 0 b(3,1)"},
        {1.0, "DrawBitmapRegion strip 10,20,110,120 200 0 b(3,1)"},
    };
    for (const Case& cs : cases) {
        c->SetValue(cs.value);
        canvas.ClearCalls();
        c->Draw(canvas);
        EXPECT_EQ(canvas.calls, std::vector<std::string>{cs.call}) << cs.value;
    }
    delete strip.bitmap;
}

TEST_F(SmallControls, SingleFrameEmptyAndFramelessBitmaps) {
    IBitmapHandle single(RecordingCanvas::MakeBitmap(40, 30), "one", 1, false);
    IBitmapHandle frameless(RecordingCanvas::MakeBitmap(40, 30), "zero", 0, false);
    auto* one = canvas.AddControl(new IBitmapControl(0, 0, single));
    auto* zero = canvas.AddControl(new IBitmapControl(0, 0, frameless));
    auto* missing = canvas.AddControl(new IBitmapControl(5, 5, IBitmapHandle()));
    EXPECT_EQ(zero->GetRECT(), (IRECT{0, 0, 40, 30}));
    EXPECT_EQ(missing->GetRECT(), (IRECT{5, 5, 5, 5}));
    for (IControl* c : {one, zero, missing}) {
        c->SetValue(0.9);
        c->Draw(canvas);
    }
    EXPECT_EQ(canvas.CallsStartingWith("DrawBitmapRegion"),
              (std::vector<std::string>{"DrawBitmapRegion one 0,0,40,30 0 0 b(0,1)",
                                        "DrawBitmapRegion zero 0,0,40,30 0 0 b(0,1)"}));
    delete single.bitmap;
    delete frameless.bitmap;
}

TEST_F(SmallControls, BackgroundsGoFirstAndFollowTheScreenScale) {
    TempImageFolder images;
    const std::string path = images.AddPng("bg.png", 40, 30);
    images.AddPng("bg@2x.png", 80, 60);
    TestControl* a = Add("a", {0, 0, 10, 10});
    canvas.AddBackgroundBitmap(path.c_str());
    auto* bg = dynamic_cast<IBitmapControl*>(canvas.GetControl(0));
    ASSERT_TRUE(bg);
    EXPECT_EQ(canvas.GetControlIdx(a), 1);
    EXPECT_EQ(bg->GetRECT(), (IRECT{0, 0, 40, 30}));
    EXPECT_FLOAT_EQ(bg->GetBitmap().bitmap->scale, 1.f);
    canvas.SetScreenScale(2.f);
    EXPECT_FLOAT_EQ(bg->GetBitmap().bitmap->scale, 2.f);
    EXPECT_EQ(canvas.decodedPaths.back(), images.Path("bg@2x.png"));

    canvas.AddBackgroundPanel(kColorBlue);
    auto* panel = canvas.GetControl(0);
    EXPECT_TRUE(panel->GetIgnoreMouse());
    EXPECT_EQ(panel->GetRECT(), canvas.GetBounds());
    canvas.ClearCalls();
    panel->Draw(canvas);
    EXPECT_EQ(canvas.calls,
              (std::vector<std::string>{"PathReset", "PathAddMove 0 0", "PathAddLine 400 0",
                                        "PathAddLine 400 300", "PathAddLine 0 300", "PathAddClose",
                                        "PathFillCurrent 255,0,0,255 0 0 b(0,1)"}));
    IPanelControl framed({1, 2, 3, 4}, kColorRed, true);
    canvas.ClearCalls();
    framed.Draw(canvas);
    EXPECT_EQ(canvas.CallsStartingWith("DrawRect"),
              std::vector<std::string>{"DrawRect 255,240,240,240 1,2,3,4 b(0,1) 1"});
}

TEST_F(SmallControls, SvgBackgroundDrawsIntoALayerOncePerSizeAndScale) {
    TempImageFolder images;
    const std::string path = images.AddFile(
        "bg.svg", R"(<svg width="40" height="30"><rect width="40" height="30"/></svg>)");
    canvas.AddBackgroundSVG(path.c_str());
    auto* bg = dynamic_cast<ISVGControl*>(canvas.GetControl(0));
    ASSERT_TRUE(bg);
    EXPECT_EQ(bg->GetRECT(), canvas.GetBounds());
    auto frame = [&] {
        canvas.ClearCalls();
        canvas.MarkAllControlsDirty();
        RunFrame(canvas);
        return std::make_pair(canvas.CallsStartingWith("CreateOffscreenBitmap").size(),
                              canvas.CallsStartingWith("DrawBitmapRegion").size());
    };
    EXPECT_EQ(frame(), std::make_pair(size_t(1), size_t(1)));
    EXPECT_EQ(frame(), std::make_pair(size_t(0), size_t(1)));
    canvas.SetScreenScale(2.f);
    EXPECT_EQ(frame(), std::make_pair(size_t(1), size_t(1)));
    EXPECT_EQ(bg->GetLayer()->bitmap->width, 800);
}

class Box : public IContainerBase {
public:
    Box(std::vector<std::string>& log, const IRECT& r, int nChildren)
        : IContainerBase(
              r,
              [&log, nChildren](IContainerBase* self, const IRECT& b) {
                  log.push_back("attach");
                  for (int i = 0; i < nChildren; ++i)
                      self->AddChildControl(new TestControl(log, "child" + std::to_string(i),
                                                            {b.L, b.T, b.L + 10, b.T + 10}));
              },
              [&log](IContainerBase* self, const IRECT& b) {
                  log.push_back("layout " + std::to_string(int(b.L)));
                  for (int i = 0; i < self->NChildren(); ++i)
                      self->GetChild(i)->SetPosition(b.L + 20.f * float(i), b.T);
              }) {}
};

TEST_F(SmallControls, ContainerBuildsLaysOutHidesAndLetsGo) {
    auto* box = static_cast<Box*>(canvas.AddControl(new Box(log, {100, 100, 200, 200}, 2)));
    EXPECT_EQ(log, (std::vector<std::string>{"attach", "child0 init", "child0 resize",
                                             "child0 rescale", "child0 added", "child1 init",
                                             "child1 resize", "child1 rescale", "child1 added",
                                             "layout 100", "child0 resize", "child1 resize"}));
    ASSERT_EQ(box->NChildren(), 2);
    IControl* c0 = box->GetChild(0);
    IControl* c1 = box->GetChild(1);
    EXPECT_EQ(c1->GetRECT(), (IRECT{120, 100, 130, 110}));
    EXPECT_EQ(c0->GetParent(), box);
    EXPECT_EQ(canvas.GetControlIdx(c1), 2);

    log.clear();
    canvas.SetControlPosition(box, 0, 50);
    EXPECT_EQ(c1->GetRECT(), (IRECT{20, 50, 30, 60}));

    c0->Hide(true);
    box->Hide(true);
    EXPECT_TRUE(c0->IsHidden() && c1->IsHidden() && box->IsHidden());
    box->Hide(false);
    EXPECT_FALSE(c0->IsHidden() || c1->IsHidden() || box->IsHidden());
    box->SetDisabled(true);
    EXPECT_TRUE(c0->IsDisabled() && c1->IsDisabled());
    EXPECT_FLOAT_EQ(box->GetBlend().weight, 0.25f);

    canvas.RemoveControl(c0);
    EXPECT_EQ(box->NChildren(), 1);
    canvas.RemoveControl(box);
    EXPECT_EQ(canvas.GetControlIdx(c1), 0); // the child stays, unparented
    EXPECT_EQ(c1->GetParent(), nullptr);

    log.clear();
    auto* empty = canvas.AddControl(new Box(log, {0, 0, 10, 10}, 0));
    canvas.SetControlSize(empty, 50, 50);
    EXPECT_EQ(log, std::vector<std::string>{"attach"}); // no children: no layout
}

TEST_F(SmallControls, CornerResizerColoursFollowThePointerAndTheDrag) {
    const IColor normal{10, 0, 0, 0}, over{255, 1, 1, 1}, drag{255, 2, 2, 2};
    canvas.AddCornerResizer(20.f, 0, false, normal, over, drag);
    canvas.AddCornerResizer(30.f, 1, true); // a second one is refused
    ICornerResizerControl* r = canvas.GetCornerResizer();
    EXPECT_EQ(r->GetRECT(), (IRECT{380, 280, 400, 300}));
    auto colour = [&] {
        canvas.ClearCalls();
        r->Draw(canvas);
        const std::string call = canvas.CallsStartingWith("FillTriangle").at(0);
        EXPECT_NE(call.find("380 300 400 280 400 300"), std::string::npos) << call;
        return call.substr(std::string("FillTriangle ").size(), call.find(' ', 13) - 13);
    };
    EXPECT_EQ(colour(), "10,0,0,0");
    canvas.OnMouseOver(390, 290, {});
    EXPECT_EQ(colour(), "255,1,1,1");
    canvas.OnMouseDown(At(390, 290));
    canvas.OnMouseOver(100, 100, {}); // pointer leaves while the button is down
    EXPECT_EQ(colour(), "255,2,2,2");
    canvas.OnMouseUp(At(100, 100));
    EXPECT_EQ(colour(), "10,0,0,0");

    // The pointer shape: the resize shape while over, the old one after.
    canvas.SetCursorShape(3);
    canvas.OnMouseOver(390, 290, {});
    canvas.OnMouseOver(100, 100, {});
    EXPECT_EQ(canvas.SetCursorShape(0), 3);
    canvas.OnMouseOver(390, 290, {});
    EXPECT_EQ(canvas.SetCursorShape(5), 5);
}

TEST_F(SmallControls, FrameTimeDisplayKindsAndPlot) {
    canvas.ToggleFrameRateDisplay(true);
    IFPSDisplayControl* fps = canvas.GetFrameRateDisplay();
    ASSERT_TRUE(fps);
    EXPECT_EQ(fps->GetRECT(), (IRECT{10, 10, 210, 60}));
    EXPECT_TRUE(fps->IsDirty());
    for (int i = 0; i < IFPSDisplayControl::kRingSize; ++i)
        fps->AddFrameTime(0.005f);
    struct Case {
        int kind;
        float plotY; // 5 ms frames
        std::vector<std::string> readings;
    };
    const Case cases[] = {
        {0,
         12,
         {"DrawTextString 200.00 FPS 12,12,208,58 18 -",
          "DrawTextString 5.00 ms 12,12,208,58 15 -"}},
        {1, 46.5f, {"DrawTextString 5.00 ms 12,12,208,58 18 -"}},
        {2, 57.998f, {"DrawTextString 0.0 % 12,12,208,58 18 -"}},
        {0,
         12,
         {"DrawTextString 200.00 FPS 12,12,208,58 18 -",
          "DrawTextString 5.00 ms 12,12,208,58 15 -"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fps->GetKind(), c.kind);
        canvas.ClearCalls();
        fps->Draw(canvas);
        std::vector<std::string> lines = canvas.CallsStartingWith("PathAddLine");
        ASSERT_EQ(lines.size(), 107u); // the background and frame take 3 each
        lines.erase(lines.begin(), lines.begin() + 6);
        float x = 0, y = 0;
        std::sscanf(lines[50].c_str(), "PathAddLine %f %f", &x, &y);
        EXPECT_NEAR(y, c.plotY, 0.01) << c.kind;
        EXPECT_EQ(lines.back(), "PathAddLine 210 60");
        std::vector<std::string> texts = canvas.CallsStartingWith("DrawTextString");
        ASSERT_GE(texts.size(), 2u);
        EXPECT_EQ(texts[0], "DrawTextString Recording 12,12,208,58 14 -");
        EXPECT_EQ(texts[1], "DrawTextString Frame Time 12,12,208,58 14 -");
        EXPECT_EQ(std::vector<std::string>(texts.begin() + 2, texts.end()), c.readings);
        canvas.OnMouseDown(At(50, 30)); // the display takes the click and cycles
        canvas.OnMouseUp(At(50, 30));
    }
    // Switched off while a click holds it: the release goes nowhere.
    canvas.OnMouseDown(At(50, 30));
    canvas.ToggleFrameRateDisplay(false);
    EXPECT_EQ(canvas.GetFrameRateDisplay(), nullptr);
    EXPECT_FALSE(canvas.ControlIsCaptured());
    canvas.OnMouseUp(At(50, 30));
}

TEST_F(SmallControls, KeyboardNotesClampTheOctaveAndReleaseHeldNotes) {
    std::vector<std::string> heard;
    canvas.SetQwertyMidiKeyHandlerFunc([&](const IMidiMsg& m) {
        heard.push_back(std::to_string(m.status) + " " + std::to_string(m.data1) + " " +
                        std::to_string(m.data2));
    });
    auto key = [&](char vk, bool up) {
        IKeyPress k;
        k.VK = vk;
        return up ? canvas.OnKeyUp(0, 0, k) : canvas.OnKeyDown(0, 0, k);
    };
    for (int i = 0; i < 6; ++i) // down to the floor of 24 wherever the octave was
        key('Z', false);
    heard.clear();
    struct Step {
        char vk;
        bool up;
        std::vector<std::string> sent;
    };
    const Step steps[] = {
        {'A', false, {"144 24 127"}},
        {'A', false, {}},           // repeat of a held note
        {'Z', false, {"128 24 0"}}, // stays at 24, releases the held note
        {'A', true, {}},            // already released
        {'Z', true, {}},
        {'Q', false, {}}, // not a note key
        {'L', false, {"144 38 127"}},
        {'X', false, {"128 38 0"}},
        {'W', false, {"144 37 127"}},
        {'W', true, {"128 37 0"}},
    };
    for (const Step& s : steps) {
        heard.clear();
        EXPECT_TRUE(key(s.vk, s.up)) << s.vk;
        EXPECT_EQ(heard, s.sent) << s.vk << (s.up ? " up" : " down");
    }
    for (int i = 0; i < 8; ++i)
        key('X', false);
    heard.clear();
    key('K', false);
    EXPECT_EQ(heard, std::vector<std::string>{"144 108 127"}); // 96 + 12
    key('K', true);
    ASSERT_GE(delegate.midi.size(), 2u);
    EXPECT_EQ(delegate.midi.back().status, 0x80); // the delegate hears it first
    EXPECT_EQ(delegate.midi.back().data1, 108);
}

class VectorThing : public IControl, public IVectorBase {
public:
    explicit VectorThing(const IRECT& r) : IControl(r), IVectorBase(kDefaultStyle) {}
    void Draw(ICanvas&) override {}
    void OnAppearanceChanged() override { ++changes; }
    int changes = 0;
};

TEST_F(SmallControls, StyleGoesToVectorControlsOnly) {
    auto* v = static_cast<VectorThing*>(canvas.AddControl(new VectorThing({0, 0, 10, 10})));
    Add("plain", {0, 0, 10, 10});
    canvas.ToggleFrameRateDisplay(true);
    IVStyle style;
    style.roundness = 0.5f;
    style.colors[1] = kColorRed;
    v->changes = 0;
    canvas.ApplyStyleToVectorControls(style);
    EXPECT_EQ(v->changes, 1);
    EXPECT_EQ(v->GetColor(1), kColorRed);
    EXPECT_FLOAT_EQ(v->GetStyle().roundness, 0.5f);
    EXPECT_EQ(canvas.GetFrameRateDisplay()->GetColor(1), kDefaultStyle.colors[1]);
}

TEST_F(SmallControls, GestureRegionsAndControlsTakeGesturesInOrder) {
    std::vector<std::string> got;
    auto region = [&got](const std::string& name) {
        return [&got, name](IControl* c, const IGestureInfo& g) {
            got.push_back(name + (c ? " control" : "") + " " + std::to_string(g.kind));
        };
    };
    canvas.AttachGestureRegion({0, 0, 100, 100}, 1, region("first"));
    canvas.AttachGestureRegion({50, 50, 150, 150}, 1, region("second"));
    canvas.AttachGestureRegion({200, 0, 200, 100}, 2, region("flat"));
    EXPECT_EQ(canvas.GetGestureKinds(), (std::vector<int>{1, 2}));

    TestControl* pad = Add("pad", {60, 60, 90, 90});
    pad->AddGestureHandler(3, [&got](IControl*, const IGestureInfo&) { got.push_back("pad"); });
    EXPECT_EQ(canvas.GetGestureKinds(), (std::vector<int>{1, 2, 3}));

    struct Case {
        float x, y;
        bool animating;
        std::vector<std::string> got;
        bool hit;
    };
    const Case cases[] = {
        {70, 70, false, {"pad"}, true},
        {70, 70, true, {"first 3"}, true}, // an animating control lets it through
        {55, 55, false, {"first 3"}, true},
        {120, 120, false, {"second 3"}, true},
        {200, 50, false, {}, false},
        {300, 300, false, {}, false},
    };
    for (const Case& c : cases) {
        got.clear();
        pad->SetAnimation(c.animating ? IAnimationFunction([](IControl*) {}) : nullptr);
        EXPECT_EQ(canvas.GestureRegionAtPoint(c.x, c.y), c.hit) << c.x;
        canvas.OnGestureRecognized({c.x, c.y, 3});
        EXPECT_EQ(got, c.got) << c.x << "," << c.y;
    }
    canvas.ClearGestureRegions();
    got.clear();
    canvas.OnGestureRecognized({55, 55, 1});
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(canvas.NGestureRegions(), 0);
    EXPECT_EQ(canvas.GetGestureKinds().size(), 3u);
}

} // namespace
