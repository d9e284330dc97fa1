#include "winlayer/Gdi.h"

#include "tests/render/support/MetalHarness.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

// A white memory context, drawn into, its pixels as RGBA.
struct Canvas {
    int width, height;
    HDC hdc;
    Canvas(int w, int h) : width(w), height(h), hdc(WISP_CreateMemContext(nullptr, w, h)) {
        const RECT all{0, 0, w, h};
        HBRUSH white = CreateSolidBrush(0xFFFFFF);
        WISP_FillRect(hdc, &all, white);
        DeleteObject(white);
    }
    ~Canvas() { WISP_DeleteGfxContext(hdc); }

    uint32_t Pixel(int x, int y) const {
        const auto* p = static_cast<const uint32_t*>(WISP_GetCtxFrameBuffer(hdc));
        return p[size_t(y) * width + x] & 0xFFFFFF;
    }
    std::vector<unsigned char> Rgba() const {
        std::vector<unsigned char> rgba;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const uint32_t p = Pixel(x, y);
                rgba.insert(rgba.end(), {static_cast<unsigned char>(p >> 16),
                                         static_cast<unsigned char>(p >> 8),
                                         static_cast<unsigned char>(p), 255});
            }
        return rgba;
    }
    void ExpectGolden(const std::string& name) const {
        std::string message;
        EXPECT_TRUE(render_test::matches_golden_in(WINLAYER_GOLDEN_DIR, name, width, height, Rgba(),
                                                   message))
            << message;
    }
};

// Selects a pen and a brush for one drawing, then deletes them.
void WithPenAndBrush(HDC hdc, HPEN pen, HBRUSH brush, const std::function<void()>& draw) {
    HGDIOBJ oldPen = pen ? SelectObject(hdc, pen) : nullptr;
    HGDIOBJ oldBrush = brush ? SelectObject(hdc, brush) : nullptr;
    draw();
    if (pen) {
        SelectObject(hdc, oldPen);
        DeleteObject(pen);
    }
    if (brush) {
        SelectObject(hdc, oldBrush);
        DeleteObject(brush);
    }
}

TEST(GdiGoldenTest, Lines) {
    Canvas c(32, 20);
    WithPenAndBrush(c.hdc, CreatePen(0, 0, 0x000000), nullptr, [&] {
        MoveToEx(c.hdc, 0, 0, nullptr);
        EXPECT_TRUE(LineTo(c.hdc, 10, 0));
    });
    // One pixel high, on row 0.
    EXPECT_EQ(c.Pixel(5, 0), 0x000000u);
    EXPECT_EQ(c.Pixel(5, 1), 0xFFFFFFu);
    WithPenAndBrush(c.hdc, CreatePen(0, 3, 0xFF0000), nullptr, [&] {
        POINT old{};
        MoveToEx(c.hdc, 2, 5, nullptr);
        LineTo(c.hdc, 28, 5);
        LineTo(c.hdc, 28, 16);
        MoveToEx(c.hdc, 1, 1, &old);
        EXPECT_EQ(old.x, 28);
        EXPECT_EQ(old.y, 16);
    });
    WithPenAndBrush(c.hdc, CreatePen(0, 1, 0x0000FF), nullptr, [&] {
        const POINT points[] = {{2, 10}, {8, 16}, {14, 10}, {20, 12}, {30, 2}};
        const DWORD counts[] = {3, 1, 1};
        EXPECT_TRUE(PolyPolyline(c.hdc, points, counts, 3));
        MoveToEx(c.hdc, 2, 18, nullptr);
        const POINT curve[] = {{8, 12}, {14, 24}, {22, 14}};
        EXPECT_TRUE(PolyBezierTo(c.hdc, curve, 3));
    });
    // The null pen draws nothing.
    WithPenAndBrush(c.hdc, nullptr, nullptr, [&] {
        SelectObject(c.hdc, GetStockObject(1));
        EXPECT_FALSE(LineTo(c.hdc, 31, 19));
    });
    SetPixel(c.hdc, 31, 19, 0x00FF00);
    EXPECT_EQ(c.Pixel(31, 19), 0x00FF00u);
    c.ExpectGolden("gdi_lines");
}

TEST(GdiGoldenTest, Shapes) {
    Canvas c(64, 48);
    WithPenAndBrush(c.hdc, CreatePen(0, 1, 0x000080), CreateSolidBrush(0xFFC000), [&] {
        const POINT triangle[] = {{4, 40}, {16, 4}, {28, 40}};
        EXPECT_TRUE(WISP_Polygon(c.hdc, triangle, 3));
        EXPECT_TRUE(Ellipse(c.hdc, 32, 4, 60, 24));
        EXPECT_TRUE(RoundRect(c.hdc, 32, 28, 60, 44, 12, 9));
    });
    WithPenAndBrush(c.hdc, nullptr, CreateSolidBrush(0x008000), [&] {
        SelectObject(c.hdc, GetStockObject(1));
        EXPECT_TRUE(Rectangle(c.hdc, 20, 20, 26, 26));
        SelectObject(c.hdc, GetStockObject(2));
        EXPECT_FALSE(Rectangle(c.hdc, 0, 0, 4, 4));
    });
    EXPECT_EQ(c.Pixel(22, 22), 0x008000u);
    c.ExpectGolden("gdi_shapes");
}

TEST(GdiGoldenTest, RoundRectCutsItsCorners) {
    Canvas c(40, 30);
    WithPenAndBrush(c.hdc, nullptr, CreateSolidBrush(0x000000), [&] {
        SelectObject(c.hdc, GetStockObject(1));
        EXPECT_TRUE(RoundRect(c.hdc, 0, 0, 30, 30, 12, 9));
    });
    // Corners cut by 12/3 = 4 across and 9/3 = 3 down.
    EXPECT_EQ(c.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(15, 0), 0x000000u);
    EXPECT_EQ(c.Pixel(0, 15), 0x000000u);
    EXPECT_EQ(c.Pixel(29, 29), 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(35, 15), 0xFFFFFFu);
}

TEST(GdiGoldenTest, StretchBlt) {
    // A 4×4 source of four coloured quarters, the top-left one half-transparent
    // in its high byte.
    HDC source = WISP_CreateMemContext(nullptr, 4, 4);
    auto* pixels = static_cast<uint32_t*>(WISP_GetCtxFrameBuffer(source));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            pixels[y * 4 + x] =
                y < 2 ? (x < 2 ? 0x80FF0000 : 0xFF00FF00) : (x < 2 ? 0xFF0000FF : 0xFF000000);
    Canvas c(48, 24);
    StretchBlt(c.hdc, 0, 0, 16, 16, source, 0, 0, 4, 4, 0);
    // Nearest neighbour: hard edges.
    EXPECT_EQ(c.Pixel(7, 7), 0xFF0000u);
    EXPECT_EQ(c.Pixel(8, 7), 0x00FF00u);
    EXPECT_EQ(c.Pixel(7, 8), 0x0000FFu);
    // Negative origin: the first source column is skipped, the copy moves right.
    StretchBlt(c.hdc, 16, 0, 8, 8, source, -1, 0, 4, 4, 0);
    EXPECT_EQ(c.Pixel(17, 2), 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(18, 2), 0xFF0000u);
    // The high byte as alpha: half red over white.
    StretchBlt(c.hdc, 28, 0, 16, 16, source, 0, 0, 4, 4, WISP_BLT_ALPHA);
    EXPECT_EQ(c.Pixel(30, 2), 0xFF7F7Fu);
    BitBlt(c.hdc, 0, 18, 4, 4, source, 0, 0, 0);
    EXPECT_EQ(c.Pixel(3, 19), 0x00FF00u);
    // Nothing from a context that is no memory context, or off the bitmap.
    StretchBlt(c.hdc, 0, 0, 4, 4, nullptr, 0, 0, 4, 4, 0);
    StretchBlt(c.hdc, 40, 18, 4, 4, source, 4, 0, 4, 4, 0);
    EXPECT_EQ(c.Pixel(41, 19), 0xFFFFFFu);
    WISP_DeleteGfxContext(source);
    c.ExpectGolden("gdi_stretchblt");
}

TEST(GdiGoldenTest, MagentaKeyClearsPixels) {
    const std::string folder =
        std::filesystem::temp_directory_path() / ("winlayer-magenta-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const unsigned char rgb[] = {255, 0, 255, 0, 0, 255, 0, 0, 255, 255, 0, 255};
    const std::string png = folder + "/key.png";
    ASSERT_TRUE(stbi_write_png(png.c_str(), 2, 2, 3, rgb, 6));
    Canvas c(16, 8);
    HBITMAP keyed = LoadNamedImage(png.c_str(), true);
    HBITMAP plain = LoadNamedImage(png.c_str(), false);
    ASSERT_TRUE(keyed && plain);
    const RECT left{0, 0, 2, 2}, right{8, 0, 10, 2}, scaled{0, 4, 16, 8};
    DrawImageInRect(c.hdc, keyed, &left);
    DrawImageInRect(c.hdc, plain, &right);
    DrawImageInRect(c.hdc, keyed, &scaled);
    EXPECT_EQ(c.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(c.Pixel(1, 0), 0x0000FFu);
    EXPECT_EQ(c.Pixel(8, 0), 0xFF00FFu);
    EXPECT_EQ(LoadNamedImage((folder + "/missing.png").c_str(), false), nullptr);
    DeleteObject(keyed);
    DeleteObject(plain);
    std::filesystem::remove_all(folder);
    c.ExpectGolden("gdi_magenta");
}

} // namespace
