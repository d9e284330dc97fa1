#include "platform/ak/ScrollView.h"
#include "platform/ak/Event.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using ak::Point;
using ak::Rect;

// A tall page, blue with one red square at (60, 320), that notes its presses
// in its own coordinates.
struct Page : ak::View {
    using View::View;
    void DrawRect(cairo_t* cr, Rect) override {
        cairo_set_source_rgb(cr, 0, 0, 1);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 1, 0, 0);
        cairo_rectangle(cr, 60, 320, 10, 10);
        cairo_fill(cr);
    }
    void MouseDown(const ak::Event& event) override {
        presses.push_back(ConvertPointFromView(event.locationInWindow, nullptr));
    }
    std::vector<Point> presses;
};

struct ScrollViewTest : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(ak::test::App(), nullptr);
        window = ak::MakeRef<ak::Window>(ak::Rect{{40, 40}, {300, 250}}, ak::StyleMask::Titled);
        scroll = ak::MakeRef<ak::ScrollView>(Rect{{10, 10}, {200, 150}});
        page = ak::MakeRef<Page>(Rect{{}, {400, 600}});
        scroll->SetDocumentView(page.Get());
        window->ContentView()->AddSubview(scroll.Get());
        window->MakeKeyAndOrderFront();
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    }
    void TearDown() override {
        window->Close();
        ak::test::WaitUntilServed();
    }
    uint32_t PixelOfPage(const ak::Surface& shot, Point inPage) {
        const Point p = page->ConvertPointToView(inPage, nullptr);
        const unsigned char* data = cairo_image_surface_get_data(shot.get());
        const int stride = cairo_image_surface_get_stride(shot.get());
        return reinterpret_cast<const uint32_t*>(data + int(p.y) * stride)[int(p.x)] & 0xFFFFFF;
    }
    ak::Ref<ak::Window> window;
    ak::Ref<ak::ScrollView> scroll;
    ak::Ref<Page> page;
};

TEST_F(ScrollViewTest, ScrollersAppearOnlyWhileTheDocumentDoesNotFit) {
    EXPECT_TRUE(scroll->IsVerticalScrollerShown());
    EXPECT_TRUE(scroll->IsHorizontalScrollerShown());
    const Rect visible = scroll->DocumentVisibleRect();
    EXPECT_EQ(visible.origin, Point{});
    EXPECT_LT(visible.size.width, 200);
    EXPECT_LT(visible.size.height, 150);

    page->SetFrameSize({150, 600}); // narrower than the room beside the scroller
    EXPECT_TRUE(scroll->IsVerticalScrollerShown());
    EXPECT_FALSE(scroll->IsHorizontalScrollerShown());
    EXPECT_DOUBLE_EQ(scroll->DocumentVisibleRect().size.height, 150);

    scroll->ScrollToPoint({0, 500});
    page->SetFrameSize({100, 100}); // fits: back to the top, no scrollers
    EXPECT_FALSE(scroll->IsVerticalScrollerShown());
    EXPECT_EQ(scroll->DocumentVisibleRect(), (Rect{{}, {200, 150}}));

    scroll->SetHasVerticalScroller(false);
    page->SetFrameSize({100, 900});
    EXPECT_FALSE(scroll->IsVerticalScrollerShown());
}

TEST_F(ScrollViewTest, ScrollingKeepsWithinTheDocumentAndShowsItsOtherParts) {
    const Rect visible = scroll->DocumentVisibleRect();
    scroll->ScrollToPoint({-5, 10000});
    EXPECT_EQ(scroll->DocumentVisibleRect().origin, (Point{0, 600 - visible.size.height}));
    scroll->ScrollToPoint({0, 0});
    scroll->ScrollRectToVisible({{60, 320}, {10, 10}});
    EXPECT_EQ(scroll->DocumentVisibleRect().origin, (Point{0, 330 - visible.size.height}));

    // At once: the snapshot lays the page out where it now is.
    const ak::Surface shot = window->Snapshot();
    EXPECT_EQ(PixelOfPage(shot, {65, 325}), 0xFF0000u);
    EXPECT_EQ(PixelOfPage(shot, {20, 325}), 0x0000FFu);
    const Point beside = scroll->ConvertPointToView({visible.MaxX() + 2, 20}, nullptr);
    const unsigned char* data = cairo_image_surface_get_data(shot.get());
    EXPECT_NE(
        reinterpret_cast<const uint32_t*>(
            data + int(beside.y) * cairo_image_surface_get_stride(shot.get()))[int(beside.x)] &
            0xFFFFFF,
        0x0000FFu)
        << "the page stays inside the clip, off the scroller";
}

TEST_F(ScrollViewTest, TheMouseReachesTheDocumentAtItsOwnPointsAndTheWheelScrolls) {
    scroll->ScrollToPoint({50, 300});
    const Point at = page->ConvertPointToView({60, 320}, nullptr);
    EXPECT_EQ(at, (Point{10 + 10, 10 + 20}));
    ak::test::Enter(*window, at);
    ak::test::Click(*window, at);
    EXPECT_TRUE(ak::test::WaitUntilServed());
    EXPECT_EQ(page->presses, std::vector<Point>{Point(60, 320)});

    ak::test::Scroll(*window, at, 1); // down: further into the page
    ak::test::PumpUntil([&] { return scroll->DocumentVisibleRect().origin != Point{50, 300}; });
    EXPECT_EQ(scroll->DocumentVisibleRect().origin, (Point{50, 340}));
    ak::test::Scroll(*window, at, 0);
    ak::test::Scroll(*window, at, 0);
    ak::test::PumpUntil([&] { return scroll->DocumentVisibleRect().origin.y <= 260; });
    EXPECT_EQ(scroll->DocumentVisibleRect().origin, (Point{50, 260}));

    scroll->SetDocumentView(nullptr);
    EXPECT_EQ(page->Superview(), nullptr);
    EXPECT_FALSE(scroll->IsVerticalScrollerShown());
}

} // namespace
