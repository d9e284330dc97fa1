#include "winlayer/Gdi.h"
#include "winlayer/GdiText.h"
#include "winlayer/window/TopLevel.h"

#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"

#include <gtest/gtest.h>

namespace winlayer::test {
namespace {

// Run with GTK_THEME=Adwaita:dark.
TEST_F(WindowTest, DarkThemeColoursStaticTextWhite) {
    DialogResourceRecord resource{1, "Dark", 28, nullptr, 200, 100, nullptr};
    probe.answers[WM_INITDIALOG] = 0;
    const HWND top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(GetSysColor(3), 0xFFFFFF);
    EXPECT_EQ(GetSysColor(2), 0x252525);
    EXPECT_TRUE(WISP_osx_is_dark_mode(0));
    HDC hdc = WISP_CreateMemContext(nullptr, 4, 4);
    SetTextColor(hdc, 0x123456);
    const LRESULT brush = DefWindowProc(top, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), 0);
    EXPECT_NE(brush, 0);
    EXPECT_EQ(GetTextColor(hdc), 0xFFFFFF);
    // The same brush every time; none without a context.
    EXPECT_EQ(DefWindowProc(top, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), 0), brush);
    EXPECT_EQ(DefWindowProc(top, WM_CTLCOLORSTATIC, 0, 0), 0);
    // The dialog background is the dark grey.
    const RECT all{0, 0, 4, 4};
    WISP_FillDialogBackground(hdc, &all);
    const auto* pixels = static_cast<const uint32_t*>(WISP_GetCtxFrameBuffer(hdc));
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x252525u);
    WISP_DeleteGfxContext(hdc);
    DestroyWindow(top);
}

} // namespace
} // namespace winlayer::test
