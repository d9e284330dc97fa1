#include "winlayer/window/AppController.h"
#include "platform/ak/Button.h"
#include "platform/ak/Pasteboard.h"
#include "platform/ak/TextField.h"
#include "platform/ak/TextView.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/ApiNames.h"
#include "winlayer/draw/Menus.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

using Log = std::vector<std::string>;

// What the shell's handler heard: "<message> <param1>" and, for keys,
// "key <down|up> <virtual key>".
struct Heard {
    Log log;
    INT_PTR answer = 0;
    std::function<void(int)> onMessage;
};

Heard& Shell() {
    static Heard heard;
    return heard;
}

INT_PTR RecordingHandler(int message, INT_PTR param1, INT_PTR) {
    Heard& heard = Shell();
    if (message == AppMsg_KeyEvent) {
        const auto* msg = reinterpret_cast<const MSG*>(param1);
        heard.log.push_back(std::string("key ") + (msg->message == WM_KEYDOWN ? "down " : "up ") +
                            std::to_string(msg->wParam));
    } else {
        heard.log.push_back(std::to_string(message) + " " + std::to_string(param1));
    }
    if (heard.onMessage)
        heard.onMessage(message);
    return message == AppMsg_KeyEvent ? 0 : heard.answer;
}

constexpr unsigned kA = 0x61, kB = 0x62, kC = 0x63, kEscape = 0xff1b, kReturn = 0xff0d;

class AppControllerTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Shell() = Heard{};
        app = ak::test::App();
        controller = std::make_unique<WISPAppController>(&RecordingHandler);
        application = std::make_unique<WISPApplication>(*app, *controller);
        probe.answers[WM_INITDIALOG] = 0;
        top = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
        probe.names[top] = "top";
        ShowWindow(top, SW_SHOW);
        window = FindWindow(top);
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
        SetFocus(top);
        ASSERT_TRUE(ak::test::WaitUntilServed());
        probe.Take();
        Shell().log.clear();
    }
    void TearDown() override {
        application.reset();
        WindowTest::TearDown();
    }
    void Key(ak::Window& target, unsigned keysym, bool down, unsigned modifiers = 0) {
        ak::test::Key(target, ak::test::KeycodeOf(keysym), keysym, down, modifiers);
    }
    void Type(ak::Window& target, unsigned keysym, unsigned modifiers = 0) {
        Key(target, keysym, true, modifiers);
        Key(target, keysym, false, modifiers);
    }
    Log Commands() {
        Log kept;
        // The field's focus reports come with every focus move; these tests
        // are about the keys.
        const std::string editingEnded = "top 273 " + std::to_string(CommandParam(EN_KILLFOCUS, 0));
        const std::string focusTaken = "top 273 " + std::to_string(CommandParam(EN_SETFOCUS, 0));
        for (const std::string& line : probe.Take())
            if (line.rfind("top 273 ", 0) == 0 && line != editingEnded && line != focusTaken)
                kept.push_back(line);
        return kept;
    }
    ak::Application* app = nullptr;
    std::unique_ptr<WISPAppController> controller;
    std::unique_ptr<WISPApplication> application;
    DialogResourceRecord resource{1, "Keys", 28, nullptr, 300, 200, nullptr};
    HWND top = nullptr;
    ak::Window* window = nullptr;
};

TEST_F(AppControllerTest, StartUpCallsTheHandlerOnceTheQueueRuns) {
    bool queueReadyAtLoad = false;
    Shell().onMessage = [&](int message) {
        if (message == AppMsg_Load)
            queueReadyAtLoad = PostedQueueReady() && app->Delegate() == controller.get();
    };
    ak::ApplicationDelegate* before = app->Delegate();
    controller->awakeFromNib(*app);
    controller->DidFinishLaunching();
    app->SetDelegate(before);
    EXPECT_EQ(Shell().log, (Log{"1 0", "2 0"}));
    EXPECT_TRUE(queueReadyAtLoad);
}

TEST_F(AppControllerTest, RepeatsOfAHeldKeyAreCoalesced) {
    struct Case {
        const char* name;
        std::vector<std::pair<unsigned, bool>> keys;
        Log heard;
    };
    const std::string a = std::to_string('A'), b = std::to_string('B');
    const Case cases[] = {
        {"a pending repeat drops the first",
         {{kA, true}, {kA, true}, {kA, false}},
         {"key down " + a, "key up " + a}},
        {"another key pending drops nothing",
         {{kA, true}, {kB, true}, {kB, false}, {kA, false}},
         {"key down " + a, "key down " + b, "key up " + b, "key up " + a}},
        // A doubled letter typed quickly: both presses arrive; only the
        // release the next press follows goes.
        {"a press released before the key's next press stays",
         {{kA, true}, {kA, false}, {kA, true}, {kA, false}},
         {"key down " + a, "key down " + a, "key up " + a}},
    };
    for (const Case& c : cases) {
        Shell().log.clear();
        for (const auto& [keysym, down] : c.keys)
            Key(*window, keysym, down);
        ak::test::PumpUntil([&] { return Shell().log.size() >= c.heard.size(); });
        ASSERT_TRUE(ak::test::WaitUntilServed()); // and nothing more
        EXPECT_EQ(Shell().log, c.heard) << c.name;
    }
}

TEST_F(AppControllerTest, ActivationIsBroadcastUnlessTheHandlerAnswers) {
    probe.quiet.clear();
    controller->DidBecomeActive();
    controller->DidResignActive();
    EXPECT_EQ(probe.Take(), (Log{"top 28 1", "top 28 0"}));
    EXPECT_EQ(Shell().log, (Log{"4096 1", "4096 0"}));
    Shell().answer = 1;
    controller->DidBecomeActive();
    EXPECT_TRUE(probe.Take().empty());

    // A window that closes another during the broadcast: the walk goes on
    // over held windows and the closed one hears nothing more.
    const HWND other = CreateModelessWindow(&resource, nullptr, &WindowProbe::DialogProc, 0, 0);
    probe.names[other] = "other";
    probe.hook = [&](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_ACTIVATEAPP)
            DestroyWindow(window == top ? other : top);
        return 0;
    };
    probe.Take();
    WISP_BroadcastMessage(WM_ACTIVATEAPP, 1, 0);
    const Log log = probe.Take();
    EXPECT_EQ(std::count(log.begin(), log.end(), "top 28 1") +
                  std::count(log.begin(), log.end(), "other 28 1"),
              1);
    probe.hook = nullptr;
}

TEST_F(AppControllerTest, TheHandlersRepliesToTheDelegateQuestions) {
    EXPECT_FALSE(controller->applicationOpenFile(""));
    EXPECT_FALSE(controller->applicationOpenFile(std::string(5000, 'x').c_str()));
    EXPECT_TRUE(Shell().log.empty()) << "refused without asking";
    EXPECT_FALSE(controller->applicationOpenFile("/tmp/a.syx"));
    Shell().answer = 1;
    EXPECT_TRUE(controller->applicationOpenFile("/tmp/a.syx"));
    EXPECT_TRUE(controller->applicationOpenUntitledFile());
    EXPECT_TRUE(controller->applicationShouldOpenUntitledFile());
    controller->onSysMenuCommand(0, nullptr);
    controller->onSysMenuCommand(0x12345, nullptr);
    EXPECT_EQ(Shell().log.size(), 5u);
    EXPECT_EQ(Shell().log.back(), "153 " + std::to_string(0x12345));
    // Modules find the layer's window functions through the controller.
    auto lookup = reinterpret_cast<void* (*)(const char*)>(controller->wispGetAPPAPIFunc());
    EXPECT_EQ(lookup("WISP_DialogBox"), reinterpret_cast<void*>(&WISP_DialogBox));
    EXPECT_EQ(lookup("WISP_BroadcastMessage"), reinterpret_cast<void*>(&WISP_BroadcastMessage));
    EXPECT_EQ(lookup("NoSuchFunction"), nullptr);
}

TEST_F(AppControllerTest, ReturnPressesTheDefaultButtonTypesInTextViewsOrTakesTheFocus) {
    // Without a default button the dialog view takes the focus.
    auto field =
        ak::MakeRef<ak::TextField>(ak::Rect{{10, 10}, {120, 24}}, ak::TextFieldKind::Editable);
    FindView(top)->AddSubview(field.Get());
    window->MakeFirstResponder(field.Get());
    Type(*window, kReturn);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return window->FirstResponder() == FindView(top); }));
    EXPECT_TRUE(Commands().empty());

    auto button = ak::MakeRef<ak::Button>(ak::Rect{{10, 50}, {80, 24}}, ak::ButtonKind::Push);
    button->SetTag(9);
    FindView(top)->AddSubview(button.Get());
    window->SetDefaultButton(button.Get());
    window->MakeFirstResponder(field.Get());
    Type(*window, kReturn);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return InOrder(probe.log, {"top 273 9"}); }));
    EXPECT_EQ(Commands(), (Log{"top 273 9"}));

    auto text = ak::MakeRef<ak::TextView>(ak::Rect{{10, 90}, {200, 80}});
    FindView(top)->AddSubview(text.Get());
    window->MakeFirstResponder(text.Get());
    Type(*window, kReturn);
    // The text view has the keys: Return types a line break there.
    EXPECT_TRUE(ak::test::PumpUntil([&] { return text->Text() == "\n"; }))
        << "Return did not reach the text view";
    ASSERT_TRUE(ak::test::WaitUntilServed());
    const Log commands = Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "top 273 9"), 0)
        << "left to the text view, not the default button";
}

TEST_F(AppControllerTest, EscapeCancelsOrLeavesTheTextAndCommandCopiesInAField) {
    auto field =
        ak::MakeRef<ak::TextField>(ak::Rect{{10, 10}, {120, 24}}, ak::TextFieldKind::Editable);
    FindView(top)->AddSubview(field.Get());
    field->SetText("copied text");
    window->MakeFirstResponder(field.Get());
    ASSERT_TRUE(ak::test::WaitUntilServed());
    field->SetSelection(0, 6);
    Type(*window, kC, ak::test::Mod::Ctrl);
    ASSERT_TRUE(ak::test::PumpUntil([] { return ak::Pasteboard::Text() == "copied"; }));
    EXPECT_TRUE(InOrder(Shell().log, {"key down " + std::to_string('C')}))
        << "offered to the handler first";

    Type(*window, kEscape);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return InOrder(probe.log, {"top 273 2"}); }));
    EXPECT_EQ(Commands(), (Log{"top 273 2"}));
    window->MakeFirstResponder(field.Get());
    Type(*window, kEscape, ak::test::Mod::Shift);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return window->FirstResponder() == FindView(top); }));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(AppControllerTest, AMenuAcceleratorPassesTheRoutingAndReachesTheWindow) {
    const MenuListEntry entries[] = {
        {"/.BO^O:&File", 0, 0},
        {"&Preferences...\tCtrl+,", 40006, 0},
        {"EN%%%^:", 0, 0},
    };
    HMENU bar = CreatePopupMenu();
    WISP_GenerateMenuFromList(bar, entries, 3);
    ASSERT_TRUE(SetMenu(top, bar));
    ASSERT_TRUE(ak::test::WaitUntilSettled(*window)); // the bar laid out with its keys
    probe.Take();
    Type(*window, 0x2c, ak::test::Mod::Ctrl);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return InOrder(probe.log, {"top 273 40006"}); }))
        << ::testing::PrintToString(probe.log);
    ASSERT_FALSE(Shell().log.empty());
    EXPECT_EQ(Shell().log.front().rfind("key down ", 0), 0u) << "offered to the handler first";
    SetMenu(top, nullptr);
    DestroyMenu(bar);
}

TEST_F(AppControllerTest, ModalRunsKeepKeysFromTheHandlerAndEscapeStillCancels) {
    DialogResourceRecord prefs{40002, "Preferences", 12, nullptr, 334, 200, nullptr};
    probe.hook = [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_INITDIALOG) {
            ak::Application::RunOnMainLater([this, dialog] {
                ak::test::WaitUntilShown(*FindWindow(dialog));
                SetFocus(dialog);
                Type(*FindWindow(dialog), kA);
                Type(*FindWindow(dialog), kEscape);
            });
            return 1;
        }
        if (message == WM_COMMAND && wParam == IDCANCEL)
            EndDialog(dialog, 2);
        return 0;
    };
    EXPECT_EQ(WISP_DialogBox(&prefs, 40002, top, &WindowProbe::DialogProc, 0), 2);
    EXPECT_TRUE(Shell().log.empty());
}

} // namespace
} // namespace winlayer::test
