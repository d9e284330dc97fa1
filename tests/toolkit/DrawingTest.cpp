#include "tests/support/ToolkitTest.h"
#include "toolkit/IBitmapControl.h"

#include <algorithm>
#include <memory>

#include <algorithm>
#include <functional>

namespace {

using namespace vx::ui;
using vx::test::RecordingCanvas;
using vx::test::RunFrame;
using vx::test::TestClock;
using vx::test::TestControl;
using vx::test::ToolkitTest;

class Drawing : public ToolkitTest {};

// Notes its draw into the canvas log too, so clips can be paired with draws.
class ClipProbe : public TestControl {
public:
    using TestControl::TestControl;
    void Draw(ICanvas& g) override {
        TestControl::Draw(g);
        static_cast<RecordingCanvas&>(g).Record("ControlDrawn");
    }
};

TEST_F(Drawing, DirtyRectIsTheDrawRectGrownAndFrameOrderIsKept) {
    Add("a", {10, 10, 20, 20});
    IRECTList rects;
    ASSERT_TRUE(canvas.IsDirty(rects));
    ASSERT_EQ(rects.Size(), 1);
    EXPECT_EQ(rects.Get(0), (IRECT{9.25f, 9.25f, 20.75f, 20.75f}));
    canvas.ClearCalls();
    ASSERT_TRUE(RunFrame(canvas, rects));
    EXPECT_EQ(canvas.calls.front(), "BeginContextUse");
    EXPECT_EQ(canvas.calls[1], "StartDrawFrame");
    EXPECT_EQ(canvas.calls.back(), "EndContextUse");
    EXPECT_FALSE(RunFrame(canvas)); // clean now: no frame begun
}

TEST_F(Drawing, EachControlDrawIsPrecededByTransformResetAndClip) {
    Add("a", {10, 10, 20, 20});
    canvas.ClearCalls();
    RunFrame(canvas);
    const std::vector<std::string> expected = {"PathSetTransform 1 0 0 1 0 0", "PathReset",
                                               "SetClipRect 9,9,21,21"};
    ASSERT_GE(canvas.calls.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(canvas.calls.begin() + 2, canvas.calls.begin() + 5),
              expected);
}

TEST_F(Drawing, SnapsOutwardAtTheTotalScale) {
    RecordingCanvas half(delegate, 400, 300, 0.5f);
    half.AddControl(new TestControl(log, "a", {10.2f, 10.2f, 20.6f, 20.6f}));
    half.ClearCalls();
    RunFrame(half);
    // 9.45..21.35 at scale 0.5 snaps to whole 2-unit steps: 8..22
    EXPECT_EQ(half.CallsStartingWith("SetClipRect"),
              (std::vector<std::string>{"SetClipRect 8,8,22,22"}));
}

TEST_F(Drawing, UnionModeDrawsOnceOverEveryDirtyArea) {
    Add("a", {0, 0, 10, 10});
    Add("b", {50, 50, 60, 60});
    canvas.SetDrawUnionOfDirtyRects(true);
    canvas.ClearCalls();
    log.clear();
    RunFrame(canvas);
    EXPECT_EQ(canvas.CallsStartingWith("SetClipRect"),
              (std::vector<std::string>{"SetClipRect -1,-1,11,11", "SetClipRect 49,49,61,61"}));
    EXPECT_EQ(Events("draw").size(), 2u);
    canvas.SetDrawUnionOfDirtyRects(false);
    log.clear();
    RunFrame(canvas);
    EXPECT_EQ(Events("draw").size(), 2u); // separate rectangles: each control once
}

TEST_F(Drawing, HiddenBackgroundIsStillDrawnOtherHiddenControlsAreNot) {
    TestControl* bg = Add("bg", {0, 0, 400, 300});
    TestControl* c = Add("c", {10, 10, 20, 20});
    bg->Hide(true);
    c->Hide(true);
    log.clear();
    RunFrame(canvas);
    EXPECT_EQ(Events("draw"), (std::vector<std::string>{"bg draw"}));
}

TEST_F(Drawing, ChildIsClippedToItsParentWithinTheDirtyRect) {
    TestControl* parent = Add("parent", {0, 0, 100, 100});
    canvas.MarkAllControlsClean();
    TestControl* child = static_cast<TestControl*>(
        canvas.AddControl(new ClipProbe(log, "child", {-10, 10, 20, 20})));
    child->SetParent(parent);
    canvas.ClearCalls();
    canvas.Draw({-20, 10, 5, 20}, 1.f);
    // Inside both the dirty rectangle (to x 5) and the parent (from x -1).
    EXPECT_EQ(canvas.CallsStartingWith("SetClipRect").back(), "SetClipRect -1,10,5,20");
    (void)parent;
}

TEST_F(Drawing, ChildDirtyRectStaysInsideItsAncestors) {
    TestControl* outer = Add("outer", {0, 0, 50, 50});
    TestControl* inner = Add("inner", {10, 10, 40, 40});
    TestControl* child = Add("child", {30, 30, 80, 80});
    inner->SetParent(outer);
    child->SetParent(inner);
    canvas.MarkAllControlsClean();
    child->SetDirty(false, -1);
    IRECTList rects;
    ASSERT_TRUE(canvas.IsDirty(rects));
    EXPECT_EQ(rects.Get(0), (IRECT{29.25f, 29.25f, 40.75f, 40.75f}));
}

// Counts how often a frame tick asks it whether it is dirty.
class CountingControl : public TestControl {
public:
    using TestControl::TestControl;
    bool IsDirty() override {
        ++asked;
        return TestControl::IsDirty();
    }
    int asked = 0;
};

// Idle ticks come 60 times a second: once a walk has found every control
// clean, they ask none until one becomes dirty again, and whatever made it
// dirty is still drawn on the next tick.
TEST_F(Drawing, IdleTicksWalkNoControlAndEveryWayOfBecomingDirtyIsDrawn) {
    struct Case {
        const char* how;
        std::function<void(CountingControl*)> makeDirty;
        const char* drawn;
    };
    const Case cases[] = {
        {"SetDirty", [](CountingControl* c) { c->SetDirty(false, -1); }, "c draw"},
        {"a value set by the program",
         [](CountingControl* c) { c->SetValueFromEditorSide(0.5, 0); }, "c draw"},
        {"an animation",
         [](CountingControl* c) {
             c->SetAnimation([](IControl* self) { self->OnAnimationFinished(); });
         },
         "c draw"},
        {"a control added",
         [this](CountingControl*) {
             Add("new", {30, 30, 40, 40});
         },
         "new draw"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.how);
        canvas.RemoveAllControls();
        auto* c = static_cast<CountingControl*>(
            canvas.AddControl(new CountingControl(log, "c", {0, 0, 10, 10})));
        ASSERT_TRUE(RunFrame(canvas));
        EXPECT_FALSE(RunFrame(canvas)); // the tick after a frame looks once more
        c->asked = 0;
        for (int tick = 0; tick < 3; ++tick)
            EXPECT_FALSE(RunFrame(canvas));
        EXPECT_EQ(c->asked, 0);
        log.clear();
        k.makeDirty(c);
        EXPECT_TRUE(RunFrame(canvas));
        const auto draws = Events("draw");
        EXPECT_NE(std::find(draws.begin(), draws.end(), k.drawn), draws.end());
    }
}

TEST_F(Drawing, FrameTimeDisplayGetsOneSamplePerFrame) {
    class Fps : public IFPSDisplayControl {
    public:
        using IFPSDisplayControl::IFPSDisplayControl;
        void Draw(ICanvas&) override {}
    };
    TestClock clock(0.0);
    Add("a", {0, 0, 10, 10});
    auto* fps = new Fps(IRECT{10, 10, 210, 60});
    canvas.AttachFrameRateDisplay(fps);
    RunFrame(canvas);
    for (int frame = 0; frame < 3; ++frame) {
        clock.Advance(16);
        canvas.MarkAllControlsDirty();
        RunFrame(canvas);
        EXPECT_FLOAT_EQ(fps->FrameTime(fps->NewestIndex()), 0.016f);
    }
    EXPECT_EQ(fps->NewestIndex(), 4);
    canvas.ToggleFrameRateDisplay(false);
    EXPECT_EQ(canvas.GetFrameRateDisplay(), nullptr);
}

TEST_F(Drawing, BitmapFrameTable) {
    IBitmapHandle strip(RecordingCanvas::MakeBitmap(300, 100), "strip", 3, true);
    IBitmapHandle column(RecordingCanvas::MakeBitmap(50, 200), "column", 4, false);
    struct Case {
        const IBitmapHandle* bitmap;
        int frame;
        const char* expected;
    };
    const Case cases[] = {
        {&strip, 1, "DrawBitmapRegion strip 0,0,1,1 0 0 -"},
        {&strip, 2, "DrawBitmapRegion strip 0,0,1,1 100 0 -"},
        {&strip, 3, "DrawBitmapRegion strip 0,0,1,1 200 0 -"},
        {&strip, 9, "DrawBitmapRegion strip 0,0,1,1 200 0 -"},
        {&strip, 0, "DrawBitmapRegion strip 0,0,1,1 0 0 -"},
        {&column, 4, "DrawBitmapRegion column 0,0,1,1 0 150 -"},
    };
    for (const Case& c : cases) {
        canvas.ClearCalls();
        canvas.DrawBitmapFrame(*c.bitmap, {0, 0, 1, 1}, c.frame);
        EXPECT_EQ(canvas.calls, std::vector<std::string>{c.expected}) << c.frame;
    }
    delete strip.bitmap;
    delete column.bitmap;
}

// A control wholly under a later opaque image, within its clip, is left out;
// any doubt (alpha, weight, order, a pixel short, a scale whose edge pixels may
// let the colour under them through) keeps it drawn.
TEST_F(Drawing, AControlHiddenByALaterOpaqueImageIsNotDrawn) {
    struct Case {
        const char* name;
        float scale;
        IRECT under;
        float imageX, imageY;
        int imageW, imageH;
        bool opaque = true;
        bool disabled = false;   // drawn at a quarter weight
        bool imageFirst = false; // added before the control under it
        bool hidden = false;
        bool drawn = false;
    };
    const Case cases[] = {
        {"inside", 1.f, {50, 50, 100, 100}, 0, 0, 400, 300},
        {"whole window, its margin past the edges", 1.f, {0, 0, 400, 300}, 0, 0, 400, 300},
        {"translucent pixels",
         1.f,
         {50, 50, 100, 100},
         0,
         0,
         400,
         300,
         false,
         false,
         false,
         false,
         true},
        {"disabled image", 1.f, {50, 50, 100, 100}, 0, 0, 400, 300, true, true, false, false, true},
        {"image drawn first",
         1.f,
         {50, 50, 100, 100},
         0,
         0,
         400,
         300,
         true,
         false,
         true,
         false,
         true},
        {"hidden image", 1.f, {50, 50, 100, 100}, 0, 0, 400, 300, true, false, false, true, true},
        {"margin a pixel past the image",
         1.f,
         {50.5f, 50.5f, 100, 100},
         50,
         50,
         100,
         100,
         true,
         false,
         false,
         false,
         true},
        {"margin inside the image", 1.f, {51, 51, 100, 100}, 50, 50, 100, 100},
        {"scale 2, half-unit image edge", 2.f, {51.25f, 51.25f, 100, 100}, 50.5f, 50.5f, 100, 100},
        {"scale 2, margin a device pixel past it",
         2.f,
         {51.f, 51.f, 100, 100},
         50.5f,
         50.5f,
         100,
         100,
         true,
         false,
         false,
         false,
         true},
        {"scale 1.5 inside", 1.5f, {50, 50, 100, 100}, 0, 0, 400, 300},
        {"scale 1.5 whole window: the edge pixels count as seen",
         1.5f,
         {0, 0, 400, 300},
         0,
         0,
         400,
         300,
         true,
         false,
         false,
         false,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<APIBitmap> pixels(RecordingCanvas::MakeBitmap(c.imageW, c.imageH));
        pixels->opaque = c.opaque;
        const IBitmapHandle image(pixels.get(), "image", 1, false);
        std::vector<std::string> events; // outlives the canvas, which deletes its controls
        RecordingCanvas g(delegate, 400, 300, c.scale);
        const auto addImage = [&] {
            IControl* control = g.AddControl(new IBitmapControl(c.imageX, c.imageY, image));
            control->SetDisabled(c.disabled);
            control->Hide(c.hidden);
        };
        if (c.imageFirst)
            addImage();
        g.AddControl(new TestControl(events, "under", c.under));
        if (!c.imageFirst)
            addImage();
        const auto draws = [&events] {
            return std::count(events.begin(), events.end(), "under draw");
        };
        RunFrame(g);
        EXPECT_EQ(draws(), c.drawn ? 1 : 0);
        EXPECT_EQ(g.SkippedDraws(), c.drawn ? 0 : 1);

        // The same frame with the skipping off draws it.
        g.SetSkipHiddenControls(false);
        events.clear();
        g.MarkAllControlsDirty();
        RunFrame(g);
        EXPECT_EQ(draws(), 1);
        events.clear();
    }
}

// The background panel under the whole-window background image costs nothing.
TEST_F(Drawing, TheBackgroundPanelUnderAnOpaqueBackgroundImageIsNotFilled) {
    const std::unique_ptr<APIBitmap> pixels(RecordingCanvas::MakeBitmap(400, 300));
    pixels->opaque = true;
    canvas.AddBackgroundPanel(kColorBlue);
    canvas.AddControl(new IBitmapControl(0, 0, IBitmapHandle(pixels.get(), "bg", 1, false)));
    canvas.ClearCalls();
    RunFrame(canvas);
    EXPECT_TRUE(canvas.CallsStartingWith("PathFillCurrent").empty());
    EXPECT_EQ(canvas.CallsStartingWith("DrawBitmapRegion").size(), 1u);
}

TEST_F(Drawing, BitmapTextTable) {
    // 96 cells of 10 x 10 stacked: cell c - 31 for character c.
    IBitmapHandle font(RecordingCanvas::MakeBitmap(10, 960), "font", 96, false);
    struct Case {
        const char* text;
        int align;
        bool vCentre, wrap;
        IRECT bounds;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"AB",
         0,
         false,
         false,
         {0, 0, 100, 20},
         {"DrawBitmapRegion font 0,0,10,10 0 330 -", "DrawBitmapRegion font 12,0,22,10 0 340 -"}},
        {"A", 2, false, false, {0, 0, 100, 20}, {"DrawBitmapRegion font 88,0,98,10 0 330 -"}},
        {"A", 1, true, false, {0, 0, 100, 20}, {"DrawBitmapRegion font 44,5,54,15 0 330 -"}},
        {"\x01", 0, false, false, {0, 0, 100, 20}, {"DrawBitmapRegion font 0,0,10,10 0 0 -"}},
        {"ABC",
         0,
         false,
         true,
         {0, 0, 20, 40},
         {"DrawBitmapRegion font 0,0,10,10 0 330 -", "DrawBitmapRegion font 12,0,22,10 0 340 -",
          "DrawBitmapRegion font 0,10,10,20 0 350 -"}},
        {"ABC",
         0,
         false,
         false,
         {0, 0, 20, 40},
         {"DrawBitmapRegion font 0,0,10,10 0 330 -", "DrawBitmapRegion font 12,0,22,10 0 340 -"}},
    };
    for (const Case& c : cases) {
        canvas.ClearCalls();
        IText text;
        text.align = c.align;
        canvas.DrawBitmapText(font, c.bounds, text, nullptr, c.text, c.vCentre, c.wrap, 10, 10, 2);
        EXPECT_EQ(canvas.calls, c.expected) << c.text << " align " << c.align;
    }
    delete font.bitmap;
}

TEST_F(Drawing, LineHelperTable) {
    const IRECT r{0, 0, 100, 50};
    const IColor k = kColorBlack;
    struct Case {
        std::function<void()> draw;
        const char* expected;
    };
    const Case cases[] = {
        {[&] { canvas.DrawHorizontalLine(k, r, 0.25f); }, "DrawLine 255,0,0,0 0 37.5 100 37.5 - 1"},
        {[&] { canvas.DrawHorizontalLine(k, r, 2.f); }, "DrawLine 255,0,0,0 0 0 100 0 - 1"},
        {[&] { canvas.DrawVerticalLine(k, r, 0.337f); }, "DrawLine 255,0,0,0 33 0 33 50 - 1"},
        {[&] { canvas.DrawVerticalLineAt(k, 7, 1, 9); }, "DrawLine 255,0,0,0 7 1 7 9 - 1"},
        {[&] { canvas.DrawHorizontalLineAt(k, 7, 1, 9); }, "DrawLine 255,0,0,0 1 7 9 7 - 1"},
        {[&] { canvas.DrawLineAcross(k, r, EDirection::Vertical, 0.5f); },
         "DrawLine 255,0,0,0 0 25 100 25 - 1"},
        {[&] { canvas.DrawLineAcross(k, r, EDirection::Horizontal, 0.555f); },
         "DrawLine 255,0,0,0 55 0 55 50 - 1"},
        {[&] { canvas.DrawRadialLine(k, 50, 50, 90, 10, 20, nullptr, 2); },
         "DrawLine 255,0,0,0 60 50 70 50 - 2"},
    };
    for (const Case& c : cases) {
        canvas.ClearCalls();
        c.draw();
        ASSERT_FALSE(canvas.calls.empty());
        EXPECT_EQ(canvas.calls.front(), c.expected);
    }
}

TEST_F(Drawing, TextHelpersSkipEmptyStrings) {
    IRECT bounds{1, 2, 3, 4};
    canvas.ClearCalls();
    canvas.DrawText(IText(), "", bounds);
    canvas.DrawText(IText(), nullptr, bounds);
    EXPECT_EQ(canvas.MeasureText(IText(), "", bounds), 0.f);
    EXPECT_TRUE(canvas.calls.empty());
    canvas.DrawTextAt(IText(), "hi", 5, 6);
    EXPECT_EQ(canvas.calls, std::vector<std::string>{"DrawTextString hi 5,6,5,6 14 -"});
}

// The recording context measures half the text size per byte.
TEST_F(Drawing, TextWiderThanItsBoxShrinksThenEndsInAnEllipsis) {
    const struct {
        const char* str;
        int width;
        float angle;
        const char* shown;
        int size;
    } cases[] = {
        {"ABCD", 40, 0, "ABCD", 20},                  // fits exactly: as it is
        {"ABCDEFGH", 64, 0, "ABCDEFGH", 16},          // shrinks to fit
        {"ABCDEFGHIJ", 40, 0, "ABC\xE2\x80\xA6", 12}, // not below 12: cut
        {"\xC3\x84\xC3\x84\xC3\x84\xC3\x84", 40, 0, "\xC3\x84\xE2\x80\xA6", 12}, // whole letters
        {"ABCDEFGH", 10, 0, "\xE2\x80\xA6", 12}, // the ellipsis alone at worst
        {"ABCDEFGH", 64, 90, "ABCDEFGH", 20},    // rotated text is left alone
        {"ABCDEFGH", 0, 0, "ABCDEFGH", 20},      // a point has no width to fit
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.str);
        IText text(20.f, {255, 0, 0, 0}, 0, 1);
        text.angle = c.angle;
        canvas.ClearCalls();
        canvas.DrawText(text, c.str, IRECT(10.f, 0.f, 10.f + float(c.width), 30.f));
        const std::string expected = std::string("DrawTextString ") + c.shown + " 10,0," +
                                     std::to_string(10 + c.width) + ",30 " +
                                     std::to_string(c.size) + " -";
        EXPECT_EQ(canvas.calls, std::vector<std::string>{expected});
    }
}

} // namespace
