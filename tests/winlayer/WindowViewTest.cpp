#include "winlayer/window/WindowView.h"
#include "platform/ak/Button.h"
#include "platform/ak/ComboBox.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/ApiNames.h"
#include "winlayer/window/MenuSlots.h"
#include "winlayer/window/TopLevel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace winlayer::test {
namespace {

using Log = std::vector<std::string>;

std::string H(HWND window) {
    return std::to_string(reinterpret_cast<WPARAM>(window));
}

// A resource whose creator puts one push button with id 7 into the view.
void AddButton(HWND view, int) {
    auto button = ak::MakeRef<ak::Button>(ak::Rect{{10, 10}, {80, 24}}, ak::ButtonKind::Push);
    button->SetTag(7);
    FindView(view)->AddSubview(button.Get());
    auto label = ak::MakeRef<ak::TextField>(ak::Rect{{10, 40}, {80, 20}}, ak::TextFieldKind::Label);
    FindView(view)->AddSubview(label.Get());
    WindowProbe::Current().log.push_back("creator");
}

DialogResourceRecord Resource(int flags = 28, void (*creator)(HWND, int) = nullptr) {
    return {1, "Probe", flags, creator, 300, 300, nullptr};
}

class WindowViewTest : public WindowTest {
protected:
    // A hidden top-level window whose content view logs as "top".
    HWND MakeTop(DialogResourceRecord& resource) {
        probe.answers[WM_INITDIALOG] = 0;
        const HWND top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        probe.names[top] = "top";
        probe.Take();
        return top;
    }
    // A plain child window view of parent, logging as name.
    HWND MakeChild(HWND parent, const std::string& name, LPARAM param = 0) {
        auto* view = Wisp_vOmnarControl_hwnd::initChild(
            nullptr, FindView(parent), reinterpret_cast<DLGPROC>(&WindowProbe::Proc), param);
        probe.names[view->Handle()] = name;
        probe.Take();
        return view->Handle();
    }
    DialogResourceRecord resource = Resource();
};

TEST_F(WindowViewTest, CreationRunsCreateOrControlsThenInitDialogThenColours) {
    DialogResourceRecord withControls = Resource(28, &AddButton);
    const HWND top = CreateModelessWindow(&withControls, nullptr, &WindowProbe::DialogProc, 5, 0);
    ASSERT_NE(top, nullptr);
    const HWND button = GetDlgItem(top, 7);
    ASSERT_NE(button, nullptr);
    // The candidate for the focus is the first subview that takes it; the
    // colour pass asks about the label last.
    const Log log = probe.Take();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "creator");
    EXPECT_EQ(log[1], "? 272 " + H(button));
    EXPECT_EQ(log[2].rfind("? 312 ", 0), 0u) << log[2];

    Wisp_vOmnarControl_hwnd::initChild(nullptr, FindView(top),
                                       reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 42);
    EXPECT_EQ(probe.Take(), (Log{"? 1 0"})); // WM_CREATE only, no colour pass
}

TEST_F(WindowViewTest, InitDialogAnswerChoosesTheFocus) {
    struct Case {
        LRESULT answer;
        bool viewItself;
    };
    for (const Case c : {Case{kFocusDialogItself, true}, Case{1, false}, Case{0, false}}) {
        DialogResourceRecord withControls = Resource(28, &AddButton);
        probe.answers[WM_INITDIALOG] = c.answer;
        const HWND top =
            CreateModelessWindow(&withControls, nullptr, &WindowProbe::DialogProc, 0, 0);
        ak::Window* window = FindView(top)->GetWindow();
        ak::Responder* want = c.viewItself ? FindObject(top) : FindObject(GetDlgItem(top, 7));
        EXPECT_EQ(window->FirstResponder(), want) << c.answer;
        DestroyWindow(top);
    }
}

TEST_F(WindowViewTest, AskingForTheFocusMakesTheWindowKeyOnItsFirstShowOnly) {
    probe.answers[WM_INITDIALOG] = 1;
    const HWND asked = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
    probe.answers[WM_INITDIALOG] = 0;
    const HWND quiet = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
    ShowWindow(asked, SW_SHOWNORMAL);
    EXPECT_TRUE(FindWindow(asked)->IsKeyWindow());
    ShowWindow(quiet, SW_SHOWNORMAL);
    EXPECT_TRUE(FindWindow(asked)->IsKeyWindow());
    EXPECT_FALSE(FindWindow(quiet)->IsKeyWindow());
    DestroyWindow(asked);
    DestroyWindow(quiet);
}

TEST_F(WindowViewTest, DestroySequenceRunsOnceInOrderDownTheTree) {
    const HWND top = MakeTop(resource);
    const HWND first = MakeChild(top, "first");
    const HWND second = MakeChild(top, "second");
    const HWND inner = MakeChild(first, "inner");
    probe.Take();
    ASSERT_EQ(SetTimer(inner, 3, 1000, nullptr), 3u);
    ASSERT_TRUE(PostMessage(second, WM_COMMAND, 99, 0));

    EXPECT_TRUE(DestroyWindow(top));
    EXPECT_EQ(probe.Take(), (Log{"top 2 0", "top 130 0", "first 2 0", "first 130 0", "inner 2 0",
                                 "inner 130 0", "second 2 0", "second 130 0"}));
    EXPECT_FALSE(KillTimer(inner, 3)); // already gone with its window
    WISP_MessageQueue_Flush();
    EXPECT_EQ(SendMessage(first, WM_DESTROY, 0, 0), 0);
    EXPECT_TRUE(probe.Take().empty()); // the post was dropped, a second destroy ignored
    EXPECT_FALSE(IsWindow(top));
    EXPECT_FALSE(IsWindow(inner));
}

TEST_F(WindowViewTest, DestroyingAChildLeavesItsParentAndIsWindowForgetsIt) {
    const HWND top = MakeTop(resource);
    const HWND child = MakeChild(top, "child");
    EXPECT_TRUE(IsWindow(child));
    EXPECT_TRUE(DestroyWindow(child));
    EXPECT_EQ(probe.Take(), (Log{"child 2 0", "child 130 0"}));
    // Released with its place in the parent: the handle reaches nothing now.
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(SendMessage(child, WM_COMMAND, 1, 0), 0);
    EXPECT_FALSE(PostMessage(child, WM_COMMAND, 1, 0) && (WISP_MessageQueue_Flush(), false));
    EXPECT_TRUE(probe.Take().empty());
    EXPECT_TRUE(IsWindow(top));
    DestroyWindow(top);
}

TEST_F(WindowViewTest, ASiblingDestroyedDuringTheParentsSequenceIsNotTouchedAgain) {
    const HWND top = MakeTop(resource);
    const HWND first = MakeChild(top, "first");
    const HWND second = MakeChild(top, "second");
    probe.hook = [&](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (window == first && message == WM_DESTROY)
            DestroyWindow(second);
        return 0;
    };
    DestroyWindow(top);
    EXPECT_EQ(probe.Take(), (Log{"top 2 0", "top 130 0", "first 2 0", "second 2 0", "second 130 0",
                                 "first 130 0"}));
}

TEST_F(WindowViewTest, CloseBoxAsksTheProcedureAndClosesOnlyThroughDestroyWindow) {
    struct Case {
        const char* name;
        bool destroyInClose;
        Log want;
    };
    const Case cases[] = {
        {"ignored", false, {"top 16 0", "top 273 2"}},
        {"destroyed in WM_CLOSE", true, {"top 16 0", "top 2 0", "top 130 0"}},
    };
    for (const Case& c : cases) {
        const HWND top = MakeTop(resource);
        ak::Ref<ak::Window> window(FindWindow(top));
        ShowWindow(top, SW_SHOW);
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
        probe.Take();
        probe.hook = [&](HWND w, UINT message, WPARAM, LPARAM) -> LRESULT {
            if (c.destroyInClose && message == WM_CLOSE)
                DestroyWindow(w);
            return 0;
        };
        ak::test::CloseBox(*window);
        ak::test::PumpUntil([&] { return !probe.log.empty(); });
        ASSERT_TRUE(ak::test::WaitUntilServed());
        EXPECT_EQ(probe.Take(), c.want) << c.name;
        EXPECT_EQ(window->IsClosed(), c.destroyInClose) << c.name;
        probe.hook = nullptr;
        DestroyWindow(top);
    }
}

TEST_F(WindowViewTest, TimersReArmTickInNestedLoopsAndStopWithTheirWindow) {
    const HWND top = MakeTop(resource);
    const HWND view = MakeChild(top, "view");
    int fast = 0, slow = 0, fastDuringSlow = 0;
    probe.quiet.push_back(winlayer::WM_TIMER);
    probe.hook = [&](HWND, UINT message, WPARAM id, LPARAM) -> LRESULT {
        if (message != winlayer::WM_TIMER)
            return 0;
        if (id == 1)
            ++fast;
        if (id == 2 && ++slow == 1) {
            // A nested loop inside a tick: the other timer keeps ticking.
            const int before = fast;
            ak::test::PumpUntil([&] { return fast >= before + 3; });
            fastDuringSlow = fast - before;
        }
        return 0;
    };
    int selfKilling = 0;
    auto earlier = probe.hook;
    probe.hook = [&, earlier](HWND window, UINT message, WPARAM id, LPARAM lParam) -> LRESULT {
        if (message == winlayer::WM_TIMER && id == 3) {
            ++selfKilling;
            EXPECT_TRUE(KillTimer(window, 3)); // inside its own tick
        }
        return earlier(window, message, id, lParam);
    };
    EXPECT_EQ(SetTimer(view, 3, 1, nullptr), 3u);
    EXPECT_EQ(SetTimer(view, 1, 0, nullptr), 1u);
    EXPECT_EQ(SetTimer(view, 1, 5, nullptr), 1u); // re-armed, not a second timer
    EXPECT_EQ(SetTimer(view, 2, 30, nullptr), 2u);
    EXPECT_EQ(SetTimer(view, 0, 30, nullptr), 0u);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return slow >= 1 && fast >= 5; }));
    EXPECT_GE(fastDuringSlow, 3);
    EXPECT_EQ(selfKilling, 1);

    DestroyWindow(view);
    // A witness on the window, slower than both: once it has ticked twice,
    // the view's timers would have ticked too had they outlived the view.
    int late = 0, witness = 0;
    probe.hook = [&](HWND, UINT message, WPARAM id, LPARAM) -> LRESULT {
        if (message == winlayer::WM_TIMER)
            ++(id == 7 ? witness : late);
        return 0;
    };
    ASSERT_EQ(SetTimer(top, 7, 40, nullptr), 7u);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return witness >= 2; }));
    EXPECT_EQ(late, 0);
    EXPECT_FALSE(KillTimer(view, 1));
    DestroyWindow(top);
}

TEST_F(WindowViewTest, PostedMessagesArriveInOrderOnTheQueuesTick) {
    const HWND top = MakeTop(resource);
    const HWND view = MakeChild(top, "view");
    for (WPARAM n = 1; n <= 3; ++n)
        ASSERT_TRUE(PostMessage(view, WM_COMMAND, n, 0));
    EXPECT_FALSE(PostMessage(nullptr, WM_COMMAND, 1, 0));
    EXPECT_TRUE(probe.log.empty()); // nothing is delivered at once
    ASSERT_TRUE(ak::test::PumpUntil([&] { return probe.log.size() == 3; }));
    EXPECT_EQ(probe.Take(), (Log{"view 273 1", "view 273 2", "view 273 3"}));
    DestroyWindow(top);
}

TEST_F(WindowViewTest, DialogItemsReadAndWriteTexts) {
    const HWND top = MakeTop(resource);
    ak::View* content = FindView(top);
    auto field =
        ak::MakeRef<ak::TextField>(ak::Rect{{10, 10}, {100, 24}}, ak::TextFieldKind::Editable);
    field->SetTag(11);
    auto combo = ak::MakeRef<ak::ComboBox>(ak::Rect{{10, 40}, {100, 24}});
    combo->SetTag(12);
    auto check = ak::MakeRef<ak::Button>(ak::Rect{{10, 70}, {100, 24}}, ak::ButtonKind::Check);
    check->SetTag(13);
    content->AddSubview(field.Get());
    content->AddSubview(combo.Get());
    content->AddSubview(check.Get());
    EXPECT_EQ(GetDlgItem(top, 0), top);
    EXPECT_EQ(GetDlgItem(top, 99), nullptr);

    // A program's change of an edit field reads as EN_CHANGE; a combo's does not.
    EXPECT_TRUE(SetDlgItemText(top, 11, " 42"));
    EXPECT_TRUE(SetDlgItemText(top, 12, "x"));
    EXPECT_EQ(probe.Take(), Log{"top 273 " + std::to_string((0x300 << 16) + 11)});
    BOOL ok = FALSE;
    EXPECT_EQ(GetDlgItemInt(top, 11, &ok, FALSE), 42u);
    EXPECT_TRUE(ok);

    char buffer[8] = "unset";
    EXPECT_TRUE(GetDlgItemText(top, 11, buffer, 3));
    EXPECT_STREQ(buffer, " 4");
    EXPECT_FALSE(GetDlgItemText(top, 11, nullptr, 8));
    EXPECT_FALSE(GetDlgItemText(top, 11, buffer, 0));
    EXPECT_FALSE(GetDlgItemText(top, 99, buffer, 8));

    // A content view's text is its window's title too.
    const std::string longTitle = std::string(1022, 'a') + "\xC3\xA9";
    EXPECT_TRUE(SetDlgItemText(top, 0, longTitle.c_str()));
    EXPECT_EQ(FindWindow(top)->Title(), longTitle);
    EXPECT_EQ(std::string(static_cast<Wisp_vOmnarControl_hwnd*>(content)->onWispGetText()),
              std::string(1022, 'a')); // never half a character

    check->SetAllowsMixedState(true);
    const HWND checkHandle = GetDlgItem(top, 13);
    SendMessage(checkHandle, BM_SETCHECK, 2, 0);
    EXPECT_EQ(SendMessage(checkHandle, BM_GETCHECK, 0, 0), 2);
    EXPECT_EQ(check->State(), -1);
    SendMessage(checkHandle, BM_SETCHECK, 1, 0);
    EXPECT_EQ(SendMessage(checkHandle, BM_GETCHECK, 0, 0), 1);
    DestroyWindow(top);
}

TEST_F(WindowViewTest, ComboAndSliderMessagesGoThroughTheControlCalls) {
    const HWND top = MakeTop(resource);
    auto popUp = ak::MakeRef<ak::PopUpButton>(ak::Rect{{10, 10}, {100, 24}});
    popUp->AddItem("one");
    popUp->AddItem("two");
    popUp->SelectIndex(1);
    auto slider = ak::MakeRef<ak::Slider>(ak::Rect{{10, 40}, {100, 24}});
    FindView(top)->AddSubview(popUp.Get());
    FindView(top)->AddSubview(slider.Get());
    const HWND combo = HandleOf(popUp.Get());
    const HWND track = HandleOf(slider.Get());

    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessage(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessage(combo, CB_DELETESTRING, 5, 0), 1); // whatever remains
    EXPECT_EQ(SendMessage(combo, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessage(combo, CB_FINDSTRING, 0, 0), -1); // no text
    EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("three")), 2);
    EXPECT_EQ(SendMessage(combo, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("TWO")),
              1);
    EXPECT_EQ(SendMessage(combo, 0x0150 + 3, 0, 0), 0); // other combo messages answer 0
    EXPECT_EQ(SendMessage(track, TBM_SETRANGE, 1, 0x00640000), 1);
    EXPECT_EQ(SendMessage(track, TBM_SETPOS, 1, 30), 1);
    EXPECT_EQ(SendMessage(track, TBM_GETPOS, 0, 0), 30);
    EXPECT_EQ(slider->MaxValue(), 100);
    DestroyWindow(top);
}

TEST_F(WindowViewTest, WindowCallsJoinTheNameTable) {
    EXPECT_EQ(LookupAPIFunctionByName("SendMessage"), reinterpret_cast<void*>(&SendMessage));
    EXPECT_EQ(LookupAPIFunctionByName("GetClientRect"), reinterpret_cast<void*>(&GetClientRect));
    EXPECT_EQ(LookupAPIFunctionByName("IsWindow"), reinterpret_cast<void*>(&IsWindow));
    EXPECT_EQ(LookupAPIFunctionByName("MulDiv") != nullptr, true); // the basics stay
    EXPECT_EQ(LookupAPIFunctionByName("sendmessage"), nullptr);
    for (const char* name : {"WISP_InitiateDragDrop", "WISP_InitiateDragDropOfFileList",
                             "WISP_FinishDragDrop", "WISP_SetViewGL", "WISP_GetViewGL",
                             "WISP_SetGLContextToView", "WISP_EnableMetal", "WISP_CreateMetalDC"})
        EXPECT_NE(LookupAPIFunctionByName(name), nullptr) << name;
}

// There is no OpenGL: asking for a context leaves a view without one.
TEST_F(WindowViewTest, ViewsGetNoOpenGLContext) {
    probe.answers[WM_INITDIALOG] = 0;
    DialogResourceRecord plain{1, "Probe", 28, nullptr, 100, 100, nullptr};
    const HWND view = CreateModelessWindow(&plain, nullptr, &WindowProbe::DialogProc, 0, 0);
    ASSERT_NE(view, nullptr);
    WISP_SetViewGL(view, 2);
    EXPECT_FALSE(WISP_GetViewGL(view));
    EXPECT_FALSE(WISP_SetGLContextToView(view));
    EXPECT_FALSE(WISP_SetGLContextToView(nullptr));
    DestroyWindow(view);
}

TEST_F(WindowViewTest, WindowLongsReachTheViewsState) {
    const HWND top = MakeTop(resource);
    const HWND child = MakeChild(top, "child");
    EXPECT_EQ(SetWindowLong(child, GWL_USERDATA, 77), 0);
    EXPECT_EQ(GetWindowLong(child, GWL_USERDATA), 77);
    SetWindowLong(child, GWL_ID, 5);
    EXPECT_EQ(GetDlgItem(top, 5), child);
    SetWindowLong(child, 5, 1234);
    EXPECT_EQ(GetWindowLong(child, 0), 1234); // byte indices 0-7 share a slot
    EXPECT_EQ(GetWindowLong(child, 256), 0);
    EXPECT_EQ(GetWindowLong(child, GWL_STYLE) & WS_CHILD, WS_CHILD);
    EXPECT_EQ(GetWindowLong(top, GWL_STYLE) & (WS_CHILD | WS_CAPTION), WS_CAPTION);
    EXPECT_EQ(GetWindowLong(nullptr, GWL_USERDATA), 0);
    DestroyWindow(top);
}

TEST_F(WindowViewTest, EnablingDecidesWhoTakesTheFocus) {
    const HWND top = MakeTop(resource);
    const HWND child = MakeChild(top, "child");
    ak::Window* window = FindWindow(top);
    ShowWindow(top, SW_SHOW);   // GetFocus answers for the key window only
    EnableWindow(child, -1000); // enabled, but focus only as a content view
    EXPECT_TRUE(IsWindowEnabled(child));
    EXPECT_FALSE(window->MakeFirstResponder(FindView(child)));
    EnableWindow(top, -1000);
    EXPECT_TRUE(window->MakeFirstResponder(FindView(top)));
    EnableWindow(child, TRUE);
    EXPECT_TRUE(window->MakeFirstResponder(FindView(child)));
    EnableWindow(child, FALSE); // the focus moves to the parent first
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_EQ(window->FirstResponder(), FindView(top));
    DestroyWindow(top);
}

TEST_F(WindowViewTest, CaptureLossIsToldToWindowViewsAndDestroyReleasesIt) {
    const HWND top = MakeTop(resource);
    const HWND first = MakeChild(top, "first");
    const HWND second = MakeChild(top, "second");
    EXPECT_EQ(SetCapture(first), nullptr);
    EXPECT_EQ(SetCapture(second), first);
    EXPECT_EQ(probe.Take(), Log{"first 533 0"});
    EXPECT_EQ(GetCapture(), second);
    DestroyWindow(second); // the sequence lets go of the capture
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(probe.Take(), (Log{"second 2 0", "second 130 0"}));
    SetCapture(first);
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(probe.Take(), Log{"first 533 0"});
    DestroyWindow(top);
}

TEST_F(WindowViewTest, KeyWindowsTakeTheirOwnOrTheDefaultMenuAsTheCurrentOne) {
    const auto windowMenu = reinterpret_cast<HMENU>(0x1000);
    const auto modalMenu = reinterpret_cast<HMENU>(0x2000);
    WISP_SetDefaultWindowMenu(windowMenu);
    WISP_SetDefaultModalWindowMenu(modalMenu);
    EXPECT_EQ(WISP_GetDefaultWindowMenu(), windowMenu);
    EXPECT_EQ(WISP_GetDefaultModalWindowMenu(), modalMenu);

    const HWND modeless = MakeTop(resource);
    ShowWindow(modeless, SW_SHOW);
    EXPECT_EQ(WISP_GetCurrentMenu(), windowMenu);
    const HWND box = CreateDialogBox(&resource, nullptr, &WindowProbe::DialogProc, 0);
    ShowWindow(box, SW_SHOW);
    EXPECT_EQ(WISP_GetCurrentMenu(), modalMenu);
    DestroyWindow(box);
    DestroyWindow(modeless);
    WISP_SetDefaultWindowMenu(nullptr);
    WISP_SetDefaultModalWindowMenu(nullptr);
}

} // namespace
} // namespace winlayer::test
