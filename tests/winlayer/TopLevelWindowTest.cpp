#include "platform/ak/TextField.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/Placement.h"
#include "winlayer/SizeLimits.h"
#include "winlayer/window/Monitors.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

using Log = std::vector<std::string>;

LPARAM Pack(int x, int y) {
    return (LPARAM(y) << 16) | (x & 0xFFFF);
}

// Whether want appears in log in this order, other lines between.
bool InOrder(const Log& log, const Log& want) {
    auto it = log.begin();
    for (const std::string& line : want) {
        it = std::find(it, log.end(), line);
        if (it == log.end())
            return false;
        ++it;
    }
    return true;
}

class TopLevelWindowTest : public WindowTest {
protected:
    HWND MakeTop(const std::string& name, HWND parent = nullptr, int flags = 28) {
        resource.flags = flags;
        const HWND top = CreateModelessWindow(&resource, parent, &WindowProbe::DialogProc, 0, 0);
        probe.names[top] = name;
        probe.Take();
        return top;
    }
    HWND MakeChild(HWND parent, const std::string& name, ak::Rect frame) {
        auto* view = Wisp_vOmnarControl_hwnd::initChild(
            nullptr, FindView(parent), reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0);
        view->SetFrame(frame);
        view->SetHidden(false);
        probe.names[view->Handle()] = name;
        probe.Take();
        return view->Handle();
    }
    void Show(HWND top) {
        ShowWindow(top, SW_SHOW);
        ASSERT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));
        probe.Take();
    }
    DialogResourceRecord resource{40001, "OmnarControl", 28, nullptr, 300, 300, nullptr};
};

// What the shell does with its main window, and every message it sees.
TEST_F(TopLevelWindowTest, MainWindowIsCentredBeforeMappingThenShownClosedAndDestroyed) {
    probe.quiet.clear();
    probe.hook = [](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_CLOSE)
            DestroyWindow(window);
        return message == WM_CLOSE ? 1 : 0;
    };
    const HWND main = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
    ASSERT_NE(main, nullptr);
    probe.names[main] = "main";
    RECT workArea{};
    WISP_GetViewPort(&workArea, nullptr, TRUE);
    RECT frame{}, client{};
    ASSERT_TRUE(GetWindowRect(main, &frame));
    ASSERT_TRUE(GetClientRect(main, &client));
    EXPECT_EQ(frame.left, workArea.left + 50);
    EXPECT_EQ(frame.top, workArea.top + 100);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_FALSE(IsWindowVisible(main));

    const int x = (GetSystemMetrics(SM_CXSCREEN) - 300) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - 300) / 2;
    SetWindowPos(main, nullptr, x, y, 300, 300, 0);
    ASSERT_TRUE(GetWindowRect(main, &frame)); // answered at once, before mapping
    EXPECT_EQ(frame.left, x);
    EXPECT_EQ(frame.top, y);
    EXPECT_EQ(frame.right - frame.left, 300);

    ak::Ref<ak::Window> window(FindWindow(main));
    ShowWindow(main, SW_SHOW);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    EXPECT_TRUE(window->IsKeyWindow());
    EXPECT_TRUE(IsWindowVisible(main));
    ak::test::CloseBox(*window);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return window->IsClosed(); }));
    const Log log = probe.Take();
    EXPECT_TRUE(InOrder(log, {"? 272 0", "main 3 0", "main 6 1", "main 33 0", "main 16 0",
                              "main 2 0", "main 130 0"}))
        << testing::PrintToString(log);
    EXPECT_EQ(std::count(log.begin(), log.end(), "main 2 0"), 1);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(TopLevelWindowTest, MovingSendsWmMoveAloneAndZoomingSendsWmSize) {
    const HWND top = MakeTop("top");
    probe.quiet = {WM_GETMINMAXINFO, WM_NCCALCSIZE, WM_ACTIVATE, WM_MOUSEACTIVATE, WM_SETFOCUS};
    SetWindowPos(top, nullptr, -20, 300, 0, 0, SWP_KEEPSIZE);
    EXPECT_EQ(probe.Take(), Log{"top 3 0"});
    std::vector<LPARAM> moves;
    probe.hook = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        if (message == WM_MOVE)
            moves.push_back(lParam);
        return 0;
    };
    SetWindowPos(top, nullptr, -30, 310, 0, 0, SWP_KEEPSIZE);
    EXPECT_EQ(moves, std::vector<LPARAM>{Pack(-30, 310)});
    probe.hook = nullptr;
    probe.Take();

    ShowWindow(top, 4); // zoom
    Log log = probe.Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "top 5 2"), log.end())
        << testing::PrintToString(log);
    ShowWindow(top, 5); // back
    log = probe.Take();
    EXPECT_NE(std::find(log.begin(), log.end(), "top 5 0"), log.end())
        << testing::PrintToString(log);
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, SetWindowPosFlagsAndTheProceduresMinimumSize) {
    const HWND top = MakeTop("top");
    probe.hook = [](HWND, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        if (message == WM_GETMINMAXINFO)
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {640, 400};
        return 0;
    };
    struct Case {
        UINT flags;
        RECT want;
    };
    const Case cases[] = {
        {SWP_NOZORDER, {100, 200, 740, 680}},
        {SWP_KEEPPOSITION, {100, 200, 900, 800}},
        {SWP_KEEPPOSITION | SWP_KEEPSIZE, {100, 200, 900, 800}},
        {0, {5, 6, 645, 406}}, // raised to the minimum
    };
    const int sizes[][2] = {{640, 480}, {800, 600}, {10, 10}, {100, -100}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SetWindowPos(top, nullptr, i == 0 ? 100 : 5, i == 0 ? 200 : 6, sizes[i][0], sizes[i][1],
                     cases[i].flags);
        RECT frame{};
        GetWindowRect(top, &frame);
        EXPECT_EQ(frame.left, cases[i].want.left) << i;
        EXPECT_EQ(frame.top, cases[i].want.top) << i;
        EXPECT_EQ(frame.right, cases[i].want.right) << i;
        EXPECT_EQ(frame.bottom, cases[i].want.bottom) << i;
    }
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, ChildViewsRestackAmongTheirSiblings) {
    const HWND top = MakeTop("top");
    const HWND a = MakeChild(top, "a", {{0, 0}, {10, 10}});
    const HWND b = MakeChild(top, "b", {{20, 0}, {10, 10}});
    const HWND c = MakeChild(top, "c", {{40, 0}, {10, 10}});
    auto order = [&] {
        std::string names;
        for (HWND child = GetWindow(a, 0); child; child = GetWindow(child, 2))
            names += probe.NameOf(child);
        return names;
    };
    struct Case {
        HWND view;
        HWND after;
        const char* want;
    };
    const Case cases[] = {
        {a, nullptr, "bca"},                    // to the front
        {a, reinterpret_cast<HWND>(1), "abc"},  // to the back
        {a, reinterpret_cast<HWND>(-1), "abc"}, // unchanged
        {c, a, "acb"},                          // directly above a sibling
        {b, top, "acb"},                        // not a sibling: unchanged
    };
    for (const Case& k : cases) {
        SetWindowPos(k.view, k.after, 0, 0, 0, 0, SWP_KEEPPOSITION | SWP_KEEPSIZE);
        EXPECT_EQ(order(), k.want) << probe.NameOf(k.view);
    }
    EXPECT_EQ(FindView(a)->Frame().origin.x, 0); // never moved
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, ClientRectFollowsTheProceduresNonClientInset) {
    const HWND top = MakeTop("top");
    probe.hook = [](HWND window, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
        if (message != WM_NCCALCSIZE)
            return 0;
        RECT inner{};
        GetClientRect(window, &inner); // asked inside: the plain bounds, no recursion
        RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0];
        EXPECT_EQ(inner.right, r.right);
        r = {r.left + 10, r.top + 10, r.right - 10, r.bottom - 10};
        return 0;
    };
    RECT client{};
    ASSERT_TRUE(GetClientRect(top, &client));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, 280);
    EXPECT_EQ(client.bottom, 280);
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, FocusAndContextMenuFindTheViewsInside) {
    const HWND top = MakeTop("top");
    const HWND child = MakeChild(top, "child", {{0, 0}, {100, 100}});
    auto field =
        ak::MakeRef<ak::TextField>(ak::Rect{{150, 150}, {100, 24}}, ak::TextFieldKind::Editable);
    FindView(top)->AddSubview(field.Get());
    Show(top);
    ak::Window* window = FindWindow(top);
    window->MakeFirstResponder(field.Get());
    EXPECT_EQ(GetFocus(), HandleOf(field.Get()));
    window->MakeFirstResponder(nullptr);
    EXPECT_EQ(GetFocus(), top); // no first responder: the content view

    std::vector<std::pair<WPARAM, LPARAM>> menus;
    probe.hook = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_CONTEXTMENU)
            menus.emplace_back(wParam, lParam);
        return 0;
    };
    EXPECT_EQ(DefWindowProc(top, WM_RBUTTONUP, 0, Pack(10, 20)), 1);
    POINT screen{10, 20};
    ClientToScreen(top, &screen);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].first, reinterpret_cast<WPARAM>(child));
    EXPECT_EQ(menus[0].second, Pack(screen.x, screen.y));
    POINT back = screen;
    ScreenToClient(top, &back);
    EXPECT_EQ(back.x, 10);
    EXPECT_EQ(back.y, 20);
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, EditSelectionsExistWhileTheFieldIsEdited) {
    const HWND top = MakeTop("top");
    auto field =
        ak::MakeRef<ak::TextField>(ak::Rect{{10, 10}, {100, 24}}, ak::TextFieldKind::Editable);
    field->SetText("h\xC3\xA9llo");
    FindView(top)->AddSubview(field.Get());
    const HWND handle = HandleOf(field.Get());
    Show(top);
    int start = -1, end = -1;
    auto selection = [&] {
        SendMessage(handle, 0xF0B0, reinterpret_cast<WPARAM>(&start),
                    reinterpret_cast<LPARAM>(&end));
        return std::pair{start, end};
    };
    SendMessage(handle, 0xF0B1, 1, 3); // not being edited: nothing
    EXPECT_EQ(selection(), (std::pair{0, 0}));
    FindWindow(top)->MakeFirstResponder(field.Get());
    struct Case {
        WPARAM from;
        LPARAM to;
        std::pair<int, int> want;
    };
    for (const Case& c : {Case{1, 3, {1, 3}}, Case{2, -1, {2, 5}}, Case{9, 99, {5, 5}},
                          Case{WPARAM(-1), 4, {0, 0}}, Case{4, 1, {4, 4}}}) {
        SendMessage(handle, 0xF0B1, c.from, c.to);
        EXPECT_EQ(selection(), c.want) << c.from << " " << c.to;
    }
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, OwnedWindowsGoWithTheirOwnerAndHandBackKeyStatus) {
    const HWND owner = MakeTop("owner");
    const HWND owned = MakeTop("owned", owner);
    const HWND second = MakeTop("second", owner);
    EXPECT_EQ(GetParent(owned), owner);
    EXPECT_EQ(GetWindowLong(owned, GWL_OWNER), reinterpret_cast<LONG_PTR>(owner));
    Show(owner);
    Show(owned);
    ASSERT_TRUE(FindWindow(owned)->IsKeyWindow());
    DestroyWindow(owned);
    EXPECT_TRUE(FindWindow(owner)->IsKeyWindow());

    DestroyWindow(owner);
    const Log log = probe.Take();
    EXPECT_TRUE(InOrder(log, {"owner 2 0", "second 2 0", "second 130 0", "owner 130 0"}))
        << testing::PrintToString(log);
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(TopLevelWindowTest, ADisabledWindowNeverBecomesKey) {
    const HWND top = MakeTop("top");
    AsTopLevel(FindWindow(top))->enabled = false;
    ShowWindow(top, SW_SHOW);
    EXPECT_FALSE(FindWindow(top)->IsKeyWindow());
    EXPECT_TRUE(FindWindow(top)->IsVisible());
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, EndDialogOutsideAModalRunOnlyStoresTheResult) {
    const HWND modeless = MakeTop("modeless");
    EXPECT_TRUE(EndDialog(modeless, 7));
    EXPECT_TRUE(IsWindow(modeless));
    EXPECT_TRUE(probe.Take().empty());

    DialogResourceRecord record{2, "Box", 0, nullptr, 200, 100, nullptr};
    const HWND box = CreateDialogBox(&record, modeless, &WindowProbe::DialogProc, 0);
    auto* panel = dynamic_cast<Wisp_vOmnarControl_dialogbox*>(FindWindow(box));
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->wispHasModalRetVal());
    EndDialog(box, 7);
    EXPECT_TRUE(panel->wispHasModalRetVal());
    EXPECT_EQ(panel->wispGetModalRetVal(), 7);
    EXPECT_TRUE(IsWindow(box));
    EXPECT_FALSE(FindView(box)->IsHidden()); // a dialog box's content shows at once
    DestroyWindow(modeless);
    EXPECT_FALSE(IsWindow(box));
}

TEST_F(TopLevelWindowTest, VisibilityFollowsHiddenAncestorsAndStyleTracksTheFrame) {
    const HWND top = MakeTop("top", nullptr, 28 | 2);
    const HWND outer = MakeChild(top, "outer", {{0, 0}, {100, 100}});
    const HWND inner = MakeChild(outer, "inner", {{0, 0}, {50, 50}});
    Show(top);
    EXPECT_TRUE(IsWindowVisible(inner));
    ShowWindow(outer, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(inner));
    EXPECT_EQ(GetWindowLong(outer, GWL_STYLE) & WS_VISIBLE, 0);

    EXPECT_EQ(GetWindowLong(top, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME),
              WS_CAPTION | WS_THICKFRAME);
    SetWindowLong(top, GWL_STYLE, WS_CAPTION); // sizing off, in place
    EXPECT_EQ(GetWindowLong(top, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), WS_CAPTION);
    EXPECT_TRUE(IsWindow(top));
    DestroyWindow(top);
}

TEST_F(TopLevelWindowTest, ChildWalksScrollingAndClassNames) {
    const HWND top = MakeTop("top");
    const HWND a = MakeChild(top, "a", {{0, 0}, {10, 10}});
    const HWND inner = MakeChild(a, "inner", {{1, 1}, {5, 5}});
    const HWND b = MakeChild(top, "b", {{20, 0}, {10, 10}});
    static std::vector<HWND> seen;
    seen.clear();
    EXPECT_TRUE(EnumChildWindows(
        top, [](HWND child, LPARAM) -> BOOL { return seen.push_back(child), TRUE; }, 0));
    EXPECT_EQ(seen, (std::vector<HWND>{a, inner, b})); // depth first, in order
    seen.clear();
    EXPECT_FALSE(EnumChildWindows(
        top, [](HWND child, LPARAM) -> BOOL { return seen.push_back(child), FALSE; }, 0));
    EXPECT_EQ(seen.size(), 1u);

    EXPECT_FALSE(ScrollWindow(top, 0, 0));
    EXPECT_TRUE(ScrollWindow(top, 5, -3));
    EXPECT_EQ(FindView(b)->Frame().origin, (ak::Point{25, -3}));

    char name[16] = "unset";
    EXPECT_EQ(GetClassName(a, name, 1), 0);
    EXPECT_STREQ(name, "");
    WISP_SetClassName(a, "Panel");
    EXPECT_EQ(GetClassName(a, name, sizeof name), 5);
    EXPECT_STREQ(name, "Panel");
    auto label = ak::MakeRef<ak::TextField>(ak::Rect{{0, 50}, {80, 20}}, ak::TextFieldKind::Label);
    FindView(top)->AddSubview(label.Get());
    EXPECT_TRUE(WISP_IsStaticText(HandleOf(label.Get())));
    GetClassName(HandleOf(label.Get()), name, sizeof name);
    EXPECT_STREQ(name, "Static");

    int data = 0;
    EXPECT_TRUE(SetProp(a, "key", &data));
    EXPECT_EQ(GetProp(a, "key"), &data);
    EXPECT_EQ(RemoveProp(a, "key"), &data);
    EXPECT_EQ(GetProp(a, "key"), nullptr);
    EXPECT_EQ(EnumPropsEx(a, nullptr, 0), -1);
    DestroyWindow(top);
}

// A window's content joins another window and leaves again as a window of
// its own, title and owner kept; children move between parents.
TEST_F(TopLevelWindowTest, SetParentMovesViewsBetweenParentsAndWindows) {
    const HWND top = MakeTop("top");
    const HWND other = MakeTop("other");
    const HWND a = MakeChild(top, "a", {{0, 0}, {40, 40}});
    const HWND inner = MakeChild(a, "inner", {{1, 1}, {5, 5}});

    ak::Window* topWindow = FindWindow(top);
    topWindow->MakeFirstResponder(FindView(inner));
    ASSERT_EQ(topWindow->FirstResponder(), FindView(inner));
    EXPECT_EQ(SetParent(a, other), top) << "the previous parent";
    EXPECT_NE(topWindow->FirstResponder(), FindView(inner)) << "the focus stays behind";
    EXPECT_EQ(GetParent(a), other);
    EXPECT_TRUE(IsChild(other, a));
    EXPECT_TRUE(IsChild(other, inner)) << "children move along";

    // A floating window owned by top, docked into other.
    const HWND floating = MakeTop("floating", top, 28 | 2);
    SetDlgItemText(floating, 0, "Mixer");
    const uint32_t style = FindWindow(floating)->GetStyleMask();
    const HWND oldWindow = HandleOf(FindWindow(floating));
    probe.Take();
    EXPECT_EQ(SetParent(floating, other), other);
    EXPECT_FALSE(IsWindow(oldWindow)) << "the old window is destroyed";
    EXPECT_EQ(FindWindow(floating), nullptr);
    EXPECT_EQ(GetParent(floating), other);
    EXPECT_TRUE(GetWindowLong(floating, GWL_STYLE) & WS_CHILD);
    const Log docked = probe.Take();
    EXPECT_EQ(std::count(docked.begin(), docked.end(), "floating 2 0"), 0)
        << "the view lives on: " << testing::PrintToString(docked);
    char text[32] = "";
    GetDlgItemText(floating, 0, text, sizeof text);
    EXPECT_STREQ(text, "Mixer");

    // Undocked: a window again, with the style it was made with, owned by top.
    EXPECT_EQ(SetParent(floating, nullptr), nullptr);
    ak::Window* again = FindWindow(floating);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetStyleMask(), style);
    EXPECT_EQ(again->Title(), "Mixer");
    EXPECT_EQ(GetParent(floating), top) << "owned by the window it came from";
    EXPECT_FALSE(IsChild(other, floating));
    Show(floating);
    EXPECT_TRUE(IsWindowVisible(floating));

    // A native control leaving its parent gets a full window frame.
    auto label = ak::MakeRef<ak::TextField>(ak::Rect{{0, 50}, {80, 20}}, ak::TextFieldKind::Label);
    label->SetText("Name");
    FindView(top)->AddSubview(label.Get());
    EXPECT_EQ(SetParent(HandleOf(label.Get()), nullptr), nullptr);
    ASSERT_NE(label->GetWindow(), nullptr);
    EXPECT_EQ(label->GetWindow()->GetStyleMask(), 15u);
    EXPECT_EQ(label->GetWindow()->Title(), "Name");
    DestroyWindow(HandleOf(label.Get()));

    struct Refused {
        const char* name;
        HWND window, parent;
    };
    const Refused refused[] = {{"no window", nullptr, top},
                               {"a window's content without a parent", top, nullptr},
                               {"into its own child", a, inner},
                               {"into itself", a, a},
                               {"a parent that is no window", a, reinterpret_cast<HWND>(&probe)}};
    for (const Refused& c : refused) {
        EXPECT_EQ(SetParent(c.window, c.parent), nullptr) << c.name;
        EXPECT_EQ(GetParent(a), other) << c.name;
    }
    EXPECT_NE(FindWindow(top), nullptr);
}

// Ancestry, enumeration and searches by class and title; the content area on screen.
TEST_F(TopLevelWindowTest, SearchesFindChildrenAndWindowsByClassAndTitle) {
    const HWND top = MakeTop("top");
    const HWND other = MakeTop("other");
    SetDlgItemText(other, 0, "Editor");
    const HWND a = MakeChild(top, "a", {{0, 0}, {10, 10}});
    const HWND inner = MakeChild(a, "inner", {{1, 1}, {5, 5}});
    WISP_SetClassName(a, "Panel");
    auto label = ak::MakeRef<ak::TextField>(ak::Rect{{0, 50}, {80, 20}}, ak::TextFieldKind::Label);
    label->SetText("Name");
    FindView(top)->AddSubview(label.Get());
    const HWND labelHandle = HandleOf(label.Get());

    struct AncestryCase {
        HWND parent, child;
        BOOL inside;
    };
    const AncestryCase ancestry[] = {
        {top, inner, TRUE}, {a, inner, TRUE}, {HandleOf(FindWindow(top)), a, TRUE},
        {inner, a, FALSE},  {a, a, FALSE},    {other, a, FALSE},
        {nullptr, a, FALSE}};
    for (const auto& c : ancestry)
        EXPECT_EQ(IsChild(c.parent, c.child), c.inside) << probe.names[c.parent];

    static std::vector<HWND> seen;
    seen.clear();
    EXPECT_TRUE(EnumWindows([](HWND w, LPARAM) -> BOOL { return seen.push_back(w), TRUE; }, 0));
    EXPECT_NE(std::find(seen.begin(), seen.end(), top), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), other), seen.end());
    seen.clear();
    EXPECT_FALSE(EnumWindows([](HWND w, LPARAM) -> BOOL { return seen.push_back(w), FALSE; }, 0));
    EXPECT_EQ(seen.size(), 1u);

    EXPECT_EQ(FindWindowEx(top, nullptr, "Panel", nullptr), a);
    EXPECT_EQ(FindWindowEx(top, nullptr, "Static", "Name"), labelHandle);
    EXPECT_EQ(FindWindowEx(top, nullptr, nullptr, "Name"), labelHandle);
    EXPECT_EQ(FindWindowEx(top, a, nullptr, nullptr), labelHandle) << "starts after a";
    EXPECT_EQ(FindWindowEx(top, labelHandle, nullptr, nullptr), nullptr);
    EXPECT_EQ(FindWindowEx(top, nullptr, "Button", nullptr), nullptr);
    EXPECT_EQ(FindWindowEx(nullptr, nullptr, nullptr, "Editor"), other);
    EXPECT_EQ(FindWindowEx(nullptr, other, nullptr, "Editor"), nullptr);
    EXPECT_EQ(FindWindowEx(nullptr, nullptr, "Panel", nullptr), nullptr) << "no parent, no title";

    Show(top);
    EXPECT_EQ(GetForegroundWindow() != nullptr, true);
    RECT content{1, 1, 1, 1};
    ASSERT_TRUE(GetWindowContentViewRect(top, &content));
    RECT client{};
    GetClientRect(top, &client);
    EXPECT_EQ(content.right - content.left, client.right - client.left);
    EXPECT_EQ(content.bottom - content.top, client.bottom - client.top);
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    EXPECT_EQ(std::pair(content.left, content.top), std::pair(origin.x, origin.y));
    RECT none{1, 1, 1, 1};
    EXPECT_FALSE(GetWindowContentViewRect(nullptr, &none));
    EXPECT_EQ(std::vector<LONG>({none.left, none.top, none.right, none.bottom}),
              std::vector<LONG>(4, 0));

    // The layer's test display has one screen of ordinary density.
    EXPECT_FALSE(WISP_IsRetinaHWND(a));
    EXPECT_FALSE(WISP_IsRetinaHWND(nullptr));
    const int level = FindWindow(top)->Level();
    WISP_SetWindowWantRaiseAmt(a, 2);
    EXPECT_EQ(WISP_GetWindowWantRaiseAmt(top), 2) << "a view names its window";
    EXPECT_EQ(FindWindow(top)->Level(), level + 2) << "the application is active";
    WISP_SetWindowWantRaiseAmt(top, 1);
    EXPECT_EQ(FindWindow(top)->Level(), level + 1);
    EXPECT_EQ(WISP_GetWindowWantRaiseAmt(nullptr), 0);
    DestroyWindow(other);
    DestroyWindow(top);
}

std::array<LONG, 4> Edges(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The test display has one 1920 x 1200 screen.
TEST_F(TopLevelWindowTest, MonitorsAreTheScreensClippedAndDescribed) {
    struct Seen {
        std::vector<std::pair<HMONITOR, RECT>> monitors;
        bool stopAtFirst = false;
    };
    const auto collect = [](const RECT* clip, bool stopAtFirst) {
        Seen seen{{}, stopAtFirst};
        EXPECT_TRUE(EnumDisplayMonitors(
            nullptr, clip,
            [](HMONITOR monitor, HDC, RECT* rect, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Seen*>(data);
                s->monitors.emplace_back(monitor, *rect);
                return !s->stopAtFirst;
            },
            reinterpret_cast<LPARAM>(&seen)));
        return seen.monitors;
    };
    const auto all = collect(nullptr, false);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_NE(all[0].first, nullptr);
    EXPECT_EQ(Edges(all[0].second), Edges({0, 0, 1920, 1200}));
    EXPECT_EQ(collect(nullptr, true).size(), 1u);

    const RECT inside{100, 50, 300, 250}, across{1800, 1100, 2500, 1600},
        outside{2000, 0, 2100, 10};
    ASSERT_EQ(collect(&inside, false).size(), 1u);
    EXPECT_EQ(Edges(collect(&inside, false)[0].second), Edges(inside));
    EXPECT_EQ(Edges(collect(&across, false)[0].second), Edges({1800, 1100, 1920, 1200}));
    EXPECT_TRUE(collect(&outside, false).empty());
    EXPECT_TRUE(EnumDisplayMonitors(nullptr, nullptr, nullptr, 0));

    MONITORINFOEX info{};
    info.cbSize = sizeof(MONITORINFO) - 1;
    EXPECT_FALSE(GetMonitorInfo(all[0].first, &info));
    info.cbSize = sizeof(MONITORINFOEX);
    EXPECT_FALSE(GetMonitorInfo(nullptr, &info));
    EXPECT_FALSE(GetMonitorInfo(reinterpret_cast<HMONITOR>(std::uintptr_t{7}), &info));
    ASSERT_TRUE(GetMonitorInfo(all[0].first, &info));
    EXPECT_EQ(Edges(info.rcMonitor), Edges({0, 0, 1920, 1200}));
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_STREQ(info.szDevice, "DisplayID 0");

    MONITORINFO plain{};
    plain.cbSize = sizeof plain; // no room for a name: nothing written past the record
    ASSERT_TRUE(GetMonitorInfo(all[0].first, &plain));
    EXPECT_EQ(Edges(plain.rcMonitor), Edges(info.rcMonitor));
}

} // namespace
} // namespace winlayer::test
