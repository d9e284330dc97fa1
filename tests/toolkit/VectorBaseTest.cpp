#include "tests/support/ToolkitTest.h"

#include "toolkit/IVectorBase.h"

namespace {

using namespace vx::ui;
using vx::test::TestClock;
using vx::test::ToolkitTest;

// A vector control that lays itself out on resize and draws nothing.
class VControl : public IControl, public IVectorBase {
public:
    VControl(const IRECT& bounds, const IVStyle& style, bool labelInWidget = false,
             bool valueInWidget = false)
        : IControl(bounds), IVectorBase(style, labelInWidget, valueInWidget) {
        AttachIControl(this);
    }
    void Draw(ICanvas&) override {}
    void OnResize() override { SetTargetRECT(LayoutRects(GetRECT())); }
};

void ExpectNear(const IRECT& actual, const IRECT& expected, const char* what) {
    EXPECT_NEAR(actual.L, expected.L, 1e-4) << what;
    EXPECT_NEAR(actual.T, expected.T, 1e-4) << what;
    EXPECT_NEAR(actual.R, expected.R, 1e-4) << what;
    EXPECT_NEAR(actual.B, expected.B, 1e-4) << what;
}

class VectorBase : public ToolkitTest {
protected:
    // Label "Ab" at size 19 measures 19 x 19; value "12" at 14 measures 14 x 14.
    VControl* Make(const IVStyle& style, const char* label = "Ab", const char* value = "12",
                   bool labelInWidget = false, bool valueInWidget = false) {
        auto* c = new VControl({0, 0, 100, 100}, style, labelInWidget, valueInWidget);
        c->SetLabelStr(label);
        c->SetValueStr(value);
        canvas.AddControl(c);
        return c;
    }
};

TEST_F(VectorBase, LayoutPerLabelSide) {
    struct Case {
        int position;
        IRECT label, clickable;
    };
    const Case cases[] = {
        {0, {40.5f, 0, 59.5f, 19}, {0, 19, 100, 100}},
        {1, {81, 40.5f, 100, 59.5f}, {0, 0, 81, 100}},
        {2, {40.5f, 81, 59.5f, 100}, {0, 0, 100, 81}},
        {3, {0, 40.5f, 19, 59.5f}, {19, 0, 100, 100}},
        {7, {0, 0, 0, 0}, {0, 0, 100, 100}}, // unknown side: no label area
    };
    for (const Case& c : cases) {
        IVStyle style;
        style.labelPosition = c.position;
        style.showValue = false;
        VControl* v = Make(style);
        ExpectNear(v->GetLabelBounds(), c.label, "label");
        ExpectNear(v->GetTargetRECT(), c.clickable, "clickable");
        ExpectNear(v->GetWidgetBounds(), c.clickable, "widget");
    }
}

TEST_F(VectorBase, LayoutPerValueAlignment) {
    const float vw = 14.f * 0.66f;
    struct Case {
        int vAlign;
        IRECT value, widget; // widgetFrac 0.5
    };
    const Case cases[] = {
        {0, {50 - vw, 0, 50 + vw, 14}, IRECT(0, 14, 100, 100).GetScaledAboutCentre(0.5f)},
        {1, {50 - vw, 43, 50 + vw, 57}, {25, 25, 75, 75}},
        {2, {50 - vw, 86, 50 + vw, 100}, IRECT(0, 0, 100, 86).GetScaledAboutCentre(0.5f)},
        {5, {0, 0, 0, 0}, {0, 0, 0, 0}}, // unknown alignment: both left as they were
    };
    for (const Case& c : cases) {
        IVStyle style;
        style.showLabel = false;
        style.widgetFrac = 0.5f;
        style.valueText.vAlign = c.vAlign;
        VControl* v = Make(style);
        ExpectNear(v->GetValueBounds(), c.value, "value");
        ExpectNear(v->GetWidgetBounds(), c.widget, "widget");
    }
}

TEST_F(VectorBase, LayoutEdgeCases) {
    IVStyle style;
    style.valueText.vAlign = 2;
    VControl* empty = Make(style, "", "");
    EXPECT_TRUE(empty->GetLabelBounds().Empty());
    EXPECT_EQ(empty->GetTargetRECT(), (IRECT{0, 0, 100, 100}));
    EXPECT_EQ(empty->GetValueBounds().H(), 0.f);
    EXPECT_EQ(empty->GetWidgetBounds(), (IRECT{0, 0, 100, 100}));

    IVStyle flat;
    flat.labelText.size = 0.f; // measures 0 x 0: a 1 x 1 square
    flat.showValue = false;
    VControl* tiny = Make(flat);
    ExpectNear(tiny->GetLabelBounds(), {49.5f, -0.5f, 50.5f, 0.5f}, "square label");

    VControl* inWidget = Make(IVStyle(), "Ab", "12", true, true);
    EXPECT_EQ(inWidget->GetLabelBounds(), inWidget->GetWidgetBounds());
    EXPECT_EQ(inWidget->GetValueBounds(), inWidget->GetWidgetBounds());

    VControl* handle = Make(IVStyle(), "", "");
    handle->SetRECT({0, 0, 100, 50});
    EXPECT_EQ(handle->HandleArea({0, 0, 100, 50}), (IRECT{3.5f, 0.5f, 96.5f, 46.5f}));
    handle->LayoutRects({0, 0, 100, 50}, true);
    EXPECT_EQ(handle->GetWidgetBounds(), (IRECT{3.5f, 0.5f, 96.5f, 46.5f}));
}

TEST_F(VectorBase, ContrastAdjustsColourChannelsOnly) {
    EXPECT_EQ(IColor(255, 200, 200, 200).WithContrast(-0.25f), IColor(255, 137, 137, 137));
    EXPECT_EQ(IColor(128, 40, 100, 255).WithContrast(-0.25f), IColor(128, 0, 37, 192));
    EXPECT_EQ(IColor(10, 250, 0, 0).WithContrast(0.1f), IColor(10, 255, 25, 25));
}

TEST_F(VectorBase, ColourSetFillsMissingEntriesWithDefaults) {
    const IVColorSet set{kColorRed, kColorBlue};
    EXPECT_EQ(set[0], kColorRed);
    EXPECT_EQ(set[1], kColorBlue);
    EXPECT_EQ(set[2], kColorLightGray);
    EXPECT_EQ(set[8], kColorBlue);
    EXPECT_EQ(IVColorSet{}, kDefaultColorSet);
}

struct DrawerCase {
    const char* name;
    EVShape shape;
    bool pressed, mouseOver, disabled, emboss, splash;
    std::vector<std::string> calls;
};

TEST_F(VectorBase, PushableShapeDrawerCalls) {
    // r = (0, 0, 100, 50): handle (3.5, 0.5, 96.5, 46.5), centre shrunk by 3,
    // shadow moved by 3; owner blend b(0,1).
    const std::string H = "3.5,0.5,96.5,46.5", SH = "6.5,3.5,99.5,49.5", C = "6.5,3.5,93.5,43.5",
                      PF = "6.5,3.5,96.5,46.5";
    const std::string frame = "DrawRoundRectCorners 255,70,70,70 " + H + " 0 0 0 0 b(0,1) 1";
    auto rr = [](const std::string& colour, const std::string& r, const std::string& blend) {
        return "FillRoundRectCorners " + colour + " " + r + " 0 0 0 0 " + blend;
    };
    const std::string tri = "3.5 46.5 50 0.5 96.5 46.5";
    const std::string triFrame = "DrawTriangle 255,70,70,70 " + tri + " b(0,1) 1";
    const std::string ell = "0,0,100,50";
    const std::string ellFrame = "DrawEllipse 255,70,70,70 " + ell + " b(0,1) 1";
    const std::string splash = "FillCircle 10,0,0,0 30 20 0 -";

    const DrawerCase cases[] = {
        {"rect up",
         EVShape::Rectangle,
         false,
         false,
         false,
         false,
         false,
         {rr("60,0,0,0", SH, "b(0,1)"), rr("255,200,200,200", H, "-"), frame}},
        {"rect up hover",
         EVShape::AllRounded,
         false,
         true,
         false,
         false,
         false,
         {rr("60,0,0,0", SH, "b(0,1)"), rr("255,200,200,200", H, "-"), rr("10,0,0,0", H, "b(0,1)"),
          frame}},
        {"rect down",
         EVShape::Rectangle,
         true,
         true,
         false,
         false,
         false,
         {rr("255,240,240,240", H, "-"), frame}},
        {"rect down disabled",
         EVShape::Rectangle,
         true,
         false,
         true,
         false,
         false,
         {rr("255,177,177,177", H, "-"), frame}},
        {"rect down splash",
         EVShape::Rectangle,
         true,
         false,
         false,
         false,
         true,
         {rr("255,240,240,240", H, "-"), splash, frame}},
        {"rect up emboss disabled",
         EVShape::Rectangle,
         false,
         false,
         true,
         true,
         false,
         {rr("60,0,0,0", SH, "b(0,1)"), rr("255,177,177,177", H, "-"), rr("60,0,0,0", SH, "-"),
          rr("255,137,137,137", C, "-"), frame}},
        {"rect down emboss",
         EVShape::Rectangle,
         true,
         false,
         false,
         true,
         false,
         {rr("255,240,240,240", H, "b(0,1)"), rr("60,0,0,0", H, "b(0,1)"),
          rr("255,200,200,200", PF, "-"), rr("255,240,240,240", C, "b(0,1)"), frame}},
        {"ellipse up",
         EVShape::Ellipse,
         false,
         false,
         false,
         false,
         false,
         {"FillEllipse 60,0,0,0 3,3,103,53 -", "FillEllipse 255,200,200,200 " + ell + " -",
          ellFrame}},
        {"ellipse up disabled",
         EVShape::Ellipse,
         false,
         true,
         true,
         false,
         false,
         {"FillEllipse 255,137,137,137 " + ell + " -", "FillEllipse 10,0,0,0 " + ell + " b(0,1)",
          ellFrame}},
        {"ellipse down emboss",
         EVShape::Ellipse,
         true,
         false,
         false,
         true,
         false,
         {"FillEllipse 255,240,240,240 " + ell + " b(0,1)",
          "FillEllipse 60,0,0,0 " + ell + " b(0,1)", "FillEllipse 255,200,200,200 3,3,100,50 -",
          "FillEllipse 255,240,240,240 3,3,97,47 -", ellFrame}},
        {"triangle up",
         EVShape::Triangle,
         false,
         false,
         false,
         false,
         false,
         {"FillTriangle 60,0,0,0 6.5 49.5 53 3.5 99.5 49.5 b(0,1)",
          "FillTriangle 255,200,200,200 " + tri + " -", triFrame}},
        {"triangle down hover",
         EVShape::Triangle,
         true,
         true,
         false,
         true,
         false,
         {"FillTriangle 255,240,240,240 " + tri + " -", "FillTriangle 10,0,0,0 " + tri + " b(0,1)",
          triFrame}},
    };
    for (const DrawerCase& c : cases) {
        IVStyle style;
        style.emboss = c.emboss;
        VControl* v = Make(style, "", "");
        v->SetSplashPoint(30, 20);
        if (c.splash)
            v->SetAnimation([](IControl*) {});
        canvas.ClearCalls();
        v->DrawPushableShape(canvas, c.shape, {0, 0, 100, 50}, c.pressed, c.mouseOver, c.disabled);
        std::vector<std::string> primitives;
        for (const std::string& call : canvas.calls)
            if (call.rfind("Fill", 0) == 0 || call.rfind("Draw", 0) == 0)
                primitives.push_back(call);
        EXPECT_EQ(primitives, c.calls) << c.name;
    }
}

TEST_F(VectorBase, TopRoundedShapeKeepsBottomCornersSquare) {
    IVStyle style;
    style.roundness = 1.f;
    style.drawShadows = false;
    VControl* v = Make(style, "", "");
    canvas.ClearCalls();
    v->DrawPushableShape(canvas, EVShape::EndsRounded, {0, 0, 100, 50}, false, false, false);
    EXPECT_EQ(canvas.CallsStartingWith("FillRoundRectCorners"),
              std::vector<std::string>{
                  "FillRoundRectCorners 255,200,200,200 0.5,0.5,99.5,49.5 24.5 24.5 0 0 -"});
}

TEST_F(VectorBase, SplashFollowsTheClickAndGrowsWithTheAnimation) {
    TestClock clock;
    VControl* v = Make(IVStyle(), "", "");
    canvas.OnMouseDown(At(30, 20));
    IControl::splashClickAction(v);
    clock.Advance(50);
    v->Animate();
    EXPECT_FLOAT_EQ(v->GetSplashRadius(), 25.f);
    canvas.ClearCalls();
    v->DrawSplash(canvas, {0, 0, 100, 50});
    EXPECT_EQ(canvas.CallsStartingWith("FillCircle"),
              std::vector<std::string>{"FillCircle 10,0,0,0 30 20 25 -"});
    EXPECT_EQ(canvas.CallsStartingWith("SetClipRect").size(), 2u);
    clock.Advance(60);
    v->Animate();
    EXPECT_FALSE(v->GetAnimationFunction());
}

TEST_F(VectorBase, LabelValueAndBackgroundDrawers) {
    IVStyle style;
    style.valueText.vAlign = 1;
    VControl* v = Make(style);
    canvas.ClearCalls();
    v->DrawBackground(canvas, {0, 0, 10, 10});
    v->DrawLabel(canvas);
    v->DrawValue(canvas, true);
    const IRECT vb = v->GetValueBounds();
    EXPECT_EQ(canvas.CallsStartingWith("FillRect"),
              (std::vector<std::string>{"FillRect 0,0,0,0 0,0,10,10 b(0,1)",
                                        "FillRect 10,0,0,0 " + vx::test::RecordingCanvas::Str(vb) +
                                            " -"}));
    EXPECT_EQ(canvas.CallsStartingWith("DrawTextString").size(), 2u);
    style.showLabel = false;
    style.showValue = false;
    v->SetStyle(style);
    canvas.ClearCalls();
    v->DrawLabel(canvas);
    v->DrawValue(canvas, false);
    EXPECT_TRUE(canvas.calls.empty());
}

} // namespace
