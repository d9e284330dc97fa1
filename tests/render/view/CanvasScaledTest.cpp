// The panel on a screen of backing scale 2: the drawable has twice the
// points, frames paint at that scale, and a same-value scale change only
// resets the drawable.
#include "platform/ak/Screen.h"
#include "tests/render/view/CanvasWindow.h"
#include "tests/render/view/WindowGolden.h"

#include <algorithm>
#include <cstdlib>

namespace {

// GTK reads the scale once, when it starts.
const bool kScaled = setenv("GDK_SCALE", "2", 1) == 0;

using vx::test::CanvasWindow;

TEST_F(CanvasWindow, AtScaleTwoTheDrawableDoublesAndASameScaleOnlyResetsIt) {
    ASSERT_TRUE(kScaled);
    ASSERT_EQ(ak::Screen::Main().BackingScaleFactor(), 2);
    moreLayout = [](vx::ui::ICanvas* canvas) { vx::test::AddGoldenKnob(canvas); };
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Canvas()->GetScreenScale(), 2.f);
    EXPECT_EQ(view->Frame().size, (ak::Size{200, 100}));
    EXPECT_EQ(view->Layer()->drawableSize.width, 400u);
    EXPECT_EQ(view->Layer()->drawableSize.height, 200u);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return view->FramesPainted() > 0; }));
    ASSERT_TRUE(WaitUntilStill(view));
    view->Frames().WithKept([](const vx::ui::FrameStore::Frame& f) { EXPECT_EQ(f.width, 400); });
    std::string message;
    EXPECT_TRUE(WaitUntilWindowMatches(view, "canvas_view_window_x2", message)) << message;

    const auto rescales = [&] { return std::count(log.begin(), log.end(), "control rescale"); };
    const auto before = rescales();
    view->Layer()->drawableSize = {1, 1, 1};
    view->BackingScaleChanged(2);
    EXPECT_EQ(rescales(), before);
    EXPECT_EQ(view->Layer()->drawableSize.width, 400u);
    EXPECT_EQ(view->Layer()->drawableSize.height, 200u);
}

} // namespace
