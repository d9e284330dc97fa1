// The main window in this process: its menu bar and place on the screen,
// the commands it passes on, the key filter, and the order of shutdown.
#include "app/ShellIds.h"
#include "app/WindowCentring.h"
#include "platform/ak/TextField.h"
#include "platform/ak/test/AkTest.h"
#include "tests/app/ShellFixture.h"
#include "winlayer/InputRecords.h"
#include "winlayer/draw/Menus.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace shell::test {
namespace {

using Strings = std::vector<std::string>;

using MainWindowTest = ShellTest;

std::string MenuTitle(HMENU menu, int position) {
    char text[64] = {};
    MENUITEMINFO info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = sizeof text;
    GetMenuItemInfo(menu, UINT(position), TRUE, &info);
    return text;
}

std::vector<UINT> MenuIds(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

TEST_F(MainWindowTest, OpensCentredWithFileDeviceAndHelpAboveTheEditor) {
    StartHost();
    const HWND window = Launch();
    ASSERT_NE(window, nullptr);
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuTitle(bar, 0), "File");
    EXPECT_EQ(MenuTitle(bar, 1), "Device");
    EXPECT_EQ(MenuTitle(bar, 2), "Help");
    EXPECT_EQ(MenuIds(GetSubMenu(bar, 0)), (std::vector<UINT>{kCmdPreferences, kCmdQuit}));
    EXPECT_EQ(MenuIds(GetSubMenu(bar, 1)),
              (std::vector<UINT>{kCmdUpdateFirmware, kCmdGlobalSettings, kCmdRebuildLibrary,
                                 kCmdRestoreBank, kCmdBackUpBank}));
    EXPECT_EQ(MenuIds(GetSubMenu(bar, 2)), (std::vector<UINT>{kCmdAbout, kCmdReadManual}));

    // The 800 x 500 editor is centred on the 1920 x 1200 screen, the bar above it.
    RECT client{}, frame{};
    ASSERT_TRUE(ak::test::PumpUntil([&] {
        GetClientRect(window, &client);
        GetWindowRect(window, &frame);
        return frame.bottom - frame.top > client.bottom;
    }));
    EXPECT_EQ(client.right, 800);
    EXPECT_EQ(client.bottom, 500);
    EXPECT_EQ(frame.left, 560);
    EXPECT_EQ(frame.bottom - client.bottom, 350);
    EXPECT_EQ(GetParent(window), nullptr);
}

TEST(WindowCentring, TheEditorIsCentredAndTheBarLiesAboveIt) {
    struct Row {
        int editor[2], screen[2], client[2], frame[2];
        Placement want;
    };
    const Row rows[] = {
        {{800, 500}, {1920, 1200}, {800, 500}, {800, 525}, {560, 325, 800, 525}},
        // Each half is truncated on its own.
        {{801, 501}, {1921, 1201}, {801, 501}, {801, 501}, {560, 350, 801, 501}},
        // A window still at its resource size takes the editor's size.
        {{960, 600}, {1920, 1200}, {300, 300}, {300, 325}, {480, 275, 960, 625}},
        // Larger than the screen: the top goes above it, as the formula says.
        {{1920, 1200}, {1280, 800}, {1920, 1200}, {1920, 1225}, {-320, -225, 1920, 1225}},
    };
    for (const Row& r : rows) {
        const Placement got = CentredPlacement(r.editor[0], r.editor[1], r.screen[0], r.screen[1],
                                               r.client[0], r.client[1], r.frame[0], r.frame[1]);
        EXPECT_EQ(got.x, r.want.x);
        EXPECT_EQ(got.y, r.want.y);
        EXPECT_EQ(got.width, r.want.width);
        EXPECT_EQ(got.height, r.want.height);
    }
}

// Answers the message box that the command raises, once it shows.
void AnswerAlertWhenShown(int triesLeft = 200) {
    ak::Application::RunOnMainLater([triesLeft] {
        if (ak::test::IsAlertShown())
            ak::test::AlertPressButton(0);
        else if (triesLeft > 0)
            AnswerAlertWhenShown(triesLeft - 1);
    });
}

TEST_F(MainWindowTest, CommandsReachTheEditorOrFallBackToMessageBoxes) {
    struct Row {
        INT_PTR command; // as the menu sends it through message 153
        bool handled;    // the editor's answer to About and Read Manual
        Strings heard;
        const char* box; // the fallback's stderr line, or null
    };
    const std::string about = "alert: OmnarControl: OmnarControl " OMNAR_VERSION;
    const Row rows[] = {
        {kCmdAbout, true, {"about"}, nullptr},
        {kCmdAbout, false, {"about"}, about.c_str()},
        {kCmdReadManual, true, {"manual"}, nullptr},
        {kCmdReadManual, false, {"manual"}, "alert: OmnarControl: See the manual"},
        {kCmdUpdateFirmware, false, {"message 1"}, nullptr},
        {kCmdGlobalSettings, false, {"message 2"}, nullptr},
        {kCmdRebuildLibrary, false, {"message 3"}, nullptr},
        {40032, false, {}, nullptr},
        {kCmdRestoreBank, false, {"message 5"}, nullptr},
        {kCmdBackUpBank, false, {"message 6"}, nullptr},
        {kCmdEditorCommand7, false, {"message 7"}, nullptr},
        {kCmdEditorCommand8, false, {"message 8"}, nullptr},
        // The Debug menu's commands have no handler.
        {40025, false, {}, nullptr},
        // Only the low 16 bits name the command; none at all is no command.
        {INT_PTR(0x70000) | kCmdUpdateFirmware, false, {"message 1"}, nullptr},
        {0x70000, false, {}, nullptr},
    };
    StartHost();
    ASSERT_NE(Launch(), nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command);
        ShellProduct::handlesAbout = ShellProduct::handlesManual = row.handled;
        Log().clear();
        if (row.box)
            AnswerAlertWhenShown();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(AppMessageHandler(AppMsg_MenuCommand, row.command, 0), 0);
        const std::string printed = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(Log(), row.heard);
        if (row.box)
            EXPECT_NE(printed.find(std::string(row.box) + "\n"), std::string::npos) << printed;
        else
            EXPECT_EQ(printed.find("alert: "), std::string::npos) << printed;
    }
    EXPECT_NE(MainWindow(), nullptr);
}

// A panel view that counts the key-downs handed to it.
class KeyCounter : public ak::View {
public:
    using ak::View::View;
    void KeyDown(const ak::Event&) override { ++keyDowns; }
    int keyDowns = 0;
};

TEST_F(MainWindowTest, KeyFilterHandsPlainReturnAndEscapeToThePanelOnly) {
    StartHost();
    const HWND window = Launch();
    ASSERT_NE(window, nullptr);
    ak::View* content = winlayer::FindView(window);
    auto panel = ak::MakeRef<KeyCounter>(ak::Rect{{0, 0}, {400, 300}});
    auto field =
        ak::MakeRef<ak::TextField>(ak::Rect{{0, 310}, {200, 24}}, ak::TextFieldKind::Editable);
    content->AddSubview(panel.Get());
    content->AddSubview(field.Get());
    const HWND panelHandle = winlayer::HandleOf(panel.Get());
    const HWND fieldHandle = winlayer::HandleOf(field.Get());

    constexpr int kShift = 4, kCommand = 8;
    struct Row {
        const char* what;
        HWND target;
        UINT message;
        WPARAM key;
        LPARAM flags;
        INT_PTR answer;
    };
    const Row rows[] = {
        {"Return", panelHandle, WM_KEYDOWN, 13, 1, 1},
        {"Escape", panelHandle, WM_KEYDOWN, 27, 1, 1},
        {"Return without the virtual-key flag", panelHandle, WM_KEYDOWN, 13, 0, 1},
        {"Shift+Return", panelHandle, WM_KEYDOWN, 13, 1 | kShift, 0},
        {"Ctrl+Escape", panelHandle, WM_KEYDOWN, 27, 1 | kCommand, 0},
        {"Return released", panelHandle, WM_KEYUP, 13, 1, 0},
        {"Return in a text field", fieldHandle, WM_KEYDOWN, 13, 1, 0},
        {"Escape in a text field", fieldHandle, WM_KEYDOWN, 27, 1, 0},
        {"A", panelHandle, WM_KEYDOWN, 'A', 1, 0},
        {"Return with no focus", nullptr, WM_KEYDOWN, 13, 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ak::Event event;
        event.type = row.message == WM_KEYDOWN ? ak::EventType::KeyDown : ak::EventType::KeyUp;
        MSG msg{};
        msg.hwnd = row.target;
        msg.message = row.message;
        msg.wParam = row.key;
        msg.lParam = row.flags;
        const int before = panel->keyDowns;
        EXPECT_EQ(AppMessageHandler(AppMsg_KeyEvent, reinterpret_cast<INT_PTR>(&msg),
                                    reinterpret_cast<INT_PTR>(&event)),
                  row.answer);
        EXPECT_EQ(panel->keyDowns - before, row.target == panelHandle ? int(row.answer) : 0);
    }
}

TEST_F(MainWindowTest, ShutdownClosesTheEditorThenTheHostThenQuitsOnce) {
    struct Way {
        const char* name;
        std::function<void(HWND)> close;
    };
    const Way ways[] = {
        {"Quit", [](HWND) { AppMessageHandler(AppMsg_MenuCommand, kCmdQuit, 0); }},
        {"close box", [](HWND window) { ak::test::CloseBox(*winlayer::FindWindow(window)); }},
        {"destroy message", [](HWND) { AppMessageHandler(AppMsg_Destroy, 0, 0); }},
    };
    WriteSettings("[midi]\noutdev=virtual output\n");
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        StartHost();
        const HWND window = Launch();
        ASSERT_NE(window, nullptr);
        Log().clear();
        mMidi->calls.clear();
        way.close(window);
        ASSERT_TRUE(ak::test::PumpUntil([] { return MainWindow() == nullptr; }));
        ASSERT_TRUE(ak::test::WaitUntilServed());
        AppMessageHandler(AppMsg_Destroy, 0, 0); // the application's own end finds no window
        EXPECT_EQ(Log(), (Strings{"editor closed, told the device", "product deleted", "quit"}));
        const auto& calls = mMidi->calls;
        const auto sent = std::find(calls.begin(), calls.end(), "out send");
        const auto closed = std::find(calls.begin(), calls.end(), "out close");
        EXPECT_TRUE(sent != calls.end() && closed != calls.end() && sent < closed);
        EXPECT_EQ(host::StandaloneHost::Current(), nullptr);
        EXPECT_FALSE(IsWindow(window));
    }
}

} // namespace
} // namespace shell::test
