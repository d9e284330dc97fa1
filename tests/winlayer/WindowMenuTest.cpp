#include "winlayer/ApiNames.h"
#include "winlayer/TimerList.h"
#include "winlayer/WinBasics.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/draw/GdiText.h"
#include "winlayer/draw/Menus.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include "platform/ak/Menu.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/AppMenuList.h"
#include "tests/winlayer/support/WindowProbe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

namespace winlayer::test {
namespace {

using Log = std::vector<std::string>;

std::string H(const void* handle) {
    return std::to_string(reinterpret_cast<WPARAM>(handle));
}

bool Has(const Log& log, const std::string& line) {
    return std::find(log.begin(), log.end(), line) != log.end();
}

class WindowMenuTest : public WindowTest {
protected:
    // A shown, key top-level window whose content view logs as "top".
    HWND MakeShownTop() {
        probe.answers[WM_INITDIALOG] = 0;
        const HWND top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        probe.names[top] = "top";
        ShowWindow(top, SW_SHOW);
        EXPECT_TRUE(ak::test::WaitUntilShown(Window(top)));
        probe.Take();
        return top;
    }
    static ak::Window& Window(HWND top) { return *FindView(top)->GetWindow(); }
    static POINT ClientOrigin(HWND top) {
        POINT origin{0, 0};
        ClientToScreen(top, &origin);
        return origin;
    }
    DialogResourceRecord resource{1, "Menus", 28, nullptr, 400, 300, nullptr};
};

TEST_F(WindowMenuTest, SetMenuShowsTheBarAboveAStillClientArea) {
    const HWND top = MakeShownTop();
    HMENU menu = CreatePopupMenu();
    WISP_GenerateMenuFromList(menu, kAppMenuList, kAppMenuListSize);
    RECT clientBefore{};
    GetClientRect(top, &clientBefore);
    const POINT originBefore = ClientOrigin(top);
    const ak::Rect frameBefore = Window(top).Frame();
    EXPECT_EQ(SetMenu(top, menu), TRUE);
    // The window is key: it is asked to bring the menu up to date.
    EXPECT_TRUE(Has(probe.Take(), "top 279 " + H(menu)));
    EXPECT_EQ(GetMenu(top), menu);
    EXPECT_EQ(WISP_GetCurrentMenu(), menu);
    EXPECT_EQ(Window(top).MenuBar(), AkMenu(menu));
    RECT clientAfter{};
    GetClientRect(top, &clientAfter);
    const POINT originAfter = ClientOrigin(top);
    EXPECT_EQ(clientAfter.right, clientBefore.right);
    EXPECT_EQ(clientAfter.bottom, clientBefore.bottom);
    EXPECT_EQ(originAfter.x, originBefore.x);
    EXPECT_EQ(originAfter.y, originBefore.y);
    const ak::Rect frameAfter = Window(top).Frame();
    EXPECT_GT(frameAfter.size.height, frameBefore.size.height);
    EXPECT_EQ(frameAfter.MaxY(), frameBefore.MaxY());

    // The bar's accelerators reach its items: Ctrl+, and Ctrl+Q.
    ASSERT_TRUE(ak::test::WaitUntilSettled(Window(top)));
    ak::test::Key(Window(top), ak::test::KeycodeOf(0x2c), 0x2c, true, ak::test::Mod::Ctrl);
    ak::test::Key(Window(top), ak::test::KeycodeOf(0x2c), 0x2c, false, ak::test::Mod::Ctrl);
    EXPECT_TRUE(ak::test::PumpUntil([&] { return Has(probe.log, "top 273 40006"); }));
    // An upper-case key equivalent means Shift: Ctrl+E is bound as typed.
    ak::test::Key(Window(top), ak::test::KeycodeOf(0x65), 0x65, true, ak::test::Mod::Ctrl);
    ak::test::Key(Window(top), ak::test::KeycodeOf(0x65), 0x65, false, ak::test::Mod::Ctrl);
    EXPECT_TRUE(ak::test::PumpUntil([&] { return Has(probe.log, "top 273 40025"); }));

    // The title's marker is a mnemonic: Alt+F opens File.
    ak::test::Key(Window(top), ak::test::KeycodeOf(0x66), 0x66, true, ak::test::Mod::Alt);
    ak::test::Key(Window(top), ak::test::KeycodeOf(0x66), 0x66, false, ak::test::Mod::Alt);
    EXPECT_TRUE(ak::test::PumpUntil([] { return ak::test::IsMenuOpen(); }));
    ak::test::CancelOpenMenu();
    EXPECT_TRUE(ak::test::WaitUntilNoMenu());

    // Taking the bar away shrinks the frame from the top again.
    EXPECT_EQ(SetMenu(top, nullptr), TRUE);
    EXPECT_EQ(Window(top).Frame().size.height, frameBefore.size.height);
    EXPECT_EQ(ClientOrigin(top).y, originBefore.y);
    DestroyWindow(top);
    DestroyMenu(menu);
}

TEST_F(WindowMenuTest, DialogsHoldAMenuButShowNoBar) {
    probe.answers[WM_INITDIALOG] = 0;
    const HWND dialog = CreateDialogBox(&resource, nullptr, &WindowProbe::DialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HMENU menu = CreatePopupMenu();
    WISP_GenerateMenuFromList(menu, kAppMenuList, kAppMenuListSize);
    const ak::Rect frame = Window(dialog).Frame();
    EXPECT_EQ(SetMenu(dialog, menu), TRUE);
    EXPECT_EQ(GetMenu(dialog), menu);
    EXPECT_EQ(Window(dialog).MenuBar(), nullptr);
    EXPECT_EQ(Window(dialog).Frame().size.height, frame.size.height);
    DestroyWindow(dialog);
    DestroyMenu(menu);
}

TEST_F(WindowMenuTest, AWindowAtTheTopOfTheScreenKeepsItsFrameOnIt) {
    const HWND top = MakeShownTop();
    RECT visible{};
    WISP_GetViewPort(&visible, nullptr, TRUE);
    ak::Rect frame = Window(top).Frame();
    frame.origin.y = visible.top;
    Window(top).SetFrame(frame);
    const POINT originBefore = ClientOrigin(top);
    HMENU menu = CreatePopupMenu();
    WISP_GenerateMenuFromList(menu, kAppMenuList, kAppMenuListSize);
    SetMenu(top, menu);
    EXPECT_EQ(Window(top).Frame().MinY(), visible.top);
    // The client area moved down by the bar instead.
    EXPECT_GT(ClientOrigin(top).y, originBefore.y);
    EXPECT_EQ(SetMenu(nullptr, menu), FALSE);
    DestroyWindow(top);
    DestroyMenu(menu);
}

TEST_F(WindowMenuTest, PopupMenusAnswerTheirWindowWhileTimersTick) {
    const HWND top = MakeShownTop();
    HMENU popup = CreatePopupMenu();
    WISP_Menu_AddMenuItem(popup, "One", 1, 0);
    WISP_Menu_AddMenuItem(popup, "Two", 2, 0);
    int ticks = 0;
    probe.quiet.push_back(WM_TIMER);
    probe.hook = [&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        ticks += message == WM_TIMER;
        return 0;
    };
    ASSERT_NE(SetTimer(top, 9, 10, nullptr), 0u);
    // Chooses (or cancels) once the menu is open and a few ticks went by;
    // gives up after three seconds.
    std::function<void()> answer;
    auto answerWith = [&](int index) {
        // The last popup's window has gone.
        EXPECT_TRUE(ak::test::WaitUntilNoMenu());
        EXPECT_TRUE(ak::test::WaitUntilServed());
        ticks = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        answer = [&, index, until] {
            if (std::chrono::steady_clock::now() > until)
                return;
            if (!ak::test::IsMenuOpen() || ticks < 3) {
                ak::Application::RunOnMainLater(answer);
                return;
            }
            if (index < 0)
                ak::test::CancelOpenMenu();
            else
                ak::test::ChooseInOpenMenu(index);
        };
        ak::Application::RunOnMainLater(answer);
    };
    const ak::Rect frame = Window(top).Frame();
    const int x = int(frame.MinX()) + 50, y = int(frame.MinY()) + 60;

    answerWith(1);
    EXPECT_EQ(TrackPopupMenu(popup, TPM_RETURNCMD, x, y, 0, top), 2);
    Log log = probe.Take();
    EXPECT_TRUE(Has(log, "top 279 " + H(popup)));
    EXPECT_FALSE(Has(log, "top 273 2"));
    EXPECT_GE(ticks, 3);

    answerWith(0);
    EXPECT_EQ(TrackPopupMenu(popup, 0, x, y, 0, top), 1);
    EXPECT_TRUE(Has(probe.Take(), "top 273 1"));

    answerWith(-1);
    EXPECT_EQ(TrackPopupMenu(popup, 0, x, y, 0, top), 0);
    EXPECT_FALSE(Has(probe.Take(), "top 273 1"));

    answerWith(1);
    EXPECT_EQ(TrackPopupMenu(popup, TPM_NONOTIFY, x, y, 0, top), 1);
    log = probe.Take();
    EXPECT_FALSE(Has(log, "top 279 " + H(popup)));
    EXPECT_TRUE(Has(log, "top 273 2"));

    EXPECT_EQ(TrackPopupMenu(nullptr, 0, x, y, 0, top), 0);
    KillTimer(top, 9);
    DestroyWindow(top);
    DestroyMenu(popup);
}

TEST_F(WindowMenuTest, GetDCDrawsOnAShownView) {
    probe.answers[WM_INITDIALOG] = 0;
    const HWND hidden = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
    EXPECT_EQ(GetDC(hidden), nullptr);
    const HWND top = MakeShownTop();
    HDC hdc = GetDC(top);
    ASSERT_NE(hdc, nullptr);
    EXPECT_NE(WISP_GetCtxGC(hdc), nullptr);
    HBRUSH red = CreateSolidBrush(0xFF0000);
    const RECT rect{0, 0, 20, 20};
    WISP_FillRect(hdc, &rect, red);
    EXPECT_EQ(ReleaseDC(top, hdc), 1);
    EXPECT_EQ(ReleaseDC(top, hdc), 0);
    DeleteObject(red);
    DestroyWindow(top);
    DestroyWindow(hidden);
}

TEST_F(WindowMenuTest, DrawingAndMenuCallsJoinTheNameTable) {
    // The window core registered them when the queue started.
    EXPECT_EQ(LookupAPIFunctionByName("CreatePen"), reinterpret_cast<void*>(&CreatePen));
    EXPECT_EQ(LookupAPIFunctionByName("WISP_DrawText"), reinterpret_cast<void*>(&WISP_DrawText));
    EXPECT_EQ(LookupAPIFunctionByName("GetDC"), reinterpret_cast<void*>(&GetDC));
    EXPECT_EQ(LookupAPIFunctionByName("TrackPopupMenu"), reinterpret_cast<void*>(&TrackPopupMenu));
    EXPECT_EQ(LookupAPIFunctionByName("MulDiv"), reinterpret_cast<void*>(&MulDiv));
    EXPECT_EQ(LookupAPIFunctionByName("getdc"), nullptr);
    // A name already present keeps its address.
    const ApiFunction again[] = {{"GetDC", nullptr}, {"MulDiv", nullptr}};
    AddApiFunctions(again);
    EXPECT_EQ(LookupAPIFunctionByName("GetDC"), reinterpret_cast<void*>(&GetDC));
    EXPECT_EQ(LookupAPIFunctionByName("MulDiv"), reinterpret_cast<void*>(&MulDiv));
}

} // namespace
} // namespace winlayer::test
