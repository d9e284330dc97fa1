#include "platform/ak/Window.h"
#include "platform/ak/Screen.h"
#include "platform/ak/View.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

using ak::Rect;

struct LoggingWindow : ak::Window {
    LoggingWindow(Rect frame, std::vector<std::string>& log, std::string name)
        : Window(frame, ak::StyleMask::Titled | ak::StyleMask::Resizable), log(log),
          name(std::move(name)) {}
    void DidBecomeKey() override { log.push_back(name + " key"); }
    void DidResignKey() override { log.push_back(name + " resigned"); }
    std::vector<std::string>& log;
    std::string name;
};

struct WindowTest : ::testing::Test {
    void SetUp() override { ASSERT_NE(ak::test::App(), nullptr); }
    void TearDown() override {
        for (auto& window : windows)
            window->Close();
        ak::test::WaitUntilServed();
    }
    ak::Window& NewWindow(Rect frame, std::string name = "w") {
        windows.push_back(ak::MakeRef<LoggingWindow>(frame, log, std::move(name)));
        return *windows.back();
    }
    std::vector<ak::Ref<ak::Window>> windows;
    std::vector<std::string> log;
};

TEST_F(WindowTest, FrameReadsBackAtOnceMappedOrNotAndStaleConfiguresLose) {
    auto& window = NewWindow({{100, 100}, {300, 200}});
    const Rect frames[] = {{{120, 140}, {320, 240}}, {{0, 0}, {640, 480}}, {{33, 44}, {250, 180}}};
    for (const auto& frame : frames) {
        window.SetFrame(frame);
        EXPECT_EQ(window.Frame(), frame) << "hidden";
    }
    window.MakeKeyAndOrderFront();
    EXPECT_TRUE(window.IsVisible());
    ASSERT_TRUE(ak::test::WaitUntilShown(window));
    for (const auto& frame : frames) {
        // Two requests in a row: the configure answering the first comes
        // after the second was made and must not undo it.
        window.SetFrame({{frame.origin.x + 7, frame.origin.y + 9}, {frame.size.width + 11, 99}});
        window.SetFrame(frame);
        EXPECT_EQ(window.Frame(), frame) << "at once";
        ASSERT_TRUE(ak::test::WaitUntilServed());
        EXPECT_EQ(window.Frame(), frame) << "after the window system answered";
    }
    EXPECT_EQ(window.ContentView()->Frame(), (Rect{{0, 0}, frames[2].size}));
}

TEST_F(WindowTest, BadFramesAreRefusedAndSizesClamped) {
    auto& window = NewWindow({{10, 20}, {300, 200}});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (const Rect bad :
         {Rect{{nan, 0}, {10, 10}}, Rect{{0, 0}, {inf, 10}}, Rect{{0, -inf}, {1, 1}}}) {
        window.SetFrame(bad);
        EXPECT_EQ(window.Frame(), (Rect{{10, 20}, {300, 200}}));
    }
    window.SetFrame({{5, 5}, {-30, 40}});
    EXPECT_EQ(window.Frame(), (Rect{{5, 5}, {0, 40}}));

    auto view = ak::MakeRef<ak::View>(Rect{{1, 2}, {3, 4}});
    view->SetFrame({{nan, 0}, {1, 1}});
    view->SetFrame({{0, 0}, {1, inf}});
    EXPECT_EQ(view->Frame(), (Rect{{1, 2}, {3, 4}}));
    view->SetFrame({{1, 2}, {-3, -4}});
    EXPECT_EQ(view->Frame(), (Rect{{1, 2}, {0, 0}}));

    window.SetMinSize({640, 400});
    window.SetMaxSize({1000, 700});
    window.SetFrame({{0, 0}, {100, 100}});
    EXPECT_EQ(window.Frame().size, (ak::Size{640, 400}));
    window.SetFrame({{0, 0}, {5000, 500}});
    EXPECT_EQ(window.Frame().size, (ak::Size{1000, 500}));
}

TEST_F(WindowTest, KeyStatusAndOrderAnswerAtOnce) {
    auto& a = NewWindow({{0, 0}, {100, 100}}, "a");
    auto& b = NewWindow({{200, 0}, {100, 100}}, "b");
    EXPECT_TRUE(ak::Window::OrderedWindows().empty());
    a.MakeKeyAndOrderFront();
    b.MakeKeyAndOrderFront();
    EXPECT_TRUE(b.IsKeyWindow());
    EXPECT_FALSE(a.IsKeyWindow());
    auto ordered = ak::Window::OrderedWindows();
    ASSERT_EQ(ordered.size(), 2u);
    EXPECT_EQ(ordered[0].Get(), &b);
    EXPECT_EQ(ordered[1].Get(), &a);
    a.MakeKeyAndOrderFront();
    EXPECT_EQ(log,
              (std::vector<std::string>{"a key", "a resigned", "b key", "b resigned", "a key"}));
    ASSERT_TRUE(ak::test::WaitUntilShown(a));
    // Focus events of the window system do not take key status elsewhere.
    EXPECT_TRUE(a.IsKeyWindow());
    a.OrderOut();
    EXPECT_FALSE(a.IsVisible());
    EXPECT_FALSE(a.IsKeyWindow());
    EXPECT_EQ(ak::Window::OrderedWindows().size(), 1u);
}

TEST_F(WindowTest, ZoomFillsTheVisibleFrameAndRestores) {
    auto& window = NewWindow({{30, 40}, {300, 200}});
    window.MakeKeyAndOrderFront();
    window.Zoom();
    EXPECT_TRUE(window.IsZoomed());
    EXPECT_EQ(window.Frame(), ak::Screen::Main().VisibleFrame());
    EXPECT_EQ(window.Frame().size, (ak::Size{1920, 1200}));
    window.Zoom();
    EXPECT_FALSE(window.IsZoomed());
    EXPECT_EQ(window.Frame(), (Rect{{30, 40}, {300, 200}}));
}

TEST_F(WindowTest, ViewsHeldAfterTheirWindowGoesForgetIt) {
    auto inner = ak::MakeRef<ak::View>(Rect{{1, 1}, {5, 5}});
    {
        auto window = ak::MakeRef<ak::Window>(Rect{{0, 0}, {50, 50}}, ak::StyleMask::Titled);
        auto middle = ak::MakeRef<ak::View>(Rect{{1, 1}, {20, 20}});
        window->ContentView()->AddSubview(middle.Get());
        middle->AddSubview(inner.Get());
        EXPECT_EQ(inner->GetWindow(), window.Get());
        window->Close();
        // The window goes, and with it the views only it held.
        ASSERT_TRUE(ak::test::WaitUntilServed());
    }
    EXPECT_EQ(inner->GetWindow(), nullptr);
    EXPECT_EQ(inner->Superview(), nullptr);
}

TEST_F(WindowTest, PointsConvertBetweenWindowAndScreen) {
    auto& window = NewWindow({{30, 40}, {300, 200}});
    EXPECT_EQ(window.ConvertPointToScreen({5, 6}), (ak::Point{35, 46}));
    EXPECT_EQ(window.ConvertPointFromScreen({35, 46}), (ak::Point{5, 6}));
}

} // namespace
