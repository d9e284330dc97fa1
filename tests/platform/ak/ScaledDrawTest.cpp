#include "platform/ak/Screen.h"
#include "platform/ak/View.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

// GTK reads the scale once, when it starts.
const bool kScaled = setenv("GDK_SCALE", "2", 1) == 0;

struct Square : ak::View {
    using View::View;
    void DrawRect(cairo_t* cr, ak::Rect) override {
        cairo_set_source_rgb(cr, 0, 1, 0);
        cairo_rectangle(cr, 0, 0, 10, 10);
        cairo_fill(cr);
    }
};

TEST(ScaledDraw, PointsStayPointsAndPixelsDouble) {
    ASSERT_TRUE(kScaled);
    ASSERT_NE(ak::test::App(), nullptr);
    EXPECT_EQ(ak::Screen::Main().BackingScaleFactor(), 2);
    auto window = ak::MakeRef<ak::Window>(ak::Rect{{40, 40}, {100, 80}}, ak::StyleMask::Titled);
    auto square = ak::MakeRef<Square>(ak::Rect{{10, 10}, {20, 20}});
    window->ContentView()->AddSubview(square.Get());
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    EXPECT_EQ(window->Frame(), (ak::Rect{{40, 40}, {100, 80}}));
    ak::Surface snapshot = window->Snapshot();
    ak::test::SaveSnapshot(*window, "ak-scaled-draw");
    ASSERT_EQ(cairo_image_surface_get_width(snapshot.get()), 200);
    const auto* data = cairo_image_surface_get_data(snapshot.get());
    const int stride = cairo_image_surface_get_stride(snapshot.get());
    auto pixel = [&](int x, int y) {
        return reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
    };
    // The 10-point square at (10, 10) covers pixels 20..39.
    EXPECT_EQ(pixel(20, 20), 0x00FF00u);
    EXPECT_EQ(pixel(39, 39), 0x00FF00u);
    EXPECT_NE(pixel(41, 41), 0x00FF00u);
    EXPECT_NE(pixel(19, 19), 0x00FF00u);
    window->Close();
    ak::test::WaitUntilServed();
}

} // namespace
