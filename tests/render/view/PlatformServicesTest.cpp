// File and folder prompts, tooltips, appearance, native subviews, cursor and
// clipboard services of the platform canvas, in a real window.
#include "platform/ak/Cursor.h"
#include "platform/ak/FilePanel.h"
#include "platform/ak/Pasteboard.h"
#include "platform/sys/Folders.h"
#include "tests/render/view/CanvasWindow.h"
#include "toolkit/IPopupMenuControl.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

using vx::test::CanvasWindow;

// The theme chosen in settings rather than forced by the environment, so a
// test can change it.
const bool kUnforced = unsetenv("GTK_THEME") == 0;

struct Prompts : CanvasWindow {
    void SetUp() override {
        CanvasWindow::SetUp();
        char pattern[] = "/tmp/omnar-prompts-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        for (const char* name : {"a.syx", "b.bnk", "c.wav"})
            std::ofstream(folder + "/" + name) << "x";
        std::filesystem::create_directory(folder + "/sub");
    }
    void TearDown() override {
        CanvasWindow::TearDown();
        std::filesystem::remove_all(folder);
    }
    // Answers the next panel from inside its own loop.
    static void AnswerPanel(std::function<void()> answer) {
        ak::Application::RunOnMainLater([answer] {
            ASSERT_TRUE(ak::test::PumpUntil([] { return ak::test::IsFilePanelShown(); }));
            answer();
        });
    }
    std::string folder;
};

TEST_F(Prompts, ASaveWithTwoExtensionsAllowsExactlyThoseAndAnswersPathAndFolder) {
    ASSERT_NE(Open(), nullptr);
    std::vector<bool> shows;
    std::string shownFolder, shownName;
    AnswerPanel([&] {
        for (const char* name : {"a.syx", "b.bnk", "c.wav"})
            shows.push_back(ak::test::FilePanelShows(name));
        shownFolder = ak::test::FilePanelFolder();
        shownName = ak::test::FilePanelName();
        ak::test::FilePanelAccept({"mine"});
    });
    VxString name("preset"), dir(folder.c_str());
    Canvas()->RunFileDialog(name, dir, vx::ui::EFileAction::Save, "syx bnk", nullptr);
    EXPECT_EQ(shows, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(shownFolder, folder);
    EXPECT_EQ(shownName, "preset");
    EXPECT_EQ(std::string(name.Get()), folder + "/mine.syx");
    EXPECT_EQ(std::string(dir.Get()), folder + "/");
}

TEST_F(Prompts, ACancelledOpenLeavesTheNameEmptyAndStillCompletes) {
    ASSERT_NE(Open(), nullptr);
    VxString name("x.syx"), dir(folder.c_str());
    std::vector<std::string> heard;
    Canvas()->RunFileDialog(name, dir, vx::ui::EFileAction::Open, "",
                            [&](const VxString& n, const VxString& d) {
                                heard = {n.Get(), d.Get()};
                            });
    EXPECT_STREQ(name.Get(), "");
    AnswerPanel([] { ak::test::FilePanelCancel(); });
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !heard.empty(); }));
    EXPECT_EQ(heard, (std::vector<std::string>{"", ""}));

    // An open chosen through a sheet completes with the path and its folder.
    heard.clear();
    Canvas()->RunFileDialog(name, dir, vx::ui::EFileAction::Open, "wav",
                            [&](const VxString& n, const VxString& d) {
                                heard = {n.Get(), d.Get()};
                            });
    AnswerPanel([&] { ak::test::FilePanelAccept({folder + "/c.wav"}); });
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !heard.empty(); }));
    EXPECT_EQ(heard, (std::vector<std::string>{folder + "/c.wav", folder + "/"}));
}

TEST_F(Prompts, AnEmptyFolderStartsAtTheDesktopAndAChosenFolderEndsInASlash) {
    ASSERT_NE(Open(), nullptr);
    VxString dir;
    std::vector<std::string> heard;
    Canvas()->RunFolderDialog(dir, [&](const VxString& n, const VxString& d) {
        heard = {n.Get(), d.Get()};
    });
    EXPECT_EQ(std::string(dir.Get()), sys::DesktopFolder());
    EXPECT_EQ(dir.Get()[0], '/');
    AnswerPanel([] { ak::test::FilePanelCancel(); });
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !heard.empty(); }));
    EXPECT_EQ(heard, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(std::string(dir.Get()), sys::DesktopFolder());

    dir.SetBounded((folder + "/sub").c_str());
    AnswerPanel([&] { ak::test::FilePanelAccept({folder + "/sub"}); });
    Canvas()->RunFolderDialog(dir, nullptr);
    EXPECT_EQ(std::string(dir.Get()), folder + "/sub/");
}

TEST_F(CanvasWindow, WithoutAViewPromptsAndDragsDoNothing) {
    vx::ui::ICanvasMac canvas(delegate, 10, 10, 60, 1.f);
    VxString name("kept"), dir;
    canvas.RunFileDialog(name, dir, vx::ui::EFileAction::Open, "", nullptr);
    EXPECT_STREQ(name.Get(), "");
    EXPECT_FALSE(canvas.BeginFileDragOut("/tmp/x.syx", {0, 0, 10, 10}));
    EXPECT_FALSE(canvas.IsDarkAppearance());
    canvas.ShowNativeTextEntry(-1, {}, {0, 0, 10, 10}, 0, "");
    canvas.ResizeNativeView(true);
}

TEST_F(CanvasWindow, TooltipsShowTheControlUnderTheMouseButNotOverAnOpenMenu) {
    vx::ui::IPopupMenuControl* menuControl = nullptr;
    moreLayout = [&](vx::ui::ICanvas* canvas) {
        control->SetTooltip("Gain");
        menuControl = new vx::ui::IPopupMenuControl(-1, {}, {0, 0, 10, 10}, {0, 0, 200, 100});
        canvas->AttachPopupMenuControl(menuControl);
        canvas->SetTooltipsEnabled(true);
    };
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    Canvas()->OnMouseOver(30, 30, {});
    EXPECT_EQ(view->ToolTipAt({30, 30}), "Gain");
    Canvas()->OnMouseOver(100, 80, {});
    EXPECT_EQ(view->ToolTipAt({100, 80}), "");

    vx::ui::IPopupMenu menu;
    menu.AddItem("Room");
    menuControl->Show(menu, {20, 20, 60, 60});
    Canvas()->UpdateTooltips();
    Canvas()->OnMouseOver(30, 30, {});
    EXPECT_EQ(view->ToolTipAt({30, 30}), "");
}

TEST_F(CanvasWindow, TheDarkThemeReachesTheCanvas) {
    ASSERT_TRUE(kUnforced);
    std::vector<int> heard;
    ASSERT_NE(Open(), nullptr);
    Canvas()->SetAppearanceCallback([&](int dark) { heard.push_back(dark); });
    ak::test::SetTheme("Adwaita", true);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !heard.empty() && heard.back() == 1; }));
    EXPECT_TRUE(Canvas()->IsDarkAppearance());
    ak::test::SetTheme("Adwaita", false);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return heard.back() == 0; }));
    EXPECT_FALSE(Canvas()->IsDarkAppearance());
}

TEST_F(CanvasWindow, NativeSubviewsSitOverTheirPanelRectanglesAndTheViewFollowsResizes) {
    drawScale = 1.5f;
    vx::ui::ICanvasView* view = Open();
    ASSERT_NE(view, nullptr);
    auto native = ak::MakeRef<ak::View>();
    Canvas()->AddNativeSubview({10.2f, 5.5f, 20.1f, 7.f}, native.Get());
    EXPECT_EQ(native->Superview(), view);
    EXPECT_EQ(native->Frame(), (ak::Rect{{15, 8}, {16, 3}}));
    Canvas()->ShowNativeSubview(native.Get(), false);
    EXPECT_TRUE(native->IsHidden());
    Canvas()->RemoveNativeSubview(native.Get());
    EXPECT_EQ(native->Superview(), nullptr);

    Canvas()->Resize(301, 151, 1.5f, true);
    EXPECT_EQ(view->Frame().size, (ak::Size{451, 226}));
}

TEST_F(CanvasWindow, CursorHidingIsAFlagAndShowingDropsTheLock) {
    ASSERT_NE(Open(), nullptr);
    vx::ui::ICanvasMac& canvas = *Canvas();
    canvas.SetCursorHidden(true, false);
    canvas.SetCursorHidden(true, true); // no second effect, the lock stays off
    EXPECT_TRUE(canvas.IsCursorHidden());
    EXPECT_FALSE(canvas.CursorHeldAtHidePosition());
    canvas.SetCursorHidden(false, true);
    EXPECT_FALSE(canvas.IsCursorHidden());
    EXPECT_FALSE(ak::Cursor::IsHidden());
    canvas.SetCursorHidden(true, true);
    EXPECT_TRUE(canvas.CursorHeldAtHidePosition());
    canvas.SetCursorHidden(false, true);
    EXPECT_FALSE(canvas.CursorHeldAtHidePosition());
}

TEST_F(CanvasWindow, ALockedCursorMeasuresDragsFromWhereItWasHidden) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ak::test::Enter(*window, {30, 30});
    ak::test::Press(*window, {30, 30});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return Canvas()->ControlIsCaptured(); }));
    Canvas()->WarpMouseCursor(30, 30);
    Canvas()->SetCursorHidden(true, true);
    log.clear();
    std::vector<std::string> drags;
    const auto dragsHeard = [&] {
        drags.clear();
        for (const std::string& line : log)
            if (line.rfind("control drag", 0) == 0)
                drags.push_back(line.substr(8));
        return drags.size();
    };
    ak::test::Move(*window, {34, 37}, 1);
    ak::test::Move(*window, {36, 40}, 1);
    ak::test::PumpUntil([&] { return dragsHeard() >= 2; });
    const ak::Point onScreen = ak::Cursor::MouseLocation();
    Canvas()->SetCursorHidden(false, false);
    ak::test::Move(*window, {38, 41}, 1);
    ak::test::Release(*window, {38, 41});
    ak::test::PumpUntil([&] { return dragsHeard() >= 3 && !Canvas()->ControlIsCaptured(); });
    // Each delta counts from the hide position, which stays the previous
    // position until an unlocked event moves it.
    EXPECT_EQ(drags,
              (std::vector<std::string>{"drag 34,37 4,7", "drag 36,40 6,10", "drag 38,41 8,11"}));
    // The system cursor was put back where it was hidden.
    const ak::Point expected =
        window->ConvertPointToScreen(window->ContentView()->ConvertPointToView({30, 30}, nullptr));
    EXPECT_EQ(onScreen, expected);
}

TEST_F(CanvasWindow, AFileDragOutStartsFromAPressAndEndsTheCapture) {
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    bool started = false, capturedAfter = true;
    control->onMouseDown = [&](vx::test::TestControl*) {
        started = Canvas()->BeginFileDragOut("/tmp/omnar drag.syx", control->GetRECT());
        capturedAfter = Canvas()->ControlIsCaptured();
    };
    ak::test::Enter(*window, {30, 30});
    ak::test::Press(*window, {30, 30});
    ak::test::PumpUntil([&] { return started; });
    ak::test::Release(*window, {30, 30});
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_TRUE(started);
    EXPECT_FALSE(capturedAfter);
}

TEST_F(CanvasWindow, FilesGoToTheClipboardAndMissingFilesAreNotShown) {
    ASSERT_NE(Open(), nullptr);
    EXPECT_TRUE(Canvas()->WriteClipboardFilePath("/tmp/a b.syx"));
    EXPECT_EQ(ak::Pasteboard::FilePaths(), (std::vector<std::string>{"/tmp/a b.syx"}));
    EXPECT_FALSE(Canvas()->WriteClipboardFilePath(""));
    for (bool select : {true, false}) {
        EXPECT_FALSE(Canvas()->ShowInFinder(VxString(""), select));
        EXPECT_FALSE(Canvas()->ShowInFinder(VxString("/tmp/omnar-no-such-file.syx"), select));
    }
}

} // namespace
