#include "platform/ak/Application.h"
#include "platform/ak/TimeoutSource.h"
#include "platform/ak/View.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using ak::ModalResponse::Abort;
using ak::test::App;

struct Counting : ak::View {
    void MouseDown(const ak::Event&) override { ++downs; }
    int downs = 0;
};

struct ApplicationTest : ::testing::Test {
    void SetUp() override { ASSERT_NE(App(), nullptr); }
    void TearDown() override {
        for (auto& window : windows)
            window->Close();
        ak::test::WaitUntilServed();
    }
    ak::Window& NewWindow() {
        windows.push_back(ak::MakeRef<ak::Window>(ak::Rect{{50, 50}, {200, 150}},
                                                  ak::StyleMask::Titled | ak::StyleMask::Closable));
        return *windows.back();
    }
    std::vector<ak::Ref<ak::Window>> windows;
};

TEST_F(ApplicationTest, TimersTickInsideAModalRunWithoutReentering) {
    auto& window = NewWindow();
    int ticks = 0;
    bool inTick = false;
    bool reentered = false;
    ak::TimeoutSource timer(2, [&] {
        reentered |= inTick;
        inTick = true;
        if (++ticks == 5)
            App()->StopModal(&window, 42);
        // A tick that pumps the loop itself must not see itself again, even
        // once a later timer shows its interval has passed.
        bool passed = false;
        ak::TimeoutSource later(
            3, [&] { passed = true; }, ak::TimeoutSource::Start::AfterInterval);
        ak::test::PumpUntil([&] { return passed; });
        inTick = false;
    });
    EXPECT_EQ(App()->RunModal(&window), 42);
    EXPECT_GE(ticks, 5);
    EXPECT_FALSE(reentered);
}

TEST_F(ApplicationTest, AWindowsTimerDiesWithItInsideAModalRun) {
    auto& dialog = NewWindow();
    auto owner = ak::MakeRef<ak::Window>(ak::Rect{{300, 50}, {100, 100}}, ak::StyleMask::Titled);
    int ownerTicks = 0;
    int ticksAtClose = -1;
    int stopTicks = 0;
    owner->StartTimer(1, [&] { ++ownerTicks; });
    // Stops its own timer from inside its tick: no further tick, no crash.
    const int once = owner->StartTimer(
        1, [&] { owner->StopTimer(once); }, ak::TimeoutSource::Start::Now);
    dialog.StartTimer(5, [&] {
        if (++stopTicks == 2) {
            ticksAtClose = ownerTicks;
            owner->Close();
            owner.Reset(); // the last reference: freed after this tick
        } else if (stopTicks == 6) {
            App()->StopModal(&dialog);
        }
    });
    EXPECT_EQ(App()->RunModal(&dialog), ak::ModalResponse::Stop);
    EXPECT_GT(ticksAtClose, 0);
    EXPECT_EQ(ownerTicks, ticksAtClose);
    EXPECT_THROW(dialog.StartTimer(1, {}), std::bad_function_call);
}

TEST_F(ApplicationTest, StopModalOfAnOuterRunEndsItWhenControlReturns) {
    auto& outer = NewWindow();
    auto& inner = NewWindow();
    std::vector<std::string> log;
    ak::Application::RunOnMainLater([&] {
        ak::Application::RunOnMainLater([&] {
            App()->StopModal(&outer, 7);
            ak::Application::RunOnMainLater([&] {
                log.push_back("inner still running");
                App()->StopModal(&inner);
            });
        });
        log.push_back("inner: " + std::to_string(App()->RunModal(&inner)));
    });
    log.push_back("outer: " + std::to_string(App()->RunModal(&outer)));
    EXPECT_EQ(log, (std::vector<std::string>{"inner still running", "inner: -1000", "outer: 7"}));
}

TEST_F(ApplicationTest, AModalSessionContinuesUntilStopped) {
    auto& window = NewWindow();
    auto* session = App()->BeginModalSession(&window);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(App()->ModalWindow(), &window);
    EXPECT_EQ(App()->RunModalSession(session), ak::ModalResponse::Continue);
    ak::Application::RunOnMainLater([&] { App()->StopModal(&window, 12); });
    int result = ak::ModalResponse::Continue;
    for (int i = 0; i < 100 && result == ak::ModalResponse::Continue; ++i)
        result = App()->RunModalSession(session);
    EXPECT_EQ(result, 12);
    App()->EndModalSession(session);
    EXPECT_EQ(App()->ModalWindow(), nullptr);
}

TEST_F(ApplicationTest, ClosingTheModalWindowAbortsItsRun) {
    auto& window = NewWindow();
    ak::Application::RunOnMainLater([&] { window.Close(); });
    EXPECT_EQ(App()->RunModal(&window), Abort);
    EXPECT_FALSE(window.IsVisible());
    // A closed window cannot start a run that would never end.
    EXPECT_EQ(App()->RunModal(&window), Abort);
}

struct SelfClosingWindow : ak::Window {
    using Window::Window;
    bool ShouldClose() override {
        Close();
        // Drops the last reference the test held: the window must outlive
        // this callback all the same.
        if (owner)
            owner->Reset();
        title = Title();
        return false;
    }
    ak::Ref<ak::Window>* owner = nullptr;
    std::string title;
};

TEST_F(ApplicationTest, AWindowClosedAndReleasedByItsCloseBoxOutlivesTheCallback) {
    auto window =
        ak::MakeRef<SelfClosingWindow>(ak::Rect{{80, 80}, {120, 90}}, ak::StyleMask::Closable);
    window->SetTitle("closing");
    ak::Ref<ak::Window> ref = window;
    window->owner = &ref;
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    std::string* title = &window->title;
    ak::Ref<SelfClosingWindow> watch = window;
    window.Reset();
    ak::test::CloseBox(*watch);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return watch->IsClosed(); }));
    EXPECT_EQ(*title, "closing");
    EXPECT_FALSE(ref);
    EXPECT_FALSE(watch->IsKeyWindow());
}

TEST_F(ApplicationTest, TasksRunInOrderFromAnyThreadAndInNestedLoops) {
    auto& window = NewWindow();
    std::vector<int> order;
    std::thread worker([&] {
        for (int i = 0; i < 50; ++i)
            ak::Application::RunOnMainLater([&order, i] { order.push_back(i); });
    });
    worker.join();
    // The first task runs a modal loop: the rest are served inside it.
    std::vector<int> seenInModal;
    ak::Application::RunOnMainLater([&] {
        ak::Application::RunOnMainLater([&] {
            seenInModal = order;
            App()->StopModal(&window);
        });
        App()->RunModal(&window);
    });
    ASSERT_TRUE(ak::test::PumpUntil([&] { return seenInModal.size() == 50; }));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(seenInModal[size_t(i)], i);
    EXPECT_THROW(ak::Application::RunOnMainLater({}), std::bad_function_call);
}

TEST_F(ApplicationTest, TheEventHookSeesInputFirstAndMayConsumeIt) {
    auto& window = NewWindow();
    auto view = ak::MakeRef<Counting>();
    window.SetContentView(view.Get());
    window.MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(window));

    std::vector<ak::EventType> hooked;
    uint32_t flagsDuringDispatch = 0;
    bool consume = true;
    App()->SetEventHook([&](const ak::Event& event) {
        hooked.push_back(event.type);
        flagsDuringDispatch = App()->CurrentEvent() ? App()->CurrentEvent()->modifierFlags : 0;
        return consume && event.type == ak::EventType::LeftMouseDown;
    });
    ak::test::Press(window, {20, 20}, {1, ak::test::Mod::Shift});
    ak::test::Release(window, {20, 20}, {1, ak::test::Mod::Shift});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return hooked.size() >= 2; }));
    EXPECT_EQ(view->downs, 0);
    EXPECT_EQ(flagsDuringDispatch, ak::ModifierFlag::Shift);
    EXPECT_EQ(App()->ModifierFlags(), ak::ModifierFlag::Shift);
    EXPECT_EQ(App()->PressedMouseButtons(), 0u);

    consume = false;
    ak::test::Press(window, {20, 20});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->downs == 1; }));
    EXPECT_EQ(App()->PressedMouseButtons(), 1u);
    ak::test::Release(window, {20, 20});
    EXPECT_TRUE(ak::test::WaitUntilServed());
    App()->SetEventHook({});
}

TEST_F(ApplicationTest, PeekSeesAQueuedEventWithoutTakingIt) {
    auto& window = NewWindow();
    auto view = ak::MakeRef<Counting>();
    window.SetContentView(view.Get());
    window.MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(window));
    EXPECT_FALSE(App()->PeekEvent({ak::EventType::LeftMouseDown}, 10));
    ak::test::Press(window, {20, 20});
    EXPECT_FALSE(App()->PeekEvent({ak::EventType::KeyDown}, 10));
    EXPECT_TRUE(App()->PeekEvent({ak::EventType::LeftMouseDown}, 10));
    EXPECT_EQ(view->downs, 0);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->downs == 1; }));
    ak::test::Release(window, {20, 20});
    EXPECT_TRUE(ak::test::WaitUntilServed());
}

} // namespace
