#include "tests/support/ToolkitTest.h"

#include "toolkit/IKeyPress.h"

namespace {

using namespace vx::ui;
using vx::IKeyPress;
using vx::test::FakeDelegate;
using vx::test::TestControl;
using vx::test::ToolkitTest;

class Dispatch : public ToolkitTest {
protected:
    void SetUp() override {
        canvas.SetMouseOverEnabled(true);
        bg = Add("bg", {0, 0, 400, 300});
        lower = Add("lower", {0, 0, 100, 100});
        upper = Add("upper", {50, 50, 150, 150});
        log.clear();
    }
    std::string Name(IControl* c) const {
        return c ? static_cast<TestControl*>(c)->name : std::string("none");
    }
    TestControl* bg = nullptr;
    TestControl* lower = nullptr;
    TestControl* upper = nullptr;
};

TEST_F(Dispatch, HitTestTable) {
    struct Case {
        const char* setup;
        std::function<void()> apply;
        float x, y;
        const char* click;
        const char* over;
    };
    const Case cases[] = {
        {"overlap: later wins", [] {}, 75, 75, "upper", "upper"},
        {"hidden passes over", [&] { upper->Hide(true); }, 75, 75, "lower", "lower"},
        {"ignore mouse passes over", [&] { upper->SetIgnoreMouse(true); }, 75, 75, "lower",
         "lower"},
        {"disabled passes over", [&] { upper->SetDisabled(true); }, 75, 75, "lower", "lower"},
        {"disabled with clicks",
         [&] {
             upper->SetDisabled(true);
             upper->SetMouseEventsWhenDisabled(true);
         },
         75, 75, "upper", "lower"},
        {"disabled with mouse-over",
         [&] {
             upper->SetDisabled(true);
             upper->SetMouseOverWhenDisabled(true);
         },
         75, 75, "lower", "upper"},
        {"background clicks but never hovers", [] {}, 300, 250, "bg", "none"},
        {"right edge is outside", [] {}, 150, 60, "bg", "none"},
    };
    for (const Case& c : cases) {
        for (TestControl* t : {upper, lower}) {
            t->Hide(false);
            t->SetIgnoreMouse(false);
            t->SetDisabled(false);
            t->SetMouseEventsWhenDisabled(false);
            t->SetMouseOverWhenDisabled(false);
        }
        c.apply();
        EXPECT_EQ(Name(canvas.GetControl(canvas.HitTestControlList(false, c.x, c.y))), c.click)
            << c.setup;
        EXPECT_EQ(Name(canvas.GetControl(canvas.HitTestControlList(true, c.x, c.y))), c.over)
            << c.setup;
    }
}

TEST_F(Dispatch, DragOutsideStaysWithTheCapturedControlUntilRelease) {
    upper->SetValue(0.5, 0);
    canvas.OnMouseDown(At(60, 60));
    canvas.OnMouseDrag(Drag(300, 250, 240, 190));
    canvas.OnMouseDrag(Drag(300, 250, 0, 0)); // no movement: not delivered
    canvas.OnMouseUp(At(300, 250));
    canvas.OnMouseDrag(Drag(310, 250, 10, 0)); // nothing captured any more
    EXPECT_EQ(log, (std::vector<std::string>{"upper down 60,60", "upper drag 300,250 240,190",
                                             "upper up 300,250"}));
}

TEST_F(Dispatch, ParameterChangesBracketTheGesture) {
    TestControl* knob = Add("knob", {200, 0, 250, 50}, -1, "", FakeDelegate::kGain);
    (void)knob;
    canvas.OnMouseDown(At(210, 10));
    canvas.OnMouseUp(At(210, 10));
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 0", "end 0"}));
}

TEST_F(Dispatch, RightClickOpensTheContextMenuOnlyWithItems) {
    TestControl* knob = Add("knob", {200, 0, 250, 50}, -1, "", FakeDelegate::kGain);
    log.clear();
    canvas.OnMouseDown(At(210, 10, true)); // no items: nothing at all
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(canvas.CallsStartingWith("ShowNativePopupMenu").empty());
    EXPECT_FALSE(canvas.ControlIsCaptured());

    knob->contextItems = {"Copy", "Paste"};
    canvas.nativeMenuChoice = 1;
    canvas.OnMouseDown(At(210, 10, true));
    EXPECT_EQ(canvas.CallsStartingWith("ShowNativePopupMenu"),
              std::vector<std::string>{"ShowNativePopupMenu 2 210,10,210,10"});
    EXPECT_EQ(log, std::vector<std::string>{"knob context 1"});
    EXPECT_EQ(delegate.log, std::vector<std::string>{"end 0"});

    log.clear();
    canvas.OnMouseDown(At(60, 60, true)); // no parameter: a plain right button-down
    EXPECT_EQ(log, std::vector<std::string>{"upper down 60,60 R"});
}

TEST_F(Dispatch, DoubleClickAsSingleClickIsASecondButtonDown) {
    EXPECT_FALSE(canvas.OnMouseDoubleClick(500, 500, {})); // over nothing
    canvas.OnMouseDoubleClick(60, 60, {});
    EXPECT_EQ(log, std::vector<std::string>{"upper dblclick 60,60"});
    EXPECT_FALSE(canvas.ControlIsCaptured());
    log.clear();
    upper->SetMouseDblAsSingleClick(true);
    EXPECT_TRUE(canvas.OnMouseDoubleClick(60, 60, {}));
    EXPECT_EQ(log, std::vector<std::string>{"upper down 60,60"});
    EXPECT_TRUE(canvas.ControlIsCaptured(upper)); // kept until the button-up
}

TEST_F(Dispatch, KeysSkipTheBackgroundThenGoToTheHandler) {
    std::vector<std::string> handled;
    canvas.SetKeyHandlerFunc([&](const IKeyPress& key, bool up) {
        handled.push_back(std::string(key.utf8) + (up ? " up" : " down"));
        return true;
    });
    IKeyPress key;
    key.utf8[0] = 'a';
    EXPECT_TRUE(canvas.OnKeyDown(300, 250, key)); // over the background only
    EXPECT_TRUE(log.empty());
    upper->handlesKeys = true;
    EXPECT_TRUE(canvas.OnKeyDown(60, 60, key));
    upper->handlesKeys = false;
    EXPECT_TRUE(canvas.OnKeyUp(60, 60, key));
    EXPECT_EQ(log, (std::vector<std::string>{"upper keydown a", "upper keyup a"}));
    EXPECT_EQ(handled, (std::vector<std::string>{"a down", "a up"}));
    canvas.SetKeyHandlerFunc(nullptr);
    EXPECT_FALSE(canvas.OnKeyDown(60, 60, key));
}

TEST_F(Dispatch, MultiTouchCapturesPerTouch) {
    canvas.SetMultiTouch(true);
    canvas.OnMouseDown(At(60, 60, false, 1));
    canvas.OnMouseDown(At(70, 70, false, 2)); // the same single-touch control: ignored
    EXPECT_EQ(Events("down").size(), 1u);
    upper->SetWantsMultiTouch(true);
    canvas.OnMouseDown(At(70, 70, false, 3));
    canvas.OnMouseDown(At(10, 10, false, 4));
    EXPECT_EQ(Events("down"), (std::vector<std::string>{"upper down 60,60", "upper down 70,70",
                                                        "lower down 10,10"}));
    IMouseInfoList both = Drag(65, 65, 5, 5, 1);
    both.push_back(Drag(15, 15, 5, 5, 4)[0]);
    canvas.OnMouseDrag(both);
    EXPECT_EQ(Events("drag"),
              (std::vector<std::string>{"upper drag 65,65 5,5", "lower drag 15,15 5,5"}));
    canvas.OnTouchCancelled(At(15, 15, false, 4));
    EXPECT_FALSE(canvas.ControlIsCaptured(lower));
    EXPECT_TRUE(canvas.ControlIsCaptured(upper));
}

TEST_F(Dispatch, MouseOverFollowsAndLeavingClearsEverything) {
    EXPECT_TRUE(canvas.OnMouseOver(60, 60, {}));
    EXPECT_EQ(canvas.GetMouseOverControl(), upper);
    EXPECT_EQ(canvas.GetMouseOverIdx(), 2);
    canvas.OnMouseOver(10, 10, {});
    EXPECT_EQ(log, (std::vector<std::string>{"upper over 60,60", "upper out", "lower over 10,10"}));
    canvas.SetCursorShape(5);
    canvas.OnMouseOut();
    EXPECT_EQ(canvas.GetMouseOverControl(), nullptr);
    EXPECT_FALSE(lower->GetMouseIsOver());
    canvas.SetMouseOverEnabled(false);
    EXPECT_FALSE(canvas.OnMouseOver(10, 10, {}));
}

TEST_F(Dispatch, WheelAndDropReachTheControlUnderThePoint) {
    EXPECT_TRUE(canvas.OnMouseWheel(60, 60, {}, 2));
    canvas.OnDrop("/tmp/a.wav", 10, 10);
    canvas.OnDropMultiple({"/tmp/b.wav", "/tmp/c.wav"}, 10, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"upper wheel 60,60 2", "lower drop /tmp/a.wav",
                                             "lower drop /tmp/b.wav"}));
    EXPECT_FALSE(canvas.OnMouseWheel(500, 500, {}, 1));
}

TEST_F(Dispatch, RecordedParamIsTakenOnce) {
    Add("knob", {200, 0, 250, 50}, -1, "", FakeDelegate::kRoom);
    canvas.RecordParamUnderPoint(210, 10);
    EXPECT_EQ(canvas.TakeRecordedParam(), FakeDelegate::kRoom);
    EXPECT_EQ(canvas.TakeRecordedParam(), -1);
}

TEST_F(Dispatch, ModalSpecialControlsTakeEveryClick) {
    class Entry : public ITextEntryControl {
    public:
        using ITextEntryControl::ITextEntryControl;
        void Draw(ICanvas&) override {}
        void OnMouseDown(float, float, const IMouseMod&) override { ++downs; }
        void OnMouseDrag(float, float, float, float, const IMouseMod&) override { ++drags; }
        int downs = 0, drags = 0;
    };
    auto* entry = new Entry();
    canvas.AttachTextEntryControl(entry);
    TestControl* knob = Add("knob", {200, 0, 250, 50}, -1, "", FakeDelegate::kGain);
    canvas.OnMouseDown(At(210, 10)); // knob captured before the entry opens
    knob->SetTextEntryDisabled(false);
    knob->OpenValueEntry(0);
    ASSERT_EQ(canvas.GetControlInTextEntry(), knob);
    canvas.OnMouseDrag(Drag(220, 10, 10, 0)); // dropped: a value is being typed
    canvas.OnMouseUp(At(220, 10));
    canvas.OnMouseDown(At(60, 60));
    canvas.OnMouseDrag(Drag(61, 60, 1, 0));
    EXPECT_EQ(entry->downs, 1);
    EXPECT_EQ(entry->drags, 1);
    EXPECT_TRUE(Events("drag").empty());
}

TEST_F(Dispatch, CornerDragScalesAgainstTheButtonDownPoint) {
    class Resizer : public ICornerResizerControl {
    public:
        using ICornerResizerControl::ICornerResizerControl;
        void Draw(ICanvas&) override {}
        void OnMouseDown(float, float, const IMouseMod&) override {
            GetUI()->SetResizingInProgress(true);
        }
    };
    auto* resizer = new Resizer(IRECT{380, 280, 400, 300});
    canvas.AttachCornerResizer(resizer, 0);
    canvas.OnMouseDown(At(390, 290));
    ASSERT_TRUE(canvas.IsResizingInProgress());
    canvas.OnMouseDrag(Drag(585, 580, 195, 290));
    EXPECT_FLOAT_EQ(canvas.GetDrawScale(), 1.5f);
    EXPECT_EQ(canvas.Width(), 400);
    log.clear();
    canvas.OnMouseUp(At(585, 580));
    EXPECT_FALSE(canvas.IsResizingInProgress());
    EXPECT_EQ(Events("rescale").size(), 3u); // every control rescales when the drag ends
}

} // namespace
