#include "winlayer/WindowApi.h"
#include "winlayer/draw/Cursors.h"
#include "winlayer/draw/Keyboard.h"

#include "platform/ak/test/AkTest.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Takes the keys of its window and remembers the last key-down.
class KeyView : public ak::View {
public:
    using ak::View::View;
    bool AcceptsFirstResponder() const override { return true; }
    void KeyDown(const ak::Event& event) override { last = event; }
    std::optional<ak::Event> last;
};

class KeyInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ak::test::App());
        window = ak::MakeRef<ak::Window>(ak::Rect{{200, 200}, {300, 200}}, ak::StyleMask::Titled);
        view = ak::MakeRef<KeyView>(ak::Rect{{0, 0}, {300, 200}});
        window->SetContentView(view.Get());
        window->MakeKeyAndOrderFront();
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
        window->MakeFirstResponder(view.Get());
    }
    void TearDown() override {
        window->Close();
        ak::test::WaitUntilServed();
    }
    // The key's translation as the window saw it.
    std::pair<int, int> Type(unsigned keycode, unsigned keysym, unsigned modifiers) {
        view->last.reset();
        ak::test::Key(*window, keycode, keysym, true, modifiers);
        ak::test::Key(*window, keycode, keysym, false, modifiers);
        EXPECT_TRUE(ak::test::PumpUntil([&] { return view->last.has_value(); }));
        if (!view->last)
            return {-1, -1};
        int flags = -1;
        const int key = WISP_MacKeyToWindowsKey(&*view->last, &flags);
        return {key, flags};
    }
    ak::Ref<ak::Window> window;
    ak::Ref<KeyView> view;
};

TEST_F(KeyInputTest, InjectedKeysBecomeVirtualKeys) {
    namespace Mod = ak::test::Mod;
    constexpr unsigned kNumLock = 1u << 4;
    struct Case {
        const char* name;
        unsigned keycode, keysym, modifiers;
        int key, flags;
    };
    const Case cases[] = {
        {"keypad Enter", 104, 0xff8d, 0, 13, FVIRTKEY | FEXTENDED},
        {"Up", 111, 0xff52, 0, 38, FVIRTKEY | FEXTENDED},
        {"F13 (XF86Tools under Xvfb)", 191, 0x1008ff81, 0, 124, FVIRTKEY},
        {"Shift+Tab", 23, 0xfe20, Mod::Shift, 9, FVIRTKEY | FSHIFT},
        {"Ctrl+A", 38, 0x61, Mod::Ctrl, 'A', FVIRTKEY | FCONTROL},
        {"Alt+minus", 20, 0x2d, Mod::Alt, '-', FALT},
        {"keypad 1, Num Lock on", 87, 0xffb1, kNumLock, 97, FVIRTKEY},
        {"keypad 1, Num Lock off", 87, 0xff9c, 0, 97, FVIRTKEY},
        {"Return", 36, 0xff0d, 0, 13, FVIRTKEY},
    };
    for (const Case& c : cases) {
        const auto [key, flags] = Type(c.keycode, c.keysym, c.modifiers);
        EXPECT_EQ(key, c.key) << c.name;
        EXPECT_EQ(flags, c.flags) << c.name;
    }
}

TEST_F(KeyInputTest, AsyncKeyStateFollowsTheLatestInput) {
    ak::test::Key(*window, 38, 0x41, true, ak::test::Mod::Shift);
    ak::test::PumpUntil([&] { return view->last.has_value(); });
    EXPECT_EQ(GetAsyncKeyState(16), short(0x8000));
    EXPECT_EQ(GetAsyncKeyState(17), 0);
    EXPECT_EQ(GetAsyncKeyState(65), 0);
    ak::test::Key(*window, 38, 0x61, false, 0);
    ASSERT_TRUE(ak::test::WaitUntilServed());
    view->last.reset();
    ak::test::Key(*window, 38, 0x61, true, 0);
    ak::test::PumpUntil([&] { return view->last.has_value(); });
    EXPECT_EQ(GetAsyncKeyState(16), 0);
    ak::test::Key(*window, 38, 0x61, false, 0);
    EXPECT_TRUE(ak::test::WaitUntilServed());
}

// Takes the motions of its window and where MouseEventPosition puts them.
class MotionView : public ak::View {
public:
    using ak::View::View;
    void MouseMoved(const ak::Event& event) override {
        positions.push_back(MouseEventPosition(0x200, this, event));
    }
    std::vector<ak::Point> positions;
};

TEST_F(KeyInputTest, HiddenCursorMotionMovesTheVirtualPosition) {
    auto motion = ak::MakeRef<MotionView>(ak::Rect{{0, 0}, {300, 200}});
    window->SetContentView(motion.Get());
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window));
    // Visible: positions are the pointer's.
    EXPECT_EQ(WISP_SetCursorPos(300, 280), 1);
    ASSERT_TRUE(ak::test::WaitUntilPointerAt({300, 280}));
    POINT at{};
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 300);
    EXPECT_EQ(at.y, 280);
    EXPECT_EQ(WISP_ShowCursor(FALSE), -1);
    EXPECT_EQ(WISP_IsCursorVisible(), 0);
    // The pointer hid at (300, 280), which is (100, 80) in the window.
    const ak::Point anchor = window->ConvertPointFromScreen({300, 280});
    ak::test::Move(*window, {anchor.x + 10, anchor.y + 5});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return motion->positions.size() >= 1; }));
    EXPECT_EQ(motion->positions.back().x, anchor.x + 10);
    EXPECT_EQ(motion->positions.back().y, anchor.y + 5);
    // The pointer went back (its own motion is not delivered); the next
    // motion adds on.
    ASSERT_TRUE(ak::test::WaitUntilPointerAt({300, 280}));
    EXPECT_EQ(motion->positions.size(), 1u);
    ak::test::Move(*window, {anchor.x + 13, anchor.y - 2});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return motion->positions.size() >= 2; }));
    EXPECT_EQ(motion->positions.back().x, anchor.x + 23);
    EXPECT_EQ(motion->positions.back().y, anchor.y + 3);
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 323);
    EXPECT_EQ(at.y, 283);
    EXPECT_EQ(GetMessagePos(), (DWORD(283) << 16) | 323);
    EXPECT_EQ(WISP_SetCursorPos(-5, 40), 1);
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, -5);
    EXPECT_EQ(WISP_ShowCursor(TRUE), 0);
    EXPECT_EQ(WISP_IsCursorVisible(), 1);
    EXPECT_EQ(WISP_SetCursorPos(320, 290), 1);
    ASSERT_TRUE(ak::test::WaitUntilPointerAt({320, 290}));
    ASSERT_TRUE(GetCursorPos(&at));
    EXPECT_EQ(at.x, 320);
    EXPECT_EQ(at.y, 290);
}

TEST_F(KeyInputTest, CursorsByIdFileAndRegistry) {
    for (int id : {IDC_ARROW, IDC_IBEAM, IDC_UPARROW, IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE,
                   IDC_SIZENS, IDC_SIZEALL, IDC_NO, IDC_HAND}) {
        HCURSOR cursor = WISP_LoadCursor(id);
        ASSERT_TRUE(cursor) << id;
        EXPECT_EQ(WISP_LoadCursor(id), cursor) << id;
    }
    EXPECT_EQ(WISP_LoadCursor(12345), nullptr);
    HCURSOR hand = WISP_LoadCursor(IDC_HAND);
    WISP_SetCursor(hand);
    EXPECT_EQ(WISP_GetLastSetCursor(), hand);
    EXPECT_EQ(WISP_GetCursor(), hand);
    WISP_SetCursor(nullptr);
    EXPECT_EQ(WISP_GetLastSetCursor(), nullptr);
    EXPECT_EQ(WISP_GetCursor(), WISP_LoadCursor(IDC_ARROW));
    // A registered name that reads as nothing is passed over.
    WISP_Register_Cursor_Resource(5000, "/nonexistent/cursor.cur", 1, 1);
    EXPECT_EQ(WISP_LoadCursor(5000), nullptr);
    EXPECT_EQ(WISP_LoadCursorFromFile("/nonexistent/cursor.cur"), nullptr);
    EXPECT_EQ(WISP_LoadCursorFromFile(nullptr), nullptr);
}

} // namespace
