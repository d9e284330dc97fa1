#include "platform/ak/Keys.h"
#include "platform/ak/View.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using ak::EventType;
using ak::Point;
using ak::Rect;
namespace Mod = ak::test::Mod;

struct Received {
    std::string view;
    EventType type;
    Point location; // in the view
    ak::Event event;
};

struct RecordingView : ak::View {
    RecordingView(Rect frame, std::string name, std::vector<Received>& log)
        : View(frame), name(std::move(name)), log(log) {}
    void Record(const ak::Event& event) {
        log.push_back(
            {name, event.type, ConvertPointFromView(event.locationInWindow, nullptr), event});
    }
    void MouseDown(const ak::Event& e) override { Record(e); }
    void MouseUp(const ak::Event& e) override { Record(e); }
    void MouseDragged(const ak::Event& e) override { Record(e); }
    void RightMouseDown(const ak::Event& e) override { Record(e); }
    void RightMouseUp(const ak::Event& e) override { Record(e); }
    void ScrollWheel(const ak::Event& e) override { Record(e); }
    void Magnify(const ak::Event& e) override { Record(e); }
    void Rotate(const ak::Event& e) override { Record(e); }
    void Swipe(const ak::Event& e) override { Record(e); }
    void MouseEntered(const ak::Event& e) override { Record(e); }
    void MouseExited(const ak::Event& e) override { Record(e); }
    void KeyDown(const ak::Event& e) override {
        Record(e);
        if (!handlesKeys)
            View::KeyDown(e);
    }
    bool AcceptsFirstResponder() const override { return true; }
    bool AcceptsFirstMouse(const ak::Event*) override { return firstMouse; }
    std::string name;
    std::vector<Received>& log;
    bool handlesKeys = true;
    bool firstMouse = false;
};

// A 400 x 300 window: A with B inside it, C overlapping A and on top of it.
struct ViewInputTest : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        window = ak::MakeRef<ak::Window>(Rect{{100, 100}, {400, 300}}, ak::StyleMask::Titled);
        root = ak::MakeRef<RecordingView>(Rect{}, "root", log);
        window->SetContentView(root.Get());
        a = ak::MakeRef<RecordingView>(Rect{{10, 10}, {100, 100}}, "A", log);
        b = ak::MakeRef<RecordingView>(Rect{{20, 20}, {50, 50}}, "B", log);
        c = ak::MakeRef<RecordingView>(Rect{{60.4, 60.6}, {100, 100}}, "C", log);
        root->AddSubview(a.Get());
        a->AddSubview(b.Get());
        root->AddSubview(c.Get());
        window->MakeKeyAndOrderFront();
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    }
    void TearDown() override {
        window->Close();
        for (auto& other : others)
            other->Close();
        ak::test::WaitUntilServed();
    }
    bool WaitFor(size_t count) {
        return ak::test::PumpUntil([&] { return log.size() >= count; });
    }
    std::vector<Received> log;
    ak::Ref<ak::Window> window;
    std::vector<ak::Ref<ak::Window>> others;
    ak::Ref<RecordingView> root, a, b, c;
};

TEST_F(ViewInputTest, APressItsDragsAndItsReleaseGoToTheDeepestViewUnderThePress) {
    ak::test::Press(*window, {40, 45});
    ak::test::Move(*window, {150, 150}, 1); // over C now
    ak::test::Release(*window, {150, 150});
    ASSERT_TRUE(WaitFor(3));
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].view, "B");
    EXPECT_EQ(log[0].type, EventType::LeftMouseDown);
    EXPECT_EQ(log[0].location, (Point{10, 15}));
    EXPECT_EQ(log[0].event.locationInWindow, (Point{40, 45}));
    EXPECT_EQ(log[1].view, "B");
    EXPECT_EQ(log[1].type, EventType::LeftMouseDragged);
    EXPECT_EQ(log[2].view, "B");
    EXPECT_EQ(log[2].type, EventType::LeftMouseUp);

    // Where C overlaps A, the later subview is on top; its edges sit at
    // floor(v + 0.5): 60.4 -> 60, 60.6 -> 61.
    log.clear();
    ak::test::Click(*window, {61, 62});
    ak::test::Click(*window, {100, 60.5});
    ASSERT_TRUE(WaitFor(4));
    EXPECT_EQ(log[0].view, "C");
    EXPECT_EQ(log[2].view, "A");
}

TEST_F(ViewInputTest, ClickCountsFollowTimeAndDistanceOfPhysicalPresses) {
    struct Step {
        Point at;
        uint32_t timeMs;
        int count;
    };
    const Step steps[] = {
        {{40, 40}, 100000, 1}, {{41, 40}, 100150, 2}, {{40, 41}, 100300, 3}, // triple
        {{80, 80}, 100450, 1},                                               // far
        {{80, 80}, 102000, 1},                                               // late
    };
    for (const auto& step : steps)
        ak::test::Click(*window, step.at, {1, 0, step.timeMs});
    ASSERT_TRUE(WaitFor(2 * std::size(steps)));
    for (size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(log[2 * i].type, EventType::LeftMouseDown) << i;
        EXPECT_EQ(log[2 * i].event.clickCount, steps[i].count) << i;
        EXPECT_EQ(log[2 * i + 1].event.clickCount, steps[i].count) << i;
    }
}

TEST_F(ViewInputTest, WheelDeltasArePositiveUpAndLeft) {
    struct Case {
        int direction;
        double dx, dy;
        double deltaX, deltaY;
        bool precise;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 1, false},  {1, 0, 0, 0, -1, false},         {2, 0, 0, 1, 0, false},
        {3, 0, 0, -1, 0, false}, {4, 2.5, -1.5, -2.5, 1.5, true},
    };
    for (const auto& c : cases)
        ak::test::Scroll(*window, {40, 40}, c.direction, c.dx, c.dy);
    ASSERT_TRUE(WaitFor(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(log[i].view, "B");
        EXPECT_EQ(log[i].event.deltaX, cases[i].deltaX) << i;
        EXPECT_EQ(log[i].event.deltaY, cases[i].deltaY) << i;
        EXPECT_EQ(log[i].event.hasPreciseScrollingDeltas, cases[i].precise) << i;
    }
}

TEST_F(ViewInputTest, GesturesBecomeMagnifyRotateAndSwipe) {
    const double quarterTurn = 3.14159265358979 / 2;
    ak::test::Pinch(*window, {40, 40}, 0, 1.0, 0);
    ak::test::Pinch(*window, {40, 40}, 1, 1.25, 0);
    ak::test::Pinch(*window, {40, 40}, 1, 1.0, 0);
    ak::test::Pinch(*window, {40, 40}, 1, 1.0, -quarterTurn); // counter-clockwise
    ak::test::Swipe(*window, {40, 40}, 0, 0, 0);
    ak::test::Swipe(*window, {40, 40}, 2, -30, 5); // leftwards
    ak::test::Swipe(*window, {40, 40}, 2, 2, 40);  // downwards
    ASSERT_TRUE(WaitFor(6));
    EXPECT_EQ(log[0].type, EventType::Magnify);
    EXPECT_EQ(log[0].event.magnification, 0);
    EXPECT_EQ(log[1].event.magnification, 0.25);
    EXPECT_EQ(log[2].event.magnification, -0.25);
    EXPECT_EQ(log[3].type, EventType::Rotate);
    EXPECT_NEAR(log[3].event.rotation, 90, 1e-9);
    EXPECT_EQ(log[4].type, EventType::Swipe);
    EXPECT_EQ(log[4].event.deltaX, 1);
    EXPECT_EQ(log[5].event.deltaY, -1);
    EXPECT_EQ(log.size(), 6u) << "a swipe counts once, at its end";
}

TEST_F(ViewInputTest, ModifierKeysPlayTheirMacRoles) {
    struct Case {
        unsigned modifiers;
        uint32_t flags;
    };
    const Case cases[] = {
        {Mod::Ctrl, ak::ModifierFlag::Command},
        {Mod::Super, ak::ModifierFlag::Control},
        {Mod::Alt, ak::ModifierFlag::Option},
        {Mod::Shift | Mod::Ctrl, ak::ModifierFlag::Shift | ak::ModifierFlag::Command},
    };
    for (const auto& c : cases)
        ak::test::Click(*window, {40, 40}, {1, c.modifiers});
    ak::test::Click(*window, {40, 40}, {3, Mod::Ctrl});
    ASSERT_TRUE(WaitFor(2 * std::size(cases) + 2));
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(log[2 * i].event.modifierFlags, cases[i].flags) << i;
    const auto& right = log[2 * std::size(cases)];
    EXPECT_EQ(right.type, EventType::RightMouseDown);
    EXPECT_EQ(right.event.buttonNumber, 1);
    EXPECT_EQ(right.event.modifierFlags, ak::ModifierFlag::Command);
}

TEST_F(ViewInputTest, AViewReleasedInItsOwnMouseDownStaysAliveUntilItReturns) {
    struct Vanishing : ak::View {
        using View::View;
        void MouseDown(const ak::Event&) override {
            ak::Ref<ak::View> self(this);
            RemoveFromSuperview();
            self->ReleaseLater();
            (*holder).Reset();
            frameAfter = Frame().size.width; // still ours to read
        }
        ak::Ref<ak::View>* holder = nullptr;
        double frameAfter = 0;
    };
    auto vanishing = ak::MakeRef<Vanishing>(Rect{{200, 200}, {50, 40}});
    double* seen = &vanishing->frameAfter;
    ak::Ref<ak::View> holder = vanishing;
    vanishing->holder = &holder;
    root->AddSubview(vanishing.Get());
    vanishing.Reset();
    vanishing = {};
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    // Retained once more by ReleaseLater's caller, dropped after dispatch.
    holder->Retain();
    ak::test::Press(*window, {210, 210});
    ak::test::Move(*window, {215, 215}, 1);
    ak::test::Release(*window, {215, 215});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !holder; }));
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_EQ(*seen, 50);
    // The drag and release that followed went nowhere: no view left to take them.
    EXPECT_TRUE(log.empty());
}

TEST_F(ViewInputTest, EventsQueuedForADeletedViewAreDropped) {
    auto doomed = ak::MakeRef<RecordingView>(Rect{{250, 200}, {60, 60}}, "doomed", log);
    root->AddSubview(doomed.Get());
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    ak::test::Press(*window, {260, 210});
    ak::test::Scroll(*window, {260, 210}, 0);
    doomed->RemoveFromSuperview();
    doomed.Reset(); // the last reference: the view and its widget go now
    ak::test::Release(*window, {260, 210});
    ASSERT_TRUE(ak::test::WaitUntilServed());
    for (const auto& r : log)
        EXPECT_NE(r.view, "doomed");
}

TEST_F(ViewInputTest, APressInAnotherWindowMakesItKeyAndAsksForFirstMouse) {
    others.push_back(ak::MakeRef<ak::Window>(Rect{{600, 100}, {100, 100}}, ak::StyleMask::Titled));
    others[0]->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*others[0]));
    ak::test::Click(*window, {40, 40});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return window->IsKeyWindow(); }));
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_TRUE(log.empty()) << "B does not take the first mouse";

    others[0]->MakeKeyAndOrderFront();
    b->firstMouse = true;
    ak::test::Click(*window, {40, 40});
    ASSERT_TRUE(WaitFor(2));
    EXPECT_EQ(log[0].view, "B");
}

TEST_F(ViewInputTest, AModalRunBegunDuringAPressEndsThatPress) {
    // The dialog's (20, 20) is the screen point of the press: a count carried over
    // would make its click a double click.
    auto dialog = ak::MakeRef<ak::Window>(Rect{{290, 240}, {200, 200}}, ak::StyleMask::Titled);
    others.push_back(dialog);
    std::vector<Received> dialogLog;
    auto dialogView = ak::MakeRef<RecordingView>(Rect{}, "dialog", dialogLog);
    dialog->SetContentView(dialogView.Get());
    struct Opener : RecordingView {
        Opener(std::vector<Received>& log, std::vector<Received>& dialogLog, ak::Window* dialog)
            : RecordingView(Rect{{200, 150}, {80, 80}}, "opener", log), dialogLog(dialogLog),
              dialog(dialog) {}
        void MouseDown(const ak::Event& e) override {
            Record(e);
            ak::Application::RunOnMainLater([this] {
                ak::test::Move(*GetWindow(), {215, 165}, 1);
                ak::test::Release(*GetWindow(), {215, 165}, {1, 0, 100010});
                ak::test::Click(*dialog, {20, 20}, {1, 0, 100100});
                ak::test::PumpUntil([&] { return dialogLog.size() == 2; });
                ak::test::App()->StopModal(dialog.Get(), 5);
            });
            result = ak::test::App()->RunModal(dialog.Get());
        }
        std::vector<Received>& dialogLog;
        ak::Ref<ak::Window> dialog;
        int result = 0;
    };
    auto opener = ak::MakeRef<Opener>(log, dialogLog, dialog.Get());
    root->AddSubview(opener.Get());
    ak::test::Press(*window, {210, 160}, {1, 0, 100000});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return opener->result != 0; }));
    EXPECT_EQ(opener->result, 5);
    ASSERT_EQ(log.size(), 1u) << "the drag and release of the ended press went nowhere";
    ASSERT_EQ(dialogLog.size(), 2u);
    EXPECT_EQ(dialogLog[0].event.clickCount, 1);
    // After the run, a stray drag reaches nobody.
    ak::test::Move(*window, {220, 170}, 1);
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(ViewInputTest, TheMotionOfOurOwnWarpIsNotTakenForTheUsers) {
    struct Moves : RecordingView {
        using RecordingView::RecordingView;
        void MouseMoved(const ak::Event& e) override { Record(e); }
    };
    auto moves = ak::MakeRef<Moves>(Rect{{200, 150}, {100, 100}}, "moves", log);
    root->AddSubview(moves.Get());
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    // The real pointer moves into the view, and the window system says so
    // while the program is busy elsewhere: its loop serves the warp's motion
    // late, as on a loaded machine. Not a wait: the busy spell itself.
    const ak::Point warpedTo = window->ConvertPointToScreen({210, 160});
    ak::test::App()->WarpPointer(warpedTo);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    ASSERT_TRUE(ak::test::WaitUntilPointerAt(warpedTo));
    ak::test::Move(*window, {220, 170});
    ASSERT_TRUE(WaitFor(1));
    ASSERT_TRUE(ak::test::WaitUntilServed());
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].event.locationInWindow, (Point{220, 170}));
}

TEST_F(ViewInputTest, EnteredAndExitedFollowThePointerInDragsToo) {
    a->SetTracksMouseEnterExit(true);
    b->SetTracksMouseEnterExit(true);
    ak::test::Move(*window, {40, 40});    // into B (and A)
    ak::test::Move(*window, {300, 250});  // out of both
    ak::test::Press(*window, {40, 40});   // B
    ak::test::Move(*window, {15, 15}, 1); // drag: out of B, still in A
    ak::test::Release(*window, {15, 15});
    ASSERT_TRUE(WaitFor(9));
    std::vector<std::string> seen;
    for (const auto& r : log)
        seen.push_back(r.view + (r.type == EventType::MouseEntered  ? " entered"
                                 : r.type == EventType::MouseExited ? " exited"
                                                                    : " button"));
    EXPECT_EQ(seen, (std::vector<std::string>{"A entered", "B entered", "B exited", "A exited",
                                              "A entered", "B entered", "B button", "B exited",
                                              "B button"}));
}

TEST_F(ViewInputTest, FirstResponderChangesResignTheOldBeforeTheNewBecomes) {
    struct Focusable : ak::View {
        Focusable(std::string name, std::vector<std::string>& log)
            : name(std::move(name)), log(log) {}
        bool AcceptsFirstResponder() const override { return accepts; }
        bool BecomeFirstResponder() override {
            log.push_back(name + " becomes");
            return true;
        }
        bool ResignFirstResponder() override {
            log.push_back(name + " resigns");
            return letsGo;
        }
        std::string name;
        std::vector<std::string>& log;
        bool accepts = true;
        bool letsGo = true;
    };
    std::vector<std::string> focus;
    auto first = ak::MakeRef<Focusable>("first", focus);
    auto second = ak::MakeRef<Focusable>("second", focus);
    root->AddSubview(first.Get());
    root->AddSubview(second.Get());
    EXPECT_TRUE(window->MakeFirstResponder(first.Get()));
    EXPECT_TRUE(window->MakeFirstResponder(second.Get()));
    EXPECT_EQ(focus,
              (std::vector<std::string>{"first becomes", "first resigns", "second becomes"}));
    // A responder that will not let go keeps the focus.
    second->letsGo = false;
    EXPECT_FALSE(window->MakeFirstResponder(first.Get()));
    EXPECT_EQ(window->FirstResponder(), second.Get());
    // One that will not take it leaves the window itself first responder.
    second->letsGo = true;
    first->accepts = false;
    EXPECT_FALSE(window->MakeFirstResponder(first.Get()));
    EXPECT_EQ(window->FirstResponder(), nullptr);
}

TEST_F(ViewInputTest, ANativeControlTakingTheFocusBecomesFirstResponderAndKeysGoToIt) {
    auto field = ak::test::MakeTextField(Rect{{200, 200}, {150, 30}});
    root->AddSubview(field.Get());
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    ASSERT_TRUE(window->MakeFirstResponder(b.Get()));
    ak::test::FocusNativeWidget(*field);
    EXPECT_EQ(window->FirstResponder(), field.Get());
    // Keys now belong to the native control, not to our views.
    ak::test::Key(*window, 38, 'a', true);
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_TRUE(log.empty());
    // A plain view taking first responder takes the keys back.
    ASSERT_TRUE(window->MakeFirstResponder(b.Get()));
    EXPECT_FALSE(field->HasNativeFocus());
    ak::test::Key(*window, 38, 'a', true);
    ASSERT_TRUE(WaitFor(1));
    EXPECT_EQ(log[0].view, "B");
    // And making the native view first responder focuses its control.
    ASSERT_TRUE(window->MakeFirstResponder(field.Get()));
    EXPECT_TRUE(field->HasNativeFocus());
}

// Typing follows a left click: the view clicked takes the keys when it will.
TEST_F(ViewInputTest, ALeftClickMakesTheViewUnderItFirstResponder) {
    ASSERT_TRUE(window->MakeFirstResponder(c.Get()));
    ak::test::Click(*window, {40, 45}, {3}); // a right click leaves the focus
    ASSERT_TRUE(WaitFor(2));
    EXPECT_EQ(window->FirstResponder(), c.Get());
    ak::test::Click(*window, {40, 45});
    ASSERT_TRUE(WaitFor(4));
    EXPECT_EQ(window->FirstResponder(), b.Get());
    log.clear();
    ak::test::Key(*window, 38, 'a', true);
    ASSERT_TRUE(WaitFor(1));
    EXPECT_EQ(log[0].view, "B");
    EXPECT_EQ(log[0].type, EventType::KeyDown);
}

TEST_F(ViewInputTest, KeysGoToTheFirstResponderAndUnhandledOnesWalkUp) {
    ASSERT_TRUE(window->MakeFirstResponder(b.Get()));
    b->handlesKeys = false;
    ak::test::Key(*window, 38, 'a', true, Mod::Shift); // the "a" key with Shift
    ak::test::Key(*window, 36, 0xff0d, true);          // Return
    ASSERT_TRUE(WaitFor(4));
    EXPECT_EQ(log[0].view, "B");
    EXPECT_EQ(log[1].view, "A");
    EXPECT_EQ(log[0].event.keyCode, 0);
    EXPECT_EQ(log[0].event.modifierFlags, ak::ModifierFlag::Shift);
    EXPECT_EQ(log[2].event.keyCode, 36);
    EXPECT_EQ(log[2].event.characters, "\r");
    EXPECT_EQ(log[2].event.charactersIgnoringModifiers, "\r");
    EXPECT_EQ(ak::LayoutCharacter(0), U'a');
    EXPECT_EQ(ak::LayoutCharacter(49), U' ');
}

} // namespace
