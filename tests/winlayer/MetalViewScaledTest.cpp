// Metal window views on a display at twice the point size.
#include <cstdlib>

const bool kScaled = setenv("GDK_SCALE", "2", 1) == 0;

#include "winlayer/window/MetalView.h"

#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

namespace winlayer::test {
namespace {

class MetalViewScaledTest : public WindowTest {
protected:
    HWND MakeChild(int width, int height) {
        probe.answers[WM_INITDIALOG] = 0;
        const HWND top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        ShowWindow(top, SW_SHOW);
        EXPECT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));
        const HWND child =
            Wisp_vOmnarControl_hwnd::initChild(nullptr, FindView(top),
                                               reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0)
                ->Handle();
        SetWindowPos(child, nullptr, 0, 0, width, height, SWP_NOZORDER);
        ShowWindow(child, SW_SHOW);
        probe.hook = [this, child](HWND window, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == WM_PAINT && window == child)
                paint(reinterpret_cast<HDC>(wParam));
            return 0;
        };
        return child;
    }
    DialogResourceRecord resource{1, "Metal", 28, nullptr, 200, 100, nullptr};
    std::function<void(HDC)> paint;
};

// A copy to half its size is a retina copy and opens the frame at twice the
// point size; later fills land at twice their coordinates.
TEST_F(MetalViewScaledTest, RetinaFramesAreTwiceThePointSizeUpToTheLargestDrawable) {
    ASSERT_TRUE(kScaled);
    struct Case {
        int width, height;
        int drawableWidth, drawableHeight;
    };
    for (const Case& c : {Case{32, 24, 64, 48}, Case{10000, 10, 16384, 20}}) {
        SCOPED_TRACE(c.width);
        const HWND view = MakeChild(c.width, c.height);
        paint = [&](HDC hdc) {
            HDC white = WISP_CreateMemContext(nullptr, 2 * c.width, 2 * c.height);
            const RECT all{0, 0, 2 * c.width, 2 * c.height};
            HBRUSH brush = CreateSolidBrush(0xFFFFFF);
            WISP_FillRect(white, &all, brush);
            DeleteObject(brush);
            StretchBlt(hdc, 0, 0, c.width, c.height, white, 0, 0, 2 * c.width, 2 * c.height, 0);
            WISP_DeleteGfxContext(white);
            EXPECT_TRUE(WISP_IsRetinaDC(hdc));
            const RECT square{4, 4, 8, 8};
            HBRUSH blue = CreateSolidBrush(0x0000FF);
            WISP_FillRect(hdc, &square, blue);
            DeleteObject(blue);
        };
        ASSERT_EQ(WISP_EnableMetal(view, 2), 2);
        FlushMetalViews();
        const MetalView& metal = *MetalOf(view);
        EXPECT_EQ(metal.Layer().drawableSize.width, std::size_t(c.drawableWidth));
        EXPECT_EQ(metal.Layer().drawableSize.height, std::size_t(c.drawableHeight));
        int width = 0, height = 0;
        const std::vector<unsigned char> bgra = metal.Presented().lastFrame(&width, &height);
        ASSERT_EQ(width, c.drawableWidth);
        ASSERT_EQ(height, c.drawableHeight);
        const auto blueAt = [&](int x, int y) {
            const unsigned char* p = &bgra[(std::size_t(y) * width + x) * 4];
            return p[0] == 255 && p[1] == 0 && p[2] == 0;
        };
        EXPECT_TRUE(blueAt(8, 8));
        EXPECT_TRUE(blueAt(15, std::min(15, height - 1)));
        EXPECT_FALSE(blueAt(7, 7));
        EXPECT_FALSE(blueAt(16, 8));
        DestroyWindow(GetParent(view));
    }
}

} // namespace
} // namespace winlayer::test
