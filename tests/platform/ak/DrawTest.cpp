#include "platform/ak/View.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct FillingView : ak::View {
    using View::View;
    void DrawRect(cairo_t* cr, ak::Rect) override {
        cairo_set_source_rgb(cr, r, g, b);
        cairo_rectangle(cr, 10, 5, 30, 20);
        cairo_fill(cr);
    }
    bool IsFlipped() const override { return flipped; }
    double r = 1, g = 0, b = 0;
    bool flipped = true;
};

uint32_t PixelAt(cairo_surface_t* surface, int x, int y) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xFFFFFF;
}

TEST(Draw, AViewsFillLandsAtItsFrameInTheSnapshot) {
    ASSERT_NE(ak::test::App(), nullptr);
    auto window = ak::MakeRef<ak::Window>(ak::Rect{{50, 50}, {200, 150}}, ak::StyleMask::Titled);
    auto flipped = ak::MakeRef<FillingView>(ak::Rect{{20, 30}, {60, 40}});
    auto upward = ak::MakeRef<FillingView>(ak::Rect{{100, 30}, {60, 40}});
    upward->flipped = false;
    upward->r = 0;
    upward->b = 1;
    window->ContentView()->AddSubview(flipped.Get());
    window->ContentView()->AddSubview(upward.Get());
    window->MakeKeyAndOrderFront();
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ak::Surface snapshot = window->Snapshot();
    ASSERT_EQ(cairo_image_surface_get_width(snapshot.get()), 200);
    ak::test::SaveSnapshot(*window, "ak-draw");
    // Flipped: the fill spans x 30..60, y 35..55 of the window.
    EXPECT_EQ(PixelAt(snapshot.get(), 31, 36), 0xFF0000u);
    EXPECT_EQ(PixelAt(snapshot.get(), 59, 54), 0xFF0000u);
    EXPECT_NE(PixelAt(snapshot.get(), 61, 36), 0xFF0000u);
    // Not flipped: y counts up from the view's bottom (30 + 40): 45..65.
    EXPECT_EQ(PixelAt(snapshot.get(), 111, 64), 0x0000FFu);
    EXPECT_NE(PixelAt(snapshot.get(), 111, 40), 0x0000FFu);
    window->Close();
    ak::test::WaitUntilServed();
}

} // namespace
