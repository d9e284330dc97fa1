#include "controls/ITextControl.h"
#include "tests/controls/ControlsTest.h"

#include <cstring>

namespace vx::test {
namespace {

using ui::IColor;
using ui::IRECT;
using ui::IText;

class TextControlsTest : public ControlsTest {
protected:
    bool DrewText(const std::string& text) const {
        for (const std::string& call : canvas.CallsStartingWith("DrawTextString"))
            if (call.rfind("DrawTextString " + text + " ", 0) == 0)
                return true;
        return false;
    }
};

TEST_F(TextControlsTest, FittedLabelResizesAboutItsCentreOnlyForNewText) {
    auto* label = Attach(new ui::ITextControl({100, 100, 200, 120}, "abcd", IText(), {}, true));
    EXPECT_EQ(label->GetRECT(), IRECT(136, 103, 164, 117)) << "fitted on attach";
    struct Case {
        const char* text;
        IRECT rect;
        bool dirty;
    };
    const Case cases[] = {
        {"abcd", {136, 103, 164, 117}, false},
        {"abcdefgh", {122, 103, 178, 117}, true},
        {"ab", {143, 103, 157, 117}, true},
    };
    for (const Case& c : cases) {
        label->SetClean();
        label->SetString(c.text);
        EXPECT_EQ(label->GetRECT(), c.rect) << c.text;
        EXPECT_EQ(label->GetTargetRECT(), c.rect) << c.text;
        EXPECT_EQ(label->IsDirty(), c.dirty) << c.text;
    }
}

TEST_F(TextControlsTest, FormattedTextIsCutToTheMaximum) {
    ui::ITextControl label({0, 0, 50, 20});
    struct Case {
        int max;
        const char* shown;
    };
    for (const Case& c : {Case{4, "0123"}, Case{10, "0123456789"}, Case{32, "0123456789"},
                          Case{0, ""}, Case{-3, ""}}) {
        label.SetString("old");
        label.SetClean();
        label.SetStringFormatted(c.max, "%s%d", "01234", 56789);
        EXPECT_STREQ(label.GetString(), c.shown) << "max " << c.max;
        EXPECT_TRUE(label.IsDirty());
    }
}

TEST_F(TextControlsTest, CaptionTriangleOnlyForEnumeratedParameters) {
    const int mode = AddFourEnum();
    IText right;
    right.align = 2;
    auto* enumCaption = Attach(new ui::ICaptionControl({0, 0, 100, 20}, mode, IText(), {}, false));
    auto* leftEnd = Attach(new ui::ICaptionControl({0, 40, 100, 60}, mode, right, {}, false));
    auto* plain = Attach(new ui::ICaptionControl({0, 80, 100, 100}, FakeDelegate::kGain));
    const float h = 14.f * 0.33f;
    EXPECT_EQ(enumCaption->GetTriangleRECT(), IRECT(89.5f, 10.f - h / 2, 96.5f, 10.f + h / 2));
    EXPECT_EQ(leftEnd->GetTriangleRECT(), IRECT(3.5f, 50.f - h / 2, 10.5f, 50.f + h / 2));
    EXPECT_TRUE(plain->GetTriangleRECT().Empty());
    canvas.ClearCalls();
    RunFrame(canvas);
    const auto triangles = canvas.CallsStartingWith("FillTriangle");
    ASSERT_EQ(triangles.size(), 2u);
    EXPECT_NE(triangles[0].find("b(0,0.5)"), std::string::npos) << triangles[0];
    // The value keeps clear of the triangle's strip, on either side; without
    // a triangle it has the whole box.
    const auto texts = canvas.CallsStartingWith("DrawTextString");
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_NE(texts[0].find(" 0,0,86,20 "), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find(" 14,40,100,60 "), std::string::npos) << texts[1];
    EXPECT_NE(texts[2].find(" 0,80,100,100 "), std::string::npos) << texts[2];
}

TEST_F(TextControlsTest, CaptionShowsDisplayTextAndUnit) {
    const int level = AddParam([](IParam& p) {
        p.SetUpDouble("Level", -6.0, -60.0, 0.0, 0.1, "dB");
        p.SetDisplayLabel(-60.0, "Off");
    });
    Attach(new ui::ICaptionControl({0, 0, 100, 20}, level, IText(), {}, true));
    RunFrame(canvas);
    EXPECT_TRUE(DrewText("-6.0 dB")) << canvas.calls.back();
    Param(level).Set(-60.0);
    canvas.MarkAllControlsDirty();
    canvas.ClearCalls();
    RunFrame(canvas);
    EXPECT_TRUE(DrewText("Off ")) << "a display text keeps the blank";
}

TEST_F(TextControlsTest, CaptionClickOpensTheValueMenu) {
    const int mode = AddFourEnum();
    auto* caption = Attach(new ui::ICaptionControl({0, 0, 100, 20}, mode));
    caption->OnMouseDown(10, 10, {});
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNativePopupMenu").empty())
        << "neither button flag: nothing";
    MouseDown(10, 10);
    ASSERT_NE(canvas.lastNativeMenu, nullptr);
    EXPECT_EQ(canvas.lastNativeMenu->NItems(), 4);
}

TEST_F(TextControlsTest, EditableLabelHidesItsTextWhileEdited) {
    int actions = 0;
    auto* name = Attach(new ui::IEditableTextControl({0, 0, 120, 20}, "Preset"));
    name->SetActionFunction([&](ui::IControl*) { ++actions; });
    MouseDown(10, 10);
    MouseUp(10, 10);
    ASSERT_EQ(canvas.CallsStartingWith("ShowNativeTextEntry").size(), 1u);
    canvas.ClearCalls();
    RunFrame(canvas);
    EXPECT_FALSE(DrewText("Preset"));
    canvas.textEntryAnswers.push_back("Growl \xc3\xa9");
    ASSERT_TRUE(canvas.AnswerTextEntry());
    EXPECT_STREQ(name->GetString(), "Growl \xc3\xa9") << "any text; the preset codec keeps 7 bits";
    EXPECT_EQ(actions, 1);
    canvas.ClearCalls();
    RunFrame(canvas);
    EXPECT_TRUE(DrewText("Growl \xc3\xa9"));
}

// Real back ends measure text where its alignment puts it in the rectangle.
class AlignedMeasureCanvas : public RecordingCanvas {
public:
    using RecordingCanvas::RecordingCanvas;
    float MeasureTextBounds(const IText& text, const char* str, IRECT& bounds) const override {
        const float w = float(std::strlen(str)) * text.size * 0.5f, h = text.size;
        const float l =
            text.align == 0 ? bounds.L : (text.align == 1 ? bounds.MW() - w / 2 : bounds.R - w);
        const float t =
            text.vAlign == 0 ? bounds.T : (text.vAlign == 1 ? bounds.MH() - h / 2 : bounds.B - h);
        bounds = {l, t, l + w, t + h};
        return w;
    }
};

TEST(URLControl, UnderlinesOpensTheBrowserAndStaysVisited) {
    FakeDelegate delegate;
    AlignedMeasureCanvas canvas(delegate);
    IText style(14.f, {255, 10, 20, 30}, 1, 0);
    const IColor over{255, 1, 1, 1}, clicked{255, 2, 2, 2};
    canvas.SetMouseOverEnabled(true);
    canvas.AddControl(new ui::ITextControl({0, 0, 400, 300})); // the background takes no mouse-over
    auto* link = static_cast<ui::IURLControl*>(canvas.AddControl(new ui::IURLControl(
        {100, 50, 300, 90}, "omnar.example", "https://omnar.example/", style, {}, over, clicked)));
    const float w = 13 * 7.f; // 13 characters of half the size
    canvas.ClearCalls();
    RunFrame(canvas);
    const std::string underline = "DrawLine " + RecordingCanvas::Str(style.FGColor) + " " +
                                  RecordingCanvas::Num(200 - w / 2) + " 64 " +
                                  RecordingCanvas::Num(200 + w / 2) + " 64";
    ASSERT_EQ(canvas.CallsStartingWith("DrawLine").size(), 1u);
    EXPECT_EQ(canvas.CallsStartingWith("DrawLine")[0].rfind(underline, 0), 0u)
        << canvas.CallsStartingWith("DrawLine")[0];

    canvas.OnMouseOver(150, 60, {});
    canvas.OnMouseDown({ui::IMouseInfo{150, 60, 0, 0, {}}});
    EXPECT_EQ(canvas.CallsStartingWith("SetCursorShape 11").size(), 1u);
    EXPECT_EQ(canvas.CallsStartingWith("OpenInBrowser https://omnar.example/").size(), 1u);
    EXPECT_FALSE(canvas.ControlIsCaptured());
    EXPECT_TRUE(link->Visited());
    canvas.OnMouseOver(10, 10, {});
    EXPECT_EQ(canvas.CallsStartingWith("SetCursorShape 0").size(), 1u);
    RunFrame(canvas);
    EXPECT_EQ(link->GetText().FGColor, clicked);
    EXPECT_FALSE(canvas.CallsStartingWith("DrawLine " + RecordingCanvas::Str(clicked)).empty());
}

TEST_F(TextControlsTest, ToggleSwitchesItsText) {
    int actions = 0;
    auto* toggle = Attach(new ui::ITextToggleControl(
        {0, 0, 60, 20}, [&](ui::IControl*) { ++actions; }, "OFF", "ON"));
    EXPECT_STREQ(toggle->GetString(), "OFF");
    MouseDown(5, 5);
    EXPECT_STREQ(toggle->GetString(), "ON");
    MouseDoubleClick(5, 5);
    EXPECT_STREQ(toggle->GetString(), "OFF");
    EXPECT_EQ(actions, 2);
}

TEST_F(TextControlsTest, PlaceHolderShowsItsGeometryAndTakesANewTitle) {
    auto* box = Attach(new ui::PlaceHolder({10, 20, 110, 70}, "Later"));
    RunFrame(canvas);
    for (const char* text : {"10.0, 20.0", "100.0", "50.0", "Later"})
        EXPECT_TRUE(DrewText(text)) << text;
    EXPECT_EQ(canvas.CallsStartingWith("DrawLine").size(), 2u);
    MouseDoubleClick(50, 50);
    canvas.textEntryAnswers.push_back("Knob");
    ASSERT_TRUE(canvas.AnswerTextEntry());
    EXPECT_STREQ(box->GetString(), "Knob");
}

} // namespace
} // namespace vx::test
