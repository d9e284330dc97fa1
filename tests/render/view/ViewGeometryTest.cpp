#include "render/view/ViewGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewGeometry, PanelRectanglesCoverEveryTouchedPoint) {
    struct Case {
        vx::ui::IRECT panel;
        float scale;
        ak::Rect view;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, 1.f, {{0, 0}, {10, 10}}},
        {{1.5f, 2.5f, 3.2f, 4.1f}, 1.f, {{1, 2}, {3, 3}}},
        {{3, 3, 7, 7}, 0.5f, {{1, 1}, {3, 3}}}, // 1.5..3.5 -> 1..4
        {{-1.2f, 0, 0.4f, 1}, 1.f, {{-2, 0}, {3, 1}}},
        {{0, 0, 0, 0}, 2.f, {{0, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        const ak::Rect r = vx::ui::ViewRectOf(c.panel, c.scale);
        EXPECT_EQ(r.origin.x, c.view.origin.x) << c.panel.L;
        EXPECT_EQ(r.origin.y, c.view.origin.y) << c.panel.T;
        EXPECT_EQ(r.size.width, c.view.size.width) << c.panel.R;
        EXPECT_EQ(r.size.height, c.view.size.height) << c.panel.B;
    }
}

TEST(ViewGeometry, ViewSizeTruncatesAndTimerRounds) {
    EXPECT_EQ(vx::ui::PanelViewSize(1920, 1200, 0.5f), (ak::Size{960, 600}));
    EXPECT_EQ(vx::ui::PanelViewSize(101, 33, 0.5f), (ak::Size{50, 16}));
    EXPECT_EQ(vx::ui::FrameIntervalMs(60), 17u);
    EXPECT_EQ(vx::ui::FrameIntervalMs(30), 33u);
    EXPECT_EQ(vx::ui::FrameIntervalMs(2000), 1u);
    EXPECT_EQ(vx::ui::FrameIntervalMs(0), 17u); // a broken rate still ticks
}

} // namespace
