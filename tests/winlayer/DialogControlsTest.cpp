// The dialog controls on a display: the preferences dialog built from its
// control list, filled and read through CB_* messages, and reporting the
// user's choices; then each kind of control, changed by the program and by
// the user.
#include "winlayer/controls/DialogControls.h"
#include "platform/ak/Box.h"
#include "platform/ak/Button.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/Slider.h"
#include "platform/ak/TextField.h"
#include "platform/ak/test/AkTest.h"
#include "tests/winlayer/support/PreferencesDialogList.h"
#include "tests/winlayer/support/WindowProbe.h"
#include "winlayer/InputRecords.h"
#include "winlayer/MessageBoxButtons.h"
#include "winlayer/Mnemonics.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/EditMessages.h"
#include "winlayer/controls/StyleBits.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

constexpr unsigned kReturn = 0xff0d;
constexpr int kDriverList = 40009;
constexpr int kConfigButton = 40022;

using Commands = std::vector<WPARAM>;

// The preferences dialog's creator, as the shell writes it.
void BuildPreferences(HWND view, int flags) {
    WISP_MakeSetCurParms(view, 0, !(flags & 8), 1.5f, 1.5f, 0, 0);
    std::vector<DialogControlListEntry> list;
    for (const auto& placed : kPreferencesDialog)
        list.push_back(placed.entry);
    WISP_GenerateDialogFromList(list.data(), int(list.size()));
}

LRESULT Send(HWND dialog, int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessage(GetDlgItem(dialog, id), message, wParam, lParam);
}

LPARAM Text(const char* text) {
    return reinterpret_cast<LPARAM>(text);
}

void Type(ak::Window& window, unsigned keysym) {
    ak::test::Key(window, ak::test::KeycodeOf(keysym), keysym, true);
    ak::test::Key(window, ak::test::KeycodeOf(keysym), keysym, false);
}

class DialogControlsTest : public WindowTest {
protected:
    // The user's part: two choices of the same driver, "Config...", Return.
    void Interact(HWND dialog) {
        ak::Window* window = FindWindow(dialog);
        ASSERT_TRUE(ak::test::WaitUntilShown(*window));
        ak::test::SaveSnapshot(*window, "preferences-dialog");
        EXPECT_TRUE(commands.empty()) << "the program's CB_* calls report nothing";
        auto* list = dynamic_cast<ak::PopUpButton*>(FindObject(GetDlgItem(dialog, kDriverList)));
        ASSERT_NE(list, nullptr);
        for (size_t round = 1; round <= 2; ++round) { // a re-choice reports too
            ak::MenuItem* item = list->GetMenu().ItemAt(0);
            item->onActivate(*item);
            ASSERT_TRUE(ak::test::PumpUntil([&] { return commands.size() == round; }));
        }
        auto* config = dynamic_cast<ak::Button*>(FindObject(GetDlgItem(dialog, kConfigButton)));
        ASSERT_NE(config, nullptr);
        config->PerformClick();
        ASSERT_TRUE(ak::test::PumpUntil([&] { return commands.size() == 3; }));
        Type(*window, kReturn);
        ASSERT_TRUE(ak::test::PumpUntil([&] { return commands.size() == 4; }));
    }

    // An empty modeless window recording its WM_COMMAND parameters, the
    // factory's controls going into it at scale 1.
    HWND OpenCommandProbe() {
        probe.answers[WM_INITDIALOG] = 0;
        probe.hook = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == WM_COMMAND)
                commands.push_back(wParam);
            return 0;
        };
        const HWND top = CreateModelessWindow(&plain, nullptr, &WindowProbe::DialogProc, 0, 0);
        if (top)
            WISP_MakeSetCurParms(top, 0, 0, 1, 1, 0, 0);
        return top;
    }

    DialogResourceRecord plain{1, "Probe", 28, nullptr, 300, 300, nullptr};
    DialogResourceRecord prefs{40002, "Preferences", 12, &BuildPreferences, 334, 463, nullptr};
    Commands commands;
};

TEST_F(DialogControlsTest, PreferencesDialogStandsFillsAndReportsTheUsersChoices) {
    struct Filled {
        LRESULT added, data, found, missing, noneSelected, length;
        std::string text;
        bool atFrames = false;
        bool boxesBehind = false;
    } filled;
    HWND dialog = nullptr;
    probe.hook = [&](HWND window, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_COMMAND) {
            commands.push_back(wParam);
            if ((wParam & 0xFFFF) == IDOK)
                EndDialog(window, IDOK);
            return 1;
        }
        if (message != WM_INITDIALOG)
            return 0;
        dialog = window;
        Send(window, kDriverList, CB_RESETCONTENT);
        filled.added = Send(window, kDriverList, CB_ADDSTRING, 0, Text("CoreAudio"));
        Send(window, kDriverList, CB_SETITEMDATA, 0, LPARAM(1) << 40);
        filled.data = Send(window, kDriverList, CB_GETITEMDATA, 0);
        filled.found = Send(window, kDriverList, CB_FINDSTRINGEXACT, WPARAM(-1), Text("coreaudio"));
        filled.missing = Send(window, kDriverList, CB_FINDSTRINGEXACT, WPARAM(-1), Text("ASIO"));
        Send(window, kDriverList, CB_SETCURSEL, WPARAM(-1));
        filled.noneSelected = Send(window, kDriverList, CB_GETCURSEL);
        Send(window, kDriverList, CB_SETCURSEL, 0);
        filled.length = Send(window, kDriverList, CB_GETLBTEXTLEN, 0);
        std::vector<char> buffer(filled.length);
        Send(window, kDriverList, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer.data()));
        filled.text = buffer.data();

        ak::View* view = FindView(window);
        const auto& subviews = view->Subviews();
        filled.boxesBehind = subviews.size() == 32 &&
                             WISP_IsGroupBox(HandleOf(subviews[0].Get())) &&
                             WISP_IsGroupBox(HandleOf(subviews[1].Get()));
        // The boxes went to the back, MIDI's last; the rest keep list order.
        std::vector<const PlacedEntry*> order{&kPreferencesDialog[23], &kPreferencesDialog[13]};
        for (const auto& placed : kPreferencesDialog)
            if (std::strcmp(placed.entry.type, "__WISP_GROUP") != 0)
                order.push_back(&placed);
        filled.atFrames = subviews.size() == order.size();
        for (size_t i = 0; filled.atFrames && i < order.size(); ++i) {
            const ak::Rect f = subviews[i]->Frame();
            const int* want = order[i]->frame;
            filled.atFrames = f.origin.x == want[0] && f.origin.y == want[1] &&
                              f.size.width == want[2] && f.size.height == want[3];
            EXPECT_TRUE(filled.atFrames) << "control " << i;
        }
        ak::Application::RunOnMainLater([&] {
            Interact(dialog);
            if (commands.empty() || commands.back() != WPARAM(IDOK))
                EndDialog(dialog, -5); // a failed step must not leave the loop running
        });
        return 1;
    };
    EXPECT_EQ(WISP_DialogBox(&prefs, 40002, nullptr, &WindowProbe::DialogProc, 0), IDOK);
    EXPECT_EQ(filled.added, 0);
    EXPECT_EQ(filled.data, LRESULT(1) << 40);
    EXPECT_EQ(filled.found, 0);
    EXPECT_EQ(filled.missing, -1);
    EXPECT_EQ(filled.noneSelected, -1);
    EXPECT_EQ(filled.length, 73);
    EXPECT_EQ(filled.text, "CoreAudio");
    EXPECT_TRUE(filled.atFrames);
    EXPECT_TRUE(filled.boxesBehind);
    const WPARAM choice = kDriverList | (CBN_SELCHANGE << 16);
    EXPECT_EQ(commands, (Commands{choice, choice, WPARAM(kConfigButton), WPARAM(IDOK)}));
}

// Each box answered through its alert: the button pressed (default 0,
// alternate 1, other 2), Escape, or the close box.
TEST_F(DialogControlsTest, MessageBoxesAnswerWithThePressedButtonsId) {
    constexpr unsigned kEscape = 0xff1b;
    struct Case {
        UINT flags;
        std::function<bool()> answer;
        int result;
    };
    const Case cases[] = {
        {0, [] { return ak::test::AlertPressButton(0); }, IDOK},
        {4, [] { return ak::test::AlertPressButton(0); }, IDYES},
        {4, [] { return ak::test::AlertPressButton(1); }, IDNO},
        {0x104, [] { return ak::test::AlertPressButton(0); }, IDNO},
        {3 | 0x200, [] { return ak::test::AlertPressButton(0); }, IDCANCEL},
        {3 | 0x200, [] { return ak::test::AlertPressButton(2); }, IDYES},
        {1, [] { return ak::test::AlertKey(kEscape); }, IDCANCEL},
        {3, [] { return ak::test::AlertCloseBox(); }, IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        bool answered = false;
        std::string caption;
        ak::Application::RunOnMainLater([&] {
            const bool shown = ak::test::PumpUntil(ak::test::IsAlertShown);
            caption = ak::test::AlertTitle();
            answered = shown && c.answer();
            if (!answered)
                ak::test::AlertPressButton(0);
        });
        EXPECT_EQ(MessageBox(nullptr, "100% done", "Title", c.flags), c.result);
        EXPECT_TRUE(answered);
        EXPECT_EQ(caption, "Title") << "the box carries its caption";
    }
}

HWND DeclineAll(HWND, const char*, int, const char*, int, int, int, int, int) {
    return nullptr;
}

// Every kind of control changed by the program: nothing reported.
TEST_F(DialogControlsTest, ControlKindsAnswerTheirMessagesSilently) {
    DialogResourceRecord plain{1, "Probe", 28, nullptr, 300, 300, nullptr};
    probe.answers[WM_INITDIALOG] = 0;
    const HWND top = CreateModelessWindow(&plain, nullptr, &WindowProbe::DialogProc, 0, 0);
    ASSERT_NE(top, nullptr);
    WISP_MakeSetCurParms(top, 0, 0, 1, 1, 0, 0);
    probe.Take();

    const HWND threeState = WISP_MakeControl("&Three", 10, "button", 6, 5, 5, 60, 12, 0);
    for (const WPARAM check : {0, 1, 2, 3}) {
        SendMessage(threeState, BM_SETCHECK, check, 0);
        EXPECT_EQ(SendMessage(threeState, BM_GETCHECK, 0, 0), check == 3 ? 2 : LRESULT(check));
    }
    EXPECT_TRUE(WISP_IsButton(threeState));
    EXPECT_STREQ(FindMnemonicOriginal("Three"), "&Three");
    const HWND pushLike = WISP_MakeControl("Plain", 11, "Button", 2, 5, 20, 60, 12, 0);
    EXPECT_EQ(dynamic_cast<ak::Button*>(FindObject(pushLike))->Kind(), ak::ButtonKind::Push);

    int flags[3];
    for (int i = 0; i < 3; ++i) {
        const HWND radio = WISP_MakeControl("r", 20 + i, "Button", 9 | (i == 0 ? 0x20000 : 0),
                                            5 + 30 * i, 40, 25, 12, 0);
        flags[i] = dynamic_cast<Wisp_vOmnarControl_button*>(FindObject(radio))->wispRadioFlags();
    }
    EXPECT_EQ(std::vector<int>(flags, flags + 3), (std::vector<int>{3, 1, 1}));

    const HWND track = WISP_MakeControl("", 30, "msctls_trackbar32", 0, 5, 60, 100, 12, 0);
    EXPECT_EQ(dynamic_cast<ak::Slider*>(FindObject(track))->MaxValue(), 1000);
    SendMessage(track, TBM_SETRANGE, 1, 0x00640000);
    SendMessage(track, TBM_SETPOS, 1, 64);
    EXPECT_EQ(WISP_TB_GetPos(top, 30), 64);

    const HWND combo = WISP_MakeCombo(40, 5, 80, 100, 0, CBS_SORT);
    ASSERT_NE(dynamic_cast<Wisp_vOmnarControl_cbox*>(FindObject(combo)), nullptr);
    for (const char* rate : {"22050", "48000"})
        WISP_CB_AddString(top, 40, rate);
    EXPECT_EQ(SendMessage(combo, CB_ADDSTRING, 0, Text("44100")), 1);
    SendMessage(combo, CB_SETITEMDATA, 2, 48000);
    SendMessage(combo, CB_SETCURSEL, 1, 0);
    SendMessage(combo, CB_DELETESTRING, 1, 0);
    auto* own = dynamic_cast<Wisp_vOmnarControl_cbox*>(FindObject(combo));
    EXPECT_EQ(own->wispLastReportedIndex(), -1) << "the next user choice reports";
    EXPECT_EQ(SendMessage(combo, CB_GETITEMDATA, 1, 0), 48000);
    EXPECT_EQ(WISP_CB_FindString(top, 40, 0, "480", FALSE), 1);
    EXPECT_EQ(WISP_CB_FindString(top, 99, -1, "480", FALSE), -1) << "no control";
    EXPECT_EQ(WISP_CB_InsertString(top, 99, 0, "x"), -1) << "no control";

    WISP_RegisterCustomControlCreator(&DeclineAll);
    WISP_RegisterCustomControlCreator(&DeclineAll);
    WISP_UnregisterCustomControlCreator(&DeclineAll);
    EXPECT_EQ(WISP_MakeControl("", 50, "NoSuchClass", 0, 0, 0, 10, 10, 0), nullptr);
    WISP_UnregisterCustomControlCreator(&DeclineAll);
    const DialogControlListEntry icon{"__WISP_ICON", 0, "x", 60, 0, 0, 10, 10, 0};
    const size_t before = FindView(top)->Subviews().size();
    WISP_GenerateDialogFromList(&icon, 1);
    EXPECT_EQ(FindView(top)->Subviews().size(), before);

    ASSERT_TRUE(ak::test::WaitUntilServed());
    for (const std::string& line : probe.Take())
        EXPECT_EQ(line.find(" 273 "), std::string::npos) << line;
    DestroyWindow(top);
}

// A multi-line edit answers its selection, scrolling and replacing messages;
// the program's changes report nothing, the user's typing reports EN_CHANGE.
TEST_F(DialogControlsTest, MultiLineEditsSelectScrollAndReplace) {
    const HWND top = OpenCommandProbe();
    ASSERT_NE(top, nullptr);
    const HWND edit = WISP_MakeEditField(70, 5, 5, 200, 60, WS_VSCROLL_STYLE);
    auto* text = dynamic_cast<Wisp_vOmnarControl_textview*>(FindObject(edit));
    ASSERT_NE(text, nullptr) << "a scrolling edit is multi-line";
    EXPECT_EQ(GetDlgItem(top, 70), edit);
    EXPECT_NE(dynamic_cast<ak::TextField*>(FindObject(WISP_MakeEditField(71, 5, 70, 90, 12, 0))),
              nullptr);

    SendMessage(edit, EM_REPLACESEL, 0, Text("hello world")); // an empty view takes it whole
    struct SelectionCase {
        WPARAM start;
        LPARAM end;
        std::int32_t from, to;
    };
    const SelectionCase selections[] = {
        {WPARAM(-1), 3, 0, 0}, {0, -1, 0, 11}, {5, 2, 5, 5}, {6, 99, 6, 11}};
    for (const auto& c : selections) {
        SendMessage(edit, EM_SETSEL, c.start, c.end);
        std::int32_t from = -9, to = -9;
        SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                    reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(std::pair(from, to), std::pair(c.from, c.to)) << c.start << ", " << c.end;
    }
    SendMessage(edit, EM_REPLACESEL, 0, Text("there"));
    SendMessage(edit, EM_SETSEL, 0, 6);
    SendMessage(edit, EM_REPLACESEL, 0, Text(""));
    SendMessage(edit, EM_REPLACESEL, 0, 0);
    char buffer[64];
    GetDlgItemText(top, 70, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "there");

    std::string lines;
    for (int i = 0; i < 60; ++i)
        lines += "line\n";
    SetDlgItemText(top, 70, lines.c_str());
    ShowWindow(top, SW_SHOW);
    ASSERT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));
    SendMessage(edit, EM_SCROLL, 7, 0);
    EXPECT_TRUE(ak::test::PumpUntil([&] { return ak::test::NativeVerticalScroll(*text) > 0; }));
    SendMessage(edit, EM_SCROLL, 6, 0);
    EXPECT_TRUE(ak::test::PumpUntil([&] { return ak::test::NativeVerticalScroll(*text) == 0; }));
    EXPECT_TRUE(commands.empty()) << "the program's changes report nothing";

    ak::test::TypeIntoNativeWidget(*text, "!");
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !commands.empty(); }));
    EXPECT_EQ(commands.front(), WPARAM(70 | EN_CHANGE << 16));
    DestroyWindow(top);
}

// Bitmap buttons hold the bitmap object they were given; owner-drawn buttons
// ask the parent to draw them; labels with SS_NOTIFY report their clicks.
TEST_F(DialogControlsTest, ButtonImagesOwnerDrawingAndClickableLabels) {
    DialogResourceRecord plain{1, "Probe", 28, nullptr, 300, 300, nullptr};
    probe.answers[WM_INITDIALOG] = 0;
    std::vector<DRAWITEMSTRUCT> drawn;
    probe.hook = [&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_COMMAND)
            commands.push_back(wParam);
        if (message == WM_DRAWITEM)
            drawn.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 0;
    };
    const HWND top = CreateModelessWindow(&plain, nullptr, &WindowProbe::DialogProc, 0, 0);
    ASSERT_NE(top, nullptr);
    WISP_MakeSetCurParms(top, 0, 0, 1, 1, 0, 0);

    const HWND picture = WISP_MakeControl("Pic", 80, "Button", BS_BITMAP, 5, 5, 40, 20, 0);
    auto* button = dynamic_cast<Wisp_vOmnarControl_button*>(FindObject(picture));
    ASSERT_NE(button, nullptr);
    const std::vector<std::uint32_t> pixels(16 * 16, 0xFF336699);
    const HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, pixels.data());
    const auto asParam = reinterpret_cast<LPARAM>(bitmap);
    EXPECT_EQ(SendMessage(picture, BM_SETIMAGE, 0, asParam), 0);
    EXPECT_NE(button->GetImage(), nullptr);
    EXPECT_EQ(SendMessage(picture, BM_SETIMAGE, 2, 0), 0) << "other image kinds: nothing";
    EXPECT_EQ(SendMessage(picture, BM_GETIMAGE, 0, 0), asParam);
    EXPECT_EQ(SendMessage(picture, BM_GETIMAGE, 2, 0), 0);
    EXPECT_EQ(SendMessage(picture, BM_SETIMAGE, 0, 0), asParam) << "removing answers the old one";
    EXPECT_EQ(button->GetImage(), nullptr);
    EXPECT_EQ(SendMessage(picture, BM_GETIMAGE, 0, 0), 0);
    DeleteObject(bitmap);

    const HWND ownerDrawn = WISP_MakeControl("", 81, "Button", BS_OWNERDRAW, 5, 30, 40, 20, 0);
    const HWND clickable = WISP_MakeLabel(-1, "Click", 82, 5, 60, 60, 10, SS_NOTIFY);
    const HWND plainLabel = WISP_MakeLabel(-1, "Plain", 83, 5, 80, 60, 10, 0);
    ShowWindow(top, SW_SHOW);
    ak::Window* window = FindWindow(top);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !drawn.empty(); }));
    const DRAWITEMSTRUCT& item = drawn.front();
    EXPECT_EQ(item.CtlType, ODT_BUTTON);
    EXPECT_EQ(item.CtlID, 81u);
    EXPECT_EQ(item.hwndItem, ownerDrawn);
    EXPECT_NE(item.hDC, nullptr);
    EXPECT_EQ(std::vector<int>(
                  {item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom}),
              std::vector<int>({0, 0, 40, 20}));
    EXPECT_TRUE(commands.empty());

    const auto middleOf = [&](HWND control) {
        const ak::Rect r =
            ak::test::NativeWidgetRectInWindow(*dynamic_cast<ak::NativeView*>(FindObject(control)));
        return ak::Point{r.origin.x + r.size.width / 2, r.origin.y + r.size.height / 2};
    };
    ak::test::Click(*window, middleOf(plainLabel));
    ak::test::Click(*window, middleOf(clickable));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !commands.empty(); }));
    ASSERT_TRUE(ak::test::WaitUntilServed()); // both clicks
    EXPECT_EQ(commands, Commands{82}) << "one click, from the notifying label only";
    ak::test::Click(*window, middleOf(clickable), {1, 0, 200000});
    ak::test::Click(*window, middleOf(clickable), {1, 0, 200150});
    ASSERT_TRUE(ak::test::PumpUntil([&] { return commands.size() >= 3; }));
    EXPECT_EQ(commands.back(), WPARAM(82 | 1 << 16)) << "the second press of a double click";
    DestroyWindow(top);
}

// Edit fields, text views and editable combos tell their parent when they
// take the focus (EN_SETFOCUS with their id); Return in a one-line field is
// its action, code 0.
TEST_F(DialogControlsTest, EditsReportTakingTheFocusAndReturn) {
    const HWND top = OpenCommandProbe();
    ASSERT_NE(top, nullptr);
    const HWND field = WISP_MakeEditField(90, 5, 5, 120, 20, 0);
    const HWND view = WISP_MakeEditField(91, 5, 40, 200, 60, WS_VSCROLL_STYLE);
    const HWND combo = WISP_MakeCombo(92, 5, 110, 120, 0, 0);
    ShowWindow(top, SW_SHOW);
    ASSERT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));

    struct FocusCase {
        HWND edit;
        int id;
    };
    for (const FocusCase& c : {FocusCase{view, 91}, FocusCase{field, 90}, FocusCase{combo, 92}}) {
        commands.clear();
        auto* native = dynamic_cast<ak::NativeView*>(FindObject(c.edit));
        ASSERT_NE(native, nullptr);
        ak::test::FocusNativeWidget(*native);
        ASSERT_TRUE(ak::test::PumpUntil([&] { return !commands.empty(); })) << c.id;
        EXPECT_EQ(commands.front(), WPARAM(c.id | EN_SETFOCUS << 16));
    }

    commands.clear();
    ak::test::PressReturnInNativeWidget(*dynamic_cast<ak::NativeView*>(FindObject(field)));
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !commands.empty(); }));
    EXPECT_EQ(commands.front(), WPARAM(90));
    DestroyWindow(top);
}

// Drop-down lists, editable combos, tabs and progress bars answer the class
// names they were made from, group boxes "Button" and etched frames "Static";
// a trackbar, a plain slider, answers none.
TEST_F(DialogControlsTest, ControlsAnswerTheirClassNames) {
    const HWND top = OpenCommandProbe();
    ASSERT_NE(top, nullptr);
    struct ClassCase {
        HWND control;
        const char* name;
    };
    const ClassCase cases[] = {
        {WISP_MakeCombo(100, 5, 5, 100, 20, CBS_DROPDOWNLIST), "combobox"},
        {WISP_MakeCombo(101, 5, 30, 100, 20, 0), "combobox"},
        {WISP_MakeControl("", 102, "SysTabControl32", 0, 5, 60, 200, 100, 0), "SysTabControl32"},
        {WISP_MakeControl("", 103, "msctls_progress32", 0, 5, 170, 200, 10, 0),
         "msctls_progress32"},
        {WISP_MakeControl("", 104, "msctls_trackbar32", 0, 5, 190, 200, 20, 0), ""},
        {WISP_MakeGroupBox("Audio", 105, 5, 220, 200, 50, 0), "Button"},
        {WISP_MakeControl("", 106, "Static", SS_ETCHEDHORZ, 5, 280, 200, 2, 0), "Static"},
    };
    for (const ClassCase& c : cases) {
        ASSERT_NE(c.control, nullptr) << c.name;
        char name[64] = "unwritten";
        EXPECT_EQ(GetClassName(c.control, name, sizeof name), int(std::strlen(c.name)));
        EXPECT_STREQ(name, c.name);
    }
    DestroyWindow(top);
}

// An edit field taller than 19 dialog units wraps its text over several
// lines and stays one paragraph: Return is its action and pasted line breaks
// become spaces. At 19 or less it keeps one line.
TEST_F(DialogControlsTest, TallEditFieldsWrapTheirTextAndStayOneParagraph) {
    const HWND top = OpenCommandProbe();
    ASSERT_NE(top, nullptr);
    const std::string words = "a sentence long enough to need several lines in this field";
    struct TallCase {
        int height;
        bool wraps;
    };
    struct Field {
        TallCase tall;
        int id;
        HWND handle;
    };
    std::vector<Field> fields;
    for (const TallCase c : {TallCase{19, false}, TallCase{20, true}}) {
        const int id = 120 + int(fields.size());
        fields.push_back({c, id, WISP_MakeEditField(id, 5, 5 + (id - 120) * 45, 80, c.height, 0)});
    }
    ShowWindow(top, SW_SHOW);
    ASSERT_TRUE(ak::test::WaitUntilShown(*FindWindow(top)));
    for (const auto& [c, fieldId, field] : fields) {
        SCOPED_TRACE(c.height);
        auto* native = dynamic_cast<ak::NativeView*>(FindObject(field));
        ASSERT_NE(native, nullptr);
        char name[16] = "";
        GetClassName(field, name, sizeof name);
        EXPECT_STREQ(name, "Edit");
        ak::test::FocusNativeWidget(*native);
        commands.clear();
        ak::test::TypeIntoNativeWidget(*native, words);
        EXPECT_EQ(ak::test::NativeDisplayLines(*native) > 1, c.wraps);
        EXPECT_NE(std::find(commands.begin(), commands.end(), WPARAM(fieldId | EN_CHANGE << 16)),
                  commands.end());
        char text[128] = "";
        GetDlgItemText(field, 0, text, sizeof text);
        EXPECT_EQ(text, words);
    }
    // The tall field: a pasted break is a space, Return reports and adds nothing.
    const HWND tall = fields[1].handle;
    auto& native = *dynamic_cast<ak::NativeView*>(FindObject(tall));
    SetDlgItemText(tall, 0, "");
    ak::test::FocusNativeWidget(native);
    ak::test::TypeIntoNativeWidget(native, "one\ntwo");
    commands.clear();
    ak::test::PressReturnInNativeWidget(native);
    ASSERT_TRUE(ak::test::PumpUntil([&] { return !commands.empty(); }));
    EXPECT_EQ(commands.back(), WPARAM(fields[1].id)) << "code 0, as a one-line field's Return";
    char text[32] = "";
    GetDlgItemText(tall, 0, text, sizeof text);
    EXPECT_STREQ(text, "one two");
    DestroyWindow(top);
}

// The context menu of a text view, an edit field and an editable combo's
// text opens on a right click until the program turns it off, and comes
// back when turned on again.
TEST_F(DialogControlsTest, EditContextMenusCanBeTurnedOff) {
    const HWND top = OpenCommandProbe();
    ASSERT_NE(top, nullptr);
    struct MenuCase {
        const char* name;
        HWND edit;
    };
    const MenuCase cases[] = {
        {"text view", WISP_MakeEditField(110, 5, 5, 200, 80, WS_VSCROLL_STYLE)},
        {"edit field", WISP_MakeEditField(111, 5, 100, 200, 14, 0)},
        {"combo box", WISP_MakeCombo(112, 5, 130, 200, 0, 0)},
    };
    ShowWindow(top, SW_SHOW);
    ak::Window* window = FindWindow(top);
    ASSERT_TRUE(ak::test::WaitUntilShown(*window));
    for (const MenuCase& c : cases) {
        const ak::Rect r =
            ak::test::NativeWidgetRectInWindow(*dynamic_cast<ak::NativeView*>(FindObject(c.edit)));
        // Left of the middle: a combo's text, not its arrow.
        const ak::Point inside{r.origin.x + r.size.width / 3, r.origin.y + r.size.height / 2};
        for (const BOOL disable : {FALSE, TRUE, FALSE}) {
            WISP_DisableContextMenu(c.edit, disable);
            ak::test::Click(*window, inside, {3});
            // The menu maps at the press: once the click is served it is
            // open or never will be.
            if (!disable) {
                EXPECT_TRUE(ak::test::PumpUntil([] { return ak::test::IsMenuOpen(); }));
            }
            EXPECT_TRUE(ak::test::WaitUntilServed());
            EXPECT_EQ(ak::test::IsMenuOpen(), !disable) << c.name << " disabled " << disable;
            if (ak::test::IsMenuOpen())
                ak::test::CancelOpenMenu();
            EXPECT_TRUE(ak::test::WaitUntilNoMenu());
            EXPECT_TRUE(ak::test::WaitUntilServed());
        }
    }
    DestroyWindow(top);
}
} // namespace
} // namespace winlayer::test
