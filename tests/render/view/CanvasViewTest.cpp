#include "tests/render/view/CanvasWindow.h"

#include "platform/ak/Pasteboard.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using vx::ui::ICanvasMac;

using vx::test::CanvasWindow;

TEST_F(CanvasWindow, AttachesInOrderThenDrawsThroughTheLayer) {
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "make");
    EXPECT_EQ(log[1], "layout with context");
    EXPECT_EQ(log[2], "scale 1");
    EXPECT_EQ(view->Superview(), window->ContentView());
    EXPECT_EQ(view->Frame().size, (ak::Size{200, 100}));
    EXPECT_EQ(view->Layer()->drawableSize.width, 200u);

    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->FramesPainted() > 0; }));
    const std::string png = ak::test::SaveSnapshot(*window, "canvas_view_first_frame");
    EXPECT_FALSE(png.empty());
    view->Frames().WithKept([](const vx::ui::FrameStore::Frame& f) {
        ASSERT_EQ(f.width, 200);
        // BGRA: the red panel.
        EXPECT_EQ(f.pixels[2], 200);
        EXPECT_EQ(f.pixels[1], 0);
        EXPECT_EQ(f.pixels[3], 255);
    });
}

TEST_F(CanvasWindow, IdleTicksDrawNothingAndADirtyControlShows) {
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->Frames().FramesStored() > 0; }));
    ASSERT_TRUE(WaitUntilStill(view));
    const int stored = view->Frames().FramesStored();
    const int painted = view->FramesPainted();
    ASSERT_TRUE(WaitForTicks(6)); // several ticks with nothing dirty
    EXPECT_EQ(view->Frames().FramesStored(), stored);
    EXPECT_EQ(view->FramesPainted(), painted);

    const long buffers = view->Layer()->device()->commandBuffersMade();
    ASSERT_TRUE(WaitForTicks(6));
    EXPECT_EQ(view->Layer()->device()->commandBuffersMade(), buffers);

    control->SetDirty(false);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->Frames().FramesStored() > stored; }));
    EXPECT_TRUE(ak::test::PumpUntil([&] { return view->FramesPainted() > painted; }));
    EXPECT_EQ(view->Layer()->device()->commandBuffersMade(), buffers + 2);
}

TEST_F(CanvasWindow, ReattachingAndClosingTheWindowLeaveNothingBehind) {
    ASSERT_NE(Open(), nullptr);
    ICanvasMac* canvas = Canvas();
    // Opening again re-attaches the same canvas with a new view.
    vx::ui::ICanvasView* second = Open();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(Canvas(), canvas);
    EXPECT_EQ(window->ContentView()->Subviews().size(), 1u);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return second->FramesPainted() > 0; }));

    // The window going away closes the editor.
    window->Close();
    window = nullptr;
    EXPECT_TRUE(ak::test::PumpUntil([&] { return delegate.GetGraphics() == nullptr; }));
}

TEST_F(CanvasWindow, DetachingStopsTheTimerAndTheViewOutlivesIt) {
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    ak::Ref<vx::ui::ICanvasView> keep(view);
    delegate.CloseEditor();
    EXPECT_EQ(delegate.GetGraphics(), nullptr);
    EXPECT_FALSE(keep->TimerRunning());
    EXPECT_EQ(keep->Superview(), nullptr);
    keep->Render(); // no canvas: nothing to draw
    keep->RemoveFromWindow();
}

// What the test control heard, without its drawing.
std::vector<std::string> Heard(const std::vector<std::string>& log) {
    std::vector<std::string> heard;
    for (const std::string& line : log)
        if (line.rfind("control ", 0) == 0 && line != "control draw" &&
            line.rfind("control over", 0) != 0)
            heard.push_back(line.substr(8));
    return heard;
}

TEST_F(CanvasWindow, ClicksReachControlsInPanelUnits) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ak::test::Enter(*window, {30, 30});
    log.clear();
    for (uint32_t i = 0; i < 3; ++i)
        ak::test::Click(*window, {30, 30}, {1, 0, 200000 + 150 * i});
    ak::test::Click(*window, {31, 30}, {1, ak::test::Mod::Ctrl, 5000});
    // The double click ends the capture, so its release reaches no control.
    const std::vector<std::string> expected = {"down 30,30", "up 30,30", "dblclick 30,30",
                                               "down 30,30", "up 30,30", "down 31,30 R",
                                               "up 31,30"};
    ak::test::PumpUntil([&] { return Heard(log).size() >= expected.size(); });
    ASSERT_TRUE(ak::test::WaitUntilServed()); // and nothing more
    EXPECT_EQ(Heard(log), expected);
}

TEST_F(CanvasWindow, DragsCarryDeltasAndWheelAndKeysArrive) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    control->handlesKeys = true;
    ak::test::Enter(*window, {30, 30});
    ak::test::Move(*window, {30, 30});
    log.clear();
    ak::test::Press(*window, {30, 30});
    ak::test::Move(*window, {34, 37}, 1);
    ak::test::Release(*window, {34, 37});
    ak::test::Scroll(*window, {34, 37}, 0);
    const unsigned a = ak::test::KeycodeOf('a');
    ASSERT_NE(a, 0u);
    ak::test::Key(*window, a, 'a', true);
    ak::test::Key(*window, a, 'a', false);
    ak::test::PumpUntil([&] { return Heard(log).size() >= 6; });
    const std::vector<std::string> heard = Heard(log);
    ASSERT_GE(heard.size(), 6u);
    EXPECT_EQ(heard[0], "down 30,30");
    EXPECT_EQ(heard[1], "drag 34,37 4,7");
    EXPECT_EQ(heard[2], "up 34,37");
    EXPECT_EQ(heard[3].rfind("wheel 34,37", 0), 0u) << heard[3];
    EXPECT_EQ(heard[4], "keydown a");
    EXPECT_EQ(heard[5], "keyup a");
}

// Hears every mouse-out of the panel, over it or not.
struct OutListener : vx::test::TestControl {
    using TestControl::TestControl;
    void OnMouseOut() override {
        Note("out");
        IControl::OnMouseOut();
    }
};

TEST_F(CanvasWindow, ReleasingOutsideAfterADragDeliversUpThenOut) {
    moreLayout = [this](vx::ui::ICanvas* canvas) {
        canvas->AddControl(new OutListener(log, "listener", {150, 80, 160, 90}));
    };
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ak::test::Enter(*window, {30, 30});
    ak::test::Move(*window, {30, 30});
    ASSERT_TRUE(ak::test::WaitUntilServed());
    log.clear();
    ak::test::Press(*window, {30, 30});
    ak::test::Move(*window, {250, 40}, 1); // past the window's right edge
    ASSERT_TRUE(ak::test::WaitUntilServed());
    ak::test::Release(*window, {250, 40});
    ak::test::PumpUntil([&] { return !log.empty() && log.back() == "listener out"; });
    ASSERT_TRUE(ak::test::WaitUntilServed());
    std::vector<std::string> heard;
    for (const std::string& line : log)
        if (line != "control draw" && line != "listener draw")
            heard.push_back(line);
    EXPECT_EQ(heard, (std::vector<std::string>{"control down 30,30", "control drag 250,40 220,10",
                                               "control up 250,40", "listener out"}));
}

// Logs a multiple drop as one call.
struct DropTarget : vx::test::TestControl {
    using TestControl::TestControl;
    void OnDropMultiple(const std::vector<const char*>& paths) override {
        std::string line = "multi";
        for (const char* path : paths)
            line += std::string(" ") + path;
        Note(line);
    }
};

TEST_F(CanvasWindow, AThreeFileDropArrivesOnceAndADropOfNoFileIsRefused) {
    moreLayout = [this](vx::ui::ICanvas* canvas) {
        canvas->AddControl(new DropTarget(log, "target", {100, 20, 180, 80}));
    };
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    log.clear();
    const std::string files = "file:///tmp/a%20b.wav\r\nhttp://example.com/x.wav\r\n"
                              "file:///tmp/c.wav\r\nfile:///tmp/d.wav\r\n";
    EXPECT_TRUE(ak::test::DragFiles(*view, files, {{120, 30}, {140, 50}}, true));
    EXPECT_TRUE(ak::test::DragFiles(*view, "file:///tmp/e.wav\r\n", {{30, 30}}, true));
    EXPECT_FALSE(ak::test::DragFiles(*view, "http://example.com/x.wav\r\n", {{140, 50}}, true));
    EXPECT_FALSE(view->PerformDrop({{}, {30, 30}, {}}));
    std::vector<std::string> drops;
    for (const std::string& line : log)
        if (line.find(" multi") != std::string::npos || line.find(" drop") != std::string::npos)
            drops.push_back(line);
    EXPECT_EQ(drops, (std::vector<std::string>{"target multi /tmp/a b.wav /tmp/c.wav /tmp/d.wav",
                                               "control drop /tmp/e.wav"}));
}

TEST_F(CanvasWindow, MessageBoxesAnswerByTheirButtonsAndTheClipboardRoundTrips) {
    ASSERT_NE(Open(), nullptr);
    struct Case {
        vx::ui::EMsgBoxButtons type;
        int press;
        vx::ui::EMsgBoxResult result;
    };
    const Case cases[] = {
        {vx::ui::EMsgBoxButtons::YesNo, 1, vx::ui::EMsgBoxResult::No},
        {vx::ui::EMsgBoxButtons::OKCancel, 1, vx::ui::EMsgBoxResult::Cancel},
        {vx::ui::EMsgBoxButtons::YesNoCancel, 0, vx::ui::EMsgBoxResult::Yes},
    };
    for (const Case& c : cases) {
        ak::Application::RunOnMainLater([press = c.press] {
            ASSERT_TRUE(ak::test::PumpUntil([] { return ak::test::IsAlertShown(); }));
            ak::test::AlertPressButton(press);
        });
        vx::ui::EMsgBoxResult completed = vx::ui::EMsgBoxResult::None;
        EXPECT_EQ(Canvas()->RunMessageBox("text", "caption", c.type,
                                          [&](vx::ui::EMsgBoxResult r) { completed = r; }),
                  c.result);
        EXPECT_EQ(completed, c.result);
    }

    ASSERT_TRUE(Canvas()->WriteClipboardText("Grüße 🎸"));
    VxString text;
    EXPECT_TRUE(Canvas()->ReadClipboardText(text));
    EXPECT_STREQ(text.Get(), "Grüße 🎸");

    // A clipboard the window system refuses us is reported, not claimed.
    ak::Pasteboard::Clear();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ak::test::RunDuringLateStampedEvent(*window, [&] {
        EXPECT_FALSE(Canvas()->WriteClipboardText("refused"));
        EXPECT_FALSE(Canvas()->WriteClipboardFilePath("/tmp/refused.wav"));
    });
    EXPECT_FALSE(Canvas()->ReadClipboardText(text));
}

} // namespace
