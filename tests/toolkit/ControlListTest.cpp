#include "tests/support/ToolkitTest.h"

#include <thread>

namespace {

using namespace vx::ui;
using vx::test::FakeDelegate;
using vx::test::RunFrame;
using vx::test::TestControl;
using vx::test::ToolkitTest;

class ControlList : public ToolkitTest {};

// Special controls for the slot walk; they only note themselves.
template <class Base>
class Special : public Base {
public:
    template <class... Args>
    Special(std::vector<std::string>& log, std::string name, Args&&... args)
        : Base(std::forward<Args>(args)...), log(log), name(std::move(name)) {}
    void Draw(ICanvas&) override { log.push_back(name + " draw"); }
    std::vector<std::string>& log;
    std::string name;
};

TEST_F(ControlList, AttachRunsTheHooksInOrderAndSetsTheLinks) {
    TestControl* c = Add("a", {0, 0, 10, 10}, 7, "grp");
    EXPECT_EQ(log, (std::vector<std::string>{"a init", "a resize", "a rescale", "a added"}));
    EXPECT_EQ(c->GetUI(), &canvas);
    EXPECT_EQ(c->GetDelegate(), &delegate);
    EXPECT_STREQ(c->GetGroup(), "grp");
    EXPECT_EQ(canvas.FindControlByTag(7), c);
    EXPECT_EQ(canvas.FindControlByTag(-1), nullptr);
}

TEST_F(ControlList, DuplicateTagDeletesTheNewControlAndChangesNothing) {
    TestControl* first = Add("first", {0, 0, 10, 10}, 3);
    log.clear();
    EXPECT_EQ(Add("second", {0, 0, 10, 10}, 3), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"second deleted"}));
    EXPECT_EQ(canvas.NControls(), 1);
    EXPECT_EQ(canvas.FindControlByTag(3), first);
}

TEST_F(ControlList, EveryControlWalkVisitsListThenSlotsInFixedOrder) {
    Add("a", {0, 0, 1, 1});
    Add("b", {0, 0, 1, 1});
    canvas.AttachBubbleControl(new Special<IBubbleControl>(log, "bubble1"));
    canvas.AttachPopupMenuControl(
        new Special<IPopupMenuControl>(log, "popup", -1, IText(), IRECT(), IRECT()));
    canvas.AttachTextEntryControl(new Special<ITextEntryControl>(log, "entry"));
    canvas.AttachCornerResizer(new Special<ICornerResizerControl>(log, "resizer", IRECT()), 0);
    canvas.AttachFrameRateDisplay(new Special<IFPSDisplayControl>(log, "fps", IRECT()));
    canvas.AttachBubbleControl(new Special<IBubbleControl>(log, "bubble2"));
    log.clear();
    canvas.ForEveryControl([](IControl* c) { c->Draw(*c->GetUI()); });
    EXPECT_EQ(
        log, (std::vector<std::string>{"a draw", "b draw", "fps draw", "resizer draw", "entry draw",
                                       "popup draw", "bubble1 draw", "bubble2 draw"}));
    log.clear();
    canvas.ForEveryListedControl([](IControl* c) { c->Draw(*c->GetUI()); });
    EXPECT_EQ(log, (std::vector<std::string>{"a draw", "b draw"}));
}

TEST_F(ControlList, GroupsMatchExactlyAndNeverByEmptyName) {
    Add("a", {}, -1, "page");
    Add("b", {}, -1, "");
    Add("c", {}, -1, "Page");
    Add("d", {}, -1, "page");
    auto visited = [&](const char* group) {
        std::vector<std::string> names;
        canvas.ForEachControlInGroup(
            group, [&](IControl* c) { names.push_back(static_cast<TestControl*>(c)->name); });
        return names;
    };
    EXPECT_EQ(visited("page"), (std::vector<std::string>{"a", "d"}));
    EXPECT_EQ(visited(""), std::vector<std::string>{});
    EXPECT_EQ(visited(nullptr), std::vector<std::string>{});
    EXPECT_EQ(visited("pag"), std::vector<std::string>{});
}

TEST_F(ControlList, ControlsAppendedDuringAGroupWalkAreVisited) {
    Add("a", {}, -1, "g");
    int visits = 0;
    canvas.ForEachControlInGroup("g", [&](IControl*) {
        if (++visits == 1)
            Add("late", {}, -1, "g");
    });
    EXPECT_EQ(visits, 2);
}

TEST_F(ControlList, PeersFollowTheSenderButNotCapturedOnes) {
    TestControl* sender = Add("s", {0, 0, 10, 10}, -1, "", FakeDelegate::kGain);
    TestControl* peer = Add("p", {20, 0, 30, 10}, -1, "", FakeDelegate::kGain);
    IControl* two = canvas.AddControl(
        new TestControl(log, "two", {40, 0, 50, 10}, {FakeDelegate::kCount, FakeDelegate::kGain}));
    TestControl* other = Add("o", {60, 0, 70, 10}, -1, "", FakeDelegate::kCount);
    sender->SetValue(0.6, 0);
    sender->SetDirty(true, 0);
    EXPECT_EQ(peer->GetValue(0), 0.6);
    EXPECT_EQ(two->GetValue(1), 0.6);
    EXPECT_EQ(two->GetValue(0), 0.0);
    EXPECT_EQ(other->GetValue(0), 0.0);
    EXPECT_EQ(canvas.FindControlByParam(FakeDelegate::kCount), two);
}

TEST_F(ControlList, BackgroundSlotAndBulkOperations) {
    TestControl* a = Add("a", {}, -1, "", FakeDelegate::kRoom);
    TestControl* b = Add("b", {}, -1, "", FakeDelegate::kGain);
    canvas.HideControl(FakeDelegate::kRoom, true);
    canvas.DisableControl(FakeDelegate::kGain, true);
    EXPECT_TRUE(a->IsHidden());
    EXPECT_FALSE(b->IsHidden());
    EXPECT_TRUE(b->IsDisabled());
    EXPECT_EQ(b->GetBlend().weight, 0.25f);
    canvas.AssignParamNameToolTips();
    EXPECT_STREQ(b->GetTooltip(), "Gain");
    canvas.MarkAllControlsClean();
    EXPECT_FALSE(a->IsDirty());
    canvas.MarkAllControlsDirty();
    EXPECT_TRUE(a->IsDirty() && b->IsDirty());
}

// Removal must leave no reference behind: every case ends with events and a
// frame, which ASan checks for use after free.
class Removal : public ToolkitTest {
protected:
    void EventsAndFrame() {
        canvas.OnMouseDrag(Drag(5, 5, 1, 1));
        canvas.OnMouseOver(5, 5, {});
        canvas.OnMouseUp(At(5, 5));
        canvas.OnMouseDown(At(25, 5));
        canvas.OnMouseUp(At(25, 5));
        canvas.OnKeyDown(5, 5, {});
        RunFrame(canvas);
        canvas.MarkAllControlsDirty();
        RunFrame(canvas);
    }
};

TEST_F(Removal, CapturedControlReleasesEveryCapture) {
    canvas.SetMouseOverEnabled(true);
    Add("bg", {0, 0, 400, 300});
    TestControl* c = Add("c", {0, 0, 10, 10}, 1);
    Add("d", {20, 0, 30, 10});
    canvas.OnMouseDown(At(5, 5));
    ASSERT_TRUE(canvas.ControlIsCaptured(c));
    canvas.RemoveControl(c);
    EXPECT_FALSE(canvas.ControlIsCaptured());
    EXPECT_EQ(canvas.FindControlByTag(1), nullptr);
    EventsAndFrame();
}

TEST_F(Removal, HoveredControlResetsTheMouseOverState) {
    canvas.SetMouseOverEnabled(true);
    Add("bg", {0, 0, 400, 300});
    TestControl* c = Add("c", {0, 0, 10, 10});
    canvas.OnMouseOver(5, 5, {});
    ASSERT_EQ(canvas.GetMouseOverControl(), c);
    canvas.RemoveControlAt(1);
    EXPECT_EQ(canvas.GetMouseOverControl(), nullptr);
    EXPECT_EQ(canvas.GetMouseOverIdx(), -1);
    EventsAndFrame();
}

TEST_F(Removal, ContainerAndChildUnlink) {
    TestControl* box = Add("box", {0, 0, 100, 100});
    TestControl* child = Add("child", {10, 10, 20, 20});
    TestControl* other = Add("other", {30, 30, 40, 40});
    child->SetParent(box);
    other->SetParent(box);
    canvas.RemoveControl(child);
    EXPECT_EQ(other->GetParent(), box);
    canvas.RemoveControl(box);
    EXPECT_EQ(other->GetParent(), nullptr);
    other->SetDirty(false, -1);
    EventsAndFrame();
}

TEST_F(Removal, RemovingByTagTreatsACapturedControlLikeRemoveControl) {
    canvas.SetMouseOverEnabled(true);
    Add("bg", {0, 0, 400, 300});
    TestControl* c = Add("c", {0, 0, 10, 10}, 4);
    canvas.OnMouseOver(5, 5, {});
    canvas.OnMouseDown(At(5, 5));
    canvas.RemoveControlWithTag(4);
    EXPECT_EQ(canvas.NControls(), 1);
    EXPECT_FALSE(canvas.ControlIsCaptured());
    EXPECT_EQ(canvas.GetMouseOverControl(), nullptr);
    (void)c;
    EventsAndFrame();
    canvas.RemoveControlWithTag(99); // unknown: only a dirty pass
    EXPECT_EQ(canvas.NControls(), 1);
}

TEST_F(Removal, ControlRemovingItselfOnMouseUpIsSafe) {
    TestControl* c = Add("c", {0, 0, 10, 10}, -1, "", FakeDelegate::kGain);
    c->onMouseUp = [this](TestControl* self) { canvas.RemoveControl(self); };
    canvas.OnMouseDown(At(5, 5));
    canvas.OnMouseUp(At(5, 5));
    EXPECT_EQ(canvas.NControls(), 0);
    EXPECT_EQ(delegate.log, (std::vector<std::string>{"begin 0", "end 0"}));
    EventsAndFrame();
}

TEST_F(Removal, RemoveFromIndexGoesLastFirst) {
    Add("a", {});
    Add("b", {});
    Add("c", {});
    log.clear();
    canvas.RemoveControlsFrom(1);
    EXPECT_EQ(log, (std::vector<std::string>{"c deleted", "b deleted"}));
    EXPECT_EQ(canvas.NControls(), 1);
}

} // namespace

namespace {

#ifndef NDEBUG
TEST(ControlListDeathTest, UseOffTheMainThreadIsCaughtInDebugBuilds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    vx::test::FakeDelegate delegate;
    vx::test::RecordingCanvas canvas(delegate);
    EXPECT_DEATH(std::thread([&] { canvas.FindControlByTag(1); }).join(), "off its thread");
}
#endif

} // namespace
