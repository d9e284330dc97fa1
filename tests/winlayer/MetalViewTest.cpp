// Window views drawing through Metal on a real display: modes, the refresh
// list, GDI into the frame against a golden, gravity and skipped frames.
#include "winlayer/window/MetalView.h"

#include "platform/ak/Button.h"
#include "platform/ak/Window.h"
#include "platform/ak/test/AkTest.h"
#include "platform/sys/Log.h"
#include "tests/render/support/MetalHarness.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace winlayer::test {
namespace {

// The scene every GDI frame draws: fill, outlined rectangle, axis lines (the
// slanted one is skipped), a pixel, a stretched copy and a half-alpha copy.
void PaintScene(HDC hdc) {
    const RECT all{0, 0, 64, 48};
    HBRUSH white = CreateSolidBrush(0xFFFFFF);
    WISP_FillRect(hdc, &all, white);
    DeleteObject(white);
    HPEN red = CreatePen(0, 2, 0x0000FF);
    HBRUSH blue = CreateSolidBrush(0xFF0000);
    HGDIOBJ oldPen = SelectObject(hdc, red);
    HGDIOBJ oldBrush = SelectObject(hdc, blue);
    Rectangle(hdc, 4, 4, 30, 24);
    HPEN green = CreatePen(0, 1, 0x00FF00);
    SelectObject(hdc, green);
    MoveToEx(hdc, 36, 6, nullptr);
    LineTo(hdc, 60, 6);
    LineTo(hdc, 60, 40);
    LineTo(hdc, 36, 20);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(red);
    DeleteObject(blue);
    DeleteObject(green);
    SetPixel(hdc, 10, 40, 0xFF00FF);

    HDC checker = WISP_CreateMemContext(nullptr, 4, 4);
    auto* pixels = static_cast<std::uint32_t*>(WISP_GetCtxFrameBuffer(checker));
    for (int i = 0; i < 16; ++i)
        pixels[i] = ((i + i / 4) % 2) ? 0xFF000000 : 0xFFFFFF00;
    StretchBlt(hdc, 36, 28, 8, 8, checker, 0, 0, 4, 4, 0);
    for (int i = 0; i < 16; ++i)
        pixels[i] = 0x80FF0000; // red at half alpha
    StretchBlt(hdc, 4, 28, 4, 4, checker, 0, 0, 4, 4, WISP_BLT_ALPHA);
    WISP_DeleteGfxContext(checker);
}

// The presented frame as RGBA (it is opaque: premultiplying changed nothing).
std::vector<unsigned char> FrameRgba(const MetalView& metal, int* width, int* height) {
    const std::vector<unsigned char> bgra = metal.Presented().lastFrame(width, height);
    std::vector<unsigned char> rgba(bgra.size());
    for (std::size_t i = 0; i + 3 < bgra.size(); i += 4) {
        rgba[i] = bgra[i + 2];
        rgba[i + 1] = bgra[i + 1];
        rgba[i + 2] = bgra[i];
        rgba[i + 3] = bgra[i + 3];
    }
    return rgba;
}

class MetalViewTest : public WindowTest {
protected:
    // A top-level window, shown or not, holding one child view at frame.
    HWND MakeChild(RECT frame, bool shown = true) {
        probe.answers[WM_INITDIALOG] = 0;
        top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        if (shown) {
            ShowWindow(top, SW_SHOW);
            EXPECT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));
        }
        auto* view = Wisp_vOmnarControl_hwnd::initChild(
            nullptr, FindView(top), reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0);
        const HWND child = view->Handle();
        SetWindowPos(child, nullptr, frame.left, frame.top, frame.right - frame.left,
                     frame.bottom - frame.top, SWP_NOZORDER);
        ShowWindow(child, SW_SHOW);
        probe.Take();
        return child;
    }
    void SetUp() override {
        WindowTest::SetUp();
        probe.hook = [this](HWND window, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == WM_PAINT && paint)
                paint(window, reinterpret_cast<HDC>(wParam));
            return 0;
        };
        sys::SetLogSink([this](const std::string& line) { logged.push_back(line); });
    }
    void TearDown() override {
        sys::SetLogSink({});
        WindowTest::TearDown();
    }
    DialogResourceRecord resource{1, "Metal", 28, nullptr, 240, 160, nullptr};
    HWND top = nullptr;
    std::function<void(HWND, HDC)> paint;
    std::vector<std::string> logged;
};

TEST_F(MetalViewTest, ModesAreSetOnceAndOnlyOnWindowViews) {
    const HWND view = MakeChild({10, 10, 74, 58});
    EXPECT_EQ(WISP_EnableMetal(view, 5), 2);
    EXPECT_EQ(WISP_EnableMetal(view, 1), 2);
    ASSERT_NE(MetalOf(view), nullptr);

    const HWND layered =
        Wisp_vOmnarControl_hwnd::initChild(nullptr, FindView(top),
                                           reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0)
            ->Handle();
    EXPECT_EQ(WISP_EnableMetal(layered, -1), -1);
    EXPECT_EQ(WISP_EnableMetal(layered, 2), -1); // a plain layer stays one
    EXPECT_EQ(MetalOf(layered), nullptr);

    auto button = ak::MakeRef<ak::Button>(ak::Rect{{0, 90}, {60, 24}}, ak::ButtonKind::Push);
    FindView(top)->AddSubview(button.Get());
    EXPECT_EQ(WISP_EnableMetal(HandleOf(button.Get()), 2), 0);
    EXPECT_EQ(WISP_EnableMetal(nullptr, 2), 0);
    EXPECT_EQ(WISP_CreateMetalDC(layered), nullptr);
}

// Full and direct mode present the same frame, and the view shows it.
TEST_F(MetalViewTest, GdiDrawsIntoThePresentedFrameInBothModes) {
    for (const int mode : {2, 1}) {
        SCOPED_TRACE(mode);
        const HWND view = MakeChild({10, 10, 74, 58});
        paint = [](HWND, HDC hdc) { PaintScene(hdc); };
        ASSERT_EQ(WISP_EnableMetal(view, mode), mode);
        FlushMetalViews();
        const MetalView& metal = *MetalOf(view);
        ASSERT_GE(metal.Presented().framesPresented(), 1);
        int width = 0, height = 0;
        const std::vector<unsigned char> rgba = FrameRgba(metal, &width, &height);
        ASSERT_EQ(width, 64);
        ASSERT_EQ(height, 48);
        std::string message;
        EXPECT_TRUE(render_test::matches_golden_in(WINLAYER_GOLDEN_DIR, "metal_gdi", width, height,
                                                   rgba, message))
            << message;

        // The window shows the frame where the view is.
        ak::Window& window = *FindWindow(top);
        ASSERT_TRUE(ak::test::PumpUntil([&] {
            const ak::Surface shot = window.Snapshot();
            cairo_surface_flush(shot.get());
            const ak::Point p = FindView(view)->ConvertPointToView(ak::Point{10, 10}, nullptr);
            const auto* line = cairo_image_surface_get_data(shot.get()) +
                               int(p.y) * cairo_image_surface_get_stride(shot.get());
            return (reinterpret_cast<const std::uint32_t*>(line)[int(p.x)] & 0xFFFFFF) ==
                   0xFF0000; // inside the rectangle: its red brush
        }));
        DestroyWindow(top);
        paint = nullptr;
    }
    for (const std::string& line : logged) // a device's first use is noted, nothing else
        EXPECT_EQ(line.rfind("wisp-cocoa: creating metal device context", 0), 0u) << line;
}

// GetDC outside a paint draws into the frame; ReleaseDC refreshes the view,
// which in full mode keeps what was written where the paint draws nothing.
TEST_F(MetalViewTest, GetDCWritesAreShownAtTheRelease) {
    for (const int mode : {2, 1}) {
        SCOPED_TRACE(mode);
        logged.clear();
        const HWND view = MakeChild({10, 10, 74, 58});
        ASSERT_EQ(WISP_EnableMetal(view, mode), mode);
        FlushMetalViews();
        const MetalView& metal = *MetalOf(view);
        const int frames = metal.Presented().framesPresented();
        HDC hdc = GetDC(view);
        ASSERT_NE(hdc, nullptr);
        EXPECT_EQ(WISP_GetCtxGC(hdc), nullptr); // no cairo context behind it
        const RECT square{2, 2, 6, 6};
        HBRUSH green = CreateSolidBrush(0x00FF00);
        WISP_FillRect(hdc, &square, green);
        DeleteObject(green);
        EXPECT_EQ(ReleaseDC(view, hdc), 1);
        if (mode == 2) {
            ASSERT_EQ(metal.Presented().framesPresented(), frames + 1);
            int width = 0;
            const std::vector<unsigned char> bgra = metal.Presented().lastFrame(&width, nullptr);
            EXPECT_EQ(bgra[(std::size_t(3) * width + 3) * 4 + 1], 255); // green
            EXPECT_TRUE(logged.empty());
        } else { // direct mode takes a fresh drawable for the refresh: unsupported
            EXPECT_EQ(metal.Presented().framesPresented(), frames);
            ASSERT_EQ(logged.size(), 1u);
            EXPECT_NE(logged[0].find("metal(1) surface"), std::string::npos);
        }
        DestroyWindow(top);
    }
}

TEST_F(MetalViewTest, RefreshListWaitsForVisibleWindowsAndHidingTakesViewsOff) {
    int paints = 0;
    HWND view = nullptr;
    paint = [&](HWND window, HDC) { paints += window == view; };
    view = MakeChild({10, 10, 74, 58}, false);
    ASSERT_EQ(WISP_EnableMetal(view, 2), 2);
    const RECT first{0, 0, 10, 10}, second{20, 20, 30, 30};
    InvalidateRect(view, &first, FALSE);
    InvalidateRect(view, &second, FALSE);
    FlushMetalViews(); // the window is not shown: nothing drawn, still listed
    EXPECT_EQ(paints, 0);
    EXPECT_TRUE(MetalViewListed(view));

    ShowWindow(top, SW_SHOW);
    ASSERT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));
    FlushMetalViews();
    EXPECT_EQ(paints, 1);
    EXPECT_FALSE(MetalViewListed(view));

    InvalidateRect(view, nullptr, FALSE);
    ShowWindow(view, SW_HIDE);
    EXPECT_FALSE(MetalViewListed(view));
    FlushMetalViews();
    EXPECT_EQ(paints, 1);
    ShowWindow(view, SW_SHOW); // showing draws at once
    EXPECT_EQ(paints, 2);
    EXPECT_FALSE(MetalViewListed(view));

    InvalidateRect(view, nullptr, FALSE);
    DestroyWindow(view); // off the list with it
    FlushMetalViews();
    EXPECT_EQ(paints, 2);
}

TEST_F(MetalViewTest, WideningFromTheLeftAnchorsTheFrameRight) {
    paint = [](HWND, HDC hdc) { PaintScene(hdc); };
    const HWND view = MakeChild({50, 10, 90, 40});
    ASSERT_EQ(WISP_EnableMetal(view, 2), 2);
    FlushMetalViews();
    const MetalView& metal = *MetalOf(view);
    EXPECT_EQ(metal.GravityBits(), 0);
    SetWindowPos(view, nullptr, 30, 10, 60, 30, SWP_NOZORDER);
    InvalidateRect(view, nullptr, FALSE);
    FlushMetalViews();
    EXPECT_EQ(metal.GravityBits() & 1, 1);
    SetWindowPos(view, nullptr, 30, 10, 80, 30, SWP_NOZORDER); // now the right edge moves
    InvalidateRect(view, nullptr, FALSE);
    FlushMetalViews();
    EXPECT_EQ(metal.GravityBits() & 1, 0);
}

TEST_F(MetalViewTest, AViewWithoutAreaSkipsItsFrame) {
    paint = [](HWND, HDC hdc) { PaintScene(hdc); };
    const HWND view = MakeChild({10, 10, 74, 58});
    ASSERT_EQ(WISP_EnableMetal(view, 2), 2);
    FlushMetalViews();
    const int frames = MetalOf(view)->Presented().framesPresented();
    SetWindowPos(view, nullptr, 10, 10, 0, 48, SWP_NOZORDER);
    InvalidateRect(view, nullptr, FALSE);
    FlushMetalViews();
    EXPECT_EQ(MetalOf(view)->Presented().framesPresented(), frames);
    ASSERT_FALSE(logged.empty());
    EXPECT_EQ(logged.back(), "wisp-cocoa: metal with empty bounds\n");
}

TEST(MetalDeviceNameTest, TheDefaultDeviceIsNamedWithinTheBuffer) {
    char name[64] = "x";
    EXPECT_TRUE(DefaultMetalDeviceName(name, sizeof name));
    EXPECT_STREQ(name, "CPU Metal device");
    char small[4] = "x";
    EXPECT_TRUE(DefaultMetalDeviceName(small, sizeof small));
    EXPECT_STREQ(small, "CPU");
    EXPECT_FALSE(DefaultMetalDeviceName(small, 0));
    EXPECT_FALSE(DefaultMetalDeviceName(nullptr, 8));
}

} // namespace
} // namespace winlayer::test
