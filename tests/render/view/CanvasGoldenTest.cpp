// The panel in a real window, compared pixel for pixel: the first frame and
// the frame after a knob is dragged.
#include "tests/render/view/CanvasWindow.h"
#include "tests/render/view/WindowGolden.h"

namespace {

using vx::test::CanvasWindow;
using vx::test::FakeDelegate;

struct CanvasGolden : CanvasWindow {
    void SetUp() override {
        moreLayout = [](vx::ui::ICanvas* canvas) { vx::test::AddGoldenKnob(canvas); };
        CanvasWindow::SetUp();
    }
};

TEST_F(CanvasGolden, TheFirstFrameAndADraggedKnobShowExactly) {
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->FramesPainted() > 0; }));
    std::string message;
    EXPECT_TRUE(WaitUntilWindowMatches(view, "canvas_view_window", message)) << message;

    const int painted = view->FramesPainted();
    ak::test::Enter(*window, {150, 50});
    ak::test::Press(*window, {150, 50});
    ak::test::Move(*window, {150, 30}, 1);
    ak::test::Release(*window, {150, 30});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->FramesPainted() > painted; }));
    EXPECT_GT(delegate.GetParam(FakeDelegate::kGain)->CurrentValue(), 25);
    EXPECT_TRUE(WaitUntilWindowMatches(view, "canvas_view_window_dragged", message)) << message;
}

} // namespace
