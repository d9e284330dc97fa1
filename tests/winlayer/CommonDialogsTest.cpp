// The common dialogs, the clipboard, the focus rectangle, tabs and progress
// bars on a display: each panel answered through its widgets.
#include "winlayer/dialogs/CommonDialogs.h"
#include "platform/ak/ColorPanel.h"
#include "platform/ak/Pasteboard.h"
#include "platform/ak/PopUpButton.h"
#include "platform/ak/test/AkTest.h"
#include "tests/support/TempImageFolder.h"
#include "tests/winlayer/support/ControlHost.h"
#include "winlayer/ClipboardFormats.h"
#include "winlayer/InputRecords.h"
#include "winlayer/WinBasics.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/controls/TabCalls.h"
#include "winlayer/draw/GdiText.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/shell/ShellCalls.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace winlayer::test {
namespace {

using namespace std::string_literals;

constexpr char kTwoKinds[] = "WAV\0*.wav\0AIFF\0*.aif;*.aiff\0All files\0*.*\0";

// The caller's accessory template: remembers the view it was built in.
HWND g_templateView = nullptr;

INT_PTR TemplateProc(HWND view, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG)
        g_templateView = view;
    return 0;
}

DialogResourceRecord g_template{77, nullptr, 1 | 4, nullptr, 200, 40, nullptr};

class CommonDialogsTest : public ControlHostTest {
protected:
    // Runs the answer once the panel shows; a step that fails cancels.
    void Answer(std::function<bool()> answer) {
        ak::Application::RunOnMainLater([this, answer] {
            answered = ak::test::PumpUntil(ak::test::IsFilePanelShown) && answer();
            if (!answered)
                ak::test::FilePanelCancel();
        });
    }

    vx::test::TempImageFolder folder;
    bool answered = false;
};

TEST_F(CommonDialogsTest, SavePanelsOfferTheNameAndTheSelectorSetsTheExtension) {
    struct Case {
        const char* name;
        int choose; // the selector's entry the user picks, -1 none
        const char* typed;
        int size;
        int result;
        std::string saved;
    };
    const Case cases[] = {
        {"selector's first entry", -1, "take2", 4096, 1, "take2.wav"},
        {"selector's second entry", 1, "take2", 4096, 1, "take2.aif"},
        {"cancelled", -1, nullptr, 4096, 0, ""},
        {"path too long for the buffer", -1, "take2", 8, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_templateView = nullptr;
        BrowseFile_SetTemplate(77, &TemplateProc, &g_template);
        std::string offered;
        int listed = 0, selected = -1;
        Answer([&] {
            offered = ak::test::FilePanelName();
            // The template sits inside the selector, below its row.
            const HWND selector = GetParent(g_templateView);
            const HWND list = GetDlgItem(selector, kFileTypeListId);
            listed = int(SendMessage(list, CB_GETCOUNT, 0, 0));
            selected = int(SendMessage(list, CB_GETCURSEL, 0, 0));
            char label[32] = "";
            GetDlgItemText(selector, kFileTypeLabelId, label, sizeof label);
            if (std::string(label) != "File type:")
                return false;
            if (c.choose >= 0) {
                auto* popUp = dynamic_cast<ak::PopUpButton*>(FindObject(list));
                ak::MenuItem* item = popUp ? popUp->GetMenu().ItemAt(c.choose) : nullptr;
                if (!item)
                    return false;
                item->onActivate(*item);
            }
            return c.typed ? ak::test::FilePanelAccept({c.typed}) : ak::test::FilePanelCancel();
        });
        char buffer[4096];
        std::memset(buffer, 'x', sizeof buffer);
        const int result = BrowseForSaveFile("Export", folder.Folder().c_str(), "song.wav",
                                             kTwoKinds, buffer, c.size);
        EXPECT_TRUE(answered);
        EXPECT_EQ(offered, "song");
        EXPECT_EQ(listed, 2) << "\"*.*\" is not offered";
        EXPECT_EQ(selected, 0);
        EXPECT_EQ(result, c.result);
        buffer[sizeof buffer - 1] = '\0';
        if (c.result)
            EXPECT_STREQ(buffer, folder.Path(c.saved).c_str());
        else
            EXPECT_EQ(std::string(buffer, 16), std::string(16, 'x')) << "buffer untouched";
        EXPECT_FALSE(IsWindow(g_templateView)) << "the accessories go with the panel";
    }
}

// The selector spans the panel and keeps its label and list centred as a
// pair while the user makes the panel wider or narrower.
TEST_F(CommonDialogsTest, TheFileTypeSelectorStaysCentredAsThePanelResizes) {
    g_templateView = nullptr;
    BrowseFile_SetTemplate(77, &TemplateProc, &g_template);
    std::vector<int> widths;
    Answer([&] {
        const HWND selector = GetParent(g_templateView);
        const auto leftOf = [&](int id) {
            ak::View* control = FindView(GetDlgItem(selector, id));
            return control ? int(control->Frame().origin.x) : -1000;
        };
        const auto centredAt = [&](int width) {
            RECT client{};
            GetClientRect(selector, &client);
            return client.right == width && leftOf(kFileTypeLabelId) == width / 2 - 169 &&
                   leftOf(kFileTypeListId) == width / 2 - 85;
        };
        for (const int panelWidth : {900, 700}) {
            RECT before{};
            GetClientRect(selector, &before);
            if (!ak::test::FilePanelResize(panelWidth, 600))
                return false;
            int width = 0;
            if (!ak::test::PumpUntil([&] {
                    RECT client{};
                    GetClientRect(selector, &client);
                    width = client.right;
                    return width != before.right && centredAt(width);
                }))
                return false;
            widths.push_back(width);
        }
        return ak::test::FilePanelCancel();
    });
    char buffer[256] = "";
    EXPECT_EQ(BrowseForSaveFile("Export", folder.Folder().c_str(), "song.wav", kTwoKinds, buffer,
                                sizeof buffer),
              0);
    EXPECT_TRUE(answered);
    ASSERT_EQ(widths.size(), 2u);
    EXPECT_GT(widths[0], 338) << "as wide as the panel";
    EXPECT_LT(widths[1], widths[0]);
}

// A file-list answer up to its two NULs in a row (an empty first string
// starts a list of several).
std::string BlockText(const char* block) {
    std::size_t at = block[0] == '\0' ? 1 : 0;
    while (block[at] != '\0')
        at += std::strlen(block + at) + 1;
    return std::string(block, at + 1);
}

TEST_F(CommonDialogsTest, OpenPanelsAnswerFileListsAndFolders) {
    // One file: its path and two NULs.
    const std::string x = folder.AddFile("x.wav", "RIFF");
    Answer([&] { return ak::test::FilePanelAccept({x}); });
    char* one = BrowseForFiles("Import", folder.Folder().c_str(), nullptr, TRUE, kTwoKinds);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(BlockText(one), x + "\0\0"s);
    std::free(one);

    // Two files: an empty first string, each path, a final NUL.
    const std::string y = folder.AddFile("y.aif", "FORM");
    Answer([&] { return ak::test::FilePanelAccept({x, y}); });
    char* two = BrowseForFiles("Import", folder.Folder().c_str(), nullptr, TRUE, kTwoKinds);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(BlockText(two), "\0"s + x + "\0"s + y + "\0\0"s);
    std::free(two);

    Answer([&] { return ak::test::FilePanelCancel(); });
    EXPECT_EQ(BrowseForFiles("Import", folder.Folder().c_str(), nullptr, FALSE, kTwoKinds),
              nullptr);

    const std::string sub = folder.Path("presets");
    ASSERT_EQ(mkdir(sub.c_str(), 0700), 0);
    for (const int size : {4096, 4}) {
        char buffer[4096] = "untouched";
        Answer([&] { return ak::test::FilePanelAccept({sub}); });
        const int result = BrowseForDirectory("Folder", folder.Folder().c_str(), buffer, size);
        EXPECT_TRUE(answered);
        EXPECT_EQ(result, size > 4 ? 1 : 0);
        EXPECT_STREQ(buffer, size > 4 ? sub.c_str() : "untouched");
    }
}

TEST_F(CommonDialogsTest, ColourAndFontChoosersUpdateOnlyWhatWasAccepted) {
    for (const bool accept : {true, false}) {
        SCOPED_TRACE(accept);
        ak::Application::RunOnMainLater([accept] {
            ak::test::PumpUntil([] { return ak::ColorPanel::Dialog() != nullptr; });
            ak::test::ColorPanelPick({0.2, 0.4, 0.6, 1});
            ak::test::PanelAnswer(ak::ColorPanel::Dialog(), accept);
        });
        int colour = 0x00FF0000;
        EXPECT_EQ(WISP_ChooseColor(nullptr, &colour), accept ? 1 : 0);
        EXPECT_EQ(colour, accept ? 0x336699 : 0xFF0000);
    }

    LOGFONT font{};
    font.lfHeight = -12;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "DejaVu Sans");
    struct Case {
        const char* pick;
        int result;
        LONG height;
        LONG weight;
    };
    for (const Case& c :
         {Case{"DejaVu Sans 12", 0, -12, 400}, Case{"DejaVu Serif Bold 17", 1, 17, 700}}) {
        SCOPED_TRACE(c.pick);
        ak::Application::RunOnMainLater([&] {
            ak::test::PumpUntil([] { return ak::FontPanel::Dialog() != nullptr; });
            ak::test::FontPanelPick(c.pick);
            ak::test::PanelAnswer(ak::FontPanel::Dialog(), true);
        });
        EXPECT_EQ(WISP_ChooseFont(nullptr, &font), c.result);
        EXPECT_EQ(font.lfHeight, c.height);
        EXPECT_EQ(font.lfWeight, c.weight);
    }
    EXPECT_STREQ(font.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(WISP_ChooseFont(nullptr, nullptr), 0);
}

// Writes blocks as a program would; the clipboard takes them.
void* Block(const std::string& bytes) {
    void* block = GlobalAlloc(0, INT_PTR(bytes.size()));
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return block;
}

std::vector<UINT> Formats() {
    std::vector<UINT> formats;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f))
        formats.push_back(f);
    return formats;
}

TEST_F(CommonDialogsTest, ClipboardCarriesTextFileListsAndRegisteredTypes) {
    const UINT preset = RegisterClipboardFormat("application/x-omnar-preset");
    EXPECT_EQ(RegisterClipboardFormat("application/x-omnar-preset"), preset);

    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, Block("abc")); // no NUL
    SetClipboardData(preset, Block("\x01\x02\x00\x03"s));
    CloseClipboard();
    EXPECT_EQ(ak::Pasteboard::Text(), "abc");

    OpenClipboard(nullptr);
    EXPECT_EQ(Formats(), (std::vector<UINT>{CF_TEXT, preset}));
    void* text = GetClipboardData(CF_TEXT);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(text)), "abc");
    GlobalUnlock(text);
    void* data = GetClipboardData(preset);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(data)), GlobalSize(data)),
              "\x01\x02\x00\x03"s);
    GlobalUnlock(data);
    EXPECT_EQ(GetClipboardData(99), nullptr) << "unknown format";
    EXPECT_EQ(GetClipboardData(CF_HDROP), nullptr) << "no files on offer";
    CloseClipboard();

    const std::string x = folder.AddFile("x.wav", "RIFF");
    const std::string y = folder.AddFile("y y.wav", "RIFF");
    OpenClipboard(nullptr);
    SetClipboardData(CF_HDROP, MakeDropBlock({x, y}, POINT{0, 0}));
    CloseClipboard();
    EXPECT_EQ(ak::Pasteboard::FilePaths(), (std::vector<std::string>{x, y}));
    OpenClipboard(nullptr);
    EXPECT_EQ(Formats().front(), CF_HDROP);
    void* files = GetClipboardData(CF_HDROP);
    ASSERT_EQ(DragQueryFile(files, kDropFileCount, nullptr, 0), 2u);
    char name[5];
    EXPECT_EQ(DragQueryFile(files, 1, name, sizeof name), 4u);
    EXPECT_EQ(std::string(name), y.substr(0, 4));
    CloseClipboard();

    // A block that is no file list changes nothing.
    OpenClipboard(nullptr);
    SetClipboardData(CF_HDROP, Block(std::string(16, '\0')));
    CloseClipboard();
    EXPECT_EQ(ak::Pasteboard::FilePaths(), (std::vector<std::string>{x, y}));
}

TEST_F(CommonDialogsTest, TabsReportTheUsersSelectionAndProgressBarsTakeTheirRange) {
    ShowHost([](UINT message, LPARAM lParam) -> std::string {
        if (message != WM_NOTIFY)
            return "";
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return "notify " + std::to_string(header->idFrom) + " " + std::to_string(header->code);
    });
    WISP_MakeSetCurParms(top, 0, 0, 1, 1, 0, 0);
    const HWND tabs = WISP_MakeControl("", 5, "SysTabControl32", 0, 5, 5, 200, 100, 0);
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0) << "no tabs yet";
    char label[] = "Audio";
    TCITEM item{TCIF_TEXT, 0, 0, label, 0, 0, 0};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(TabCtrl_InsertItem(tabs, 99, &item), i);
    TCITEM noText{0, 0, 0, label, 0, 0, 0};
    EXPECT_EQ(TabCtrl_InsertItem(tabs, 0, &noText), -1);
    EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3);
    Settle();
    EXPECT_TRUE(notes.empty()) << "inserting is silent";
    EXPECT_EQ(TabCtrl_SetCurSel(tabs, 1), 0);
    EXPECT_EQ(TabCtrl_SetCurSel(tabs, 7), 1) << "out of range: refused";
    EXPECT_EQ(TabCtrl_GetCurSel(tabs), 1);
    EXPECT_TRUE(TabCtrl_DeleteItem(tabs, 2));
    EXPECT_FALSE(TabCtrl_DeleteItem(tabs, 2));
    EXPECT_EQ(notes, (std::vector<std::string>{"notify 5 -551"}));

    const HWND bar = WISP_MakeControl("", 6, "msctls_progress32", 0, 5, 120, 200, 10, 0);
    auto* progress = dynamic_cast<Wisp_vOmnarControl_progind*>(FindObject(bar));
    ASSERT_NE(progress, nullptr);
    SendMessage(bar, PBM_SETRANGE, 0, 100 << 16);
    SendMessage(bar, PBM_SETPOS, 40, 0);
    SendMessage(bar, PBM_DELTAPOS, WPARAM(-10), 0);
    EXPECT_DOUBLE_EQ(progress->Value(), 30) << "a negative delta moves back";
    EXPECT_DOUBLE_EQ(progress->Fraction(), 0.3);
}

TEST_F(CommonDialogsTest, FocusRectangleFloatsOverItsWindowUntilRemoved) {
    ShowHost([](UINT, LPARAM) { return std::string(); });
    void* overlay = nullptr;
    const RECT band{10, 20, 110, 70};
    WISP_DrawFocusRect(top, &band, &overlay);
    ASSERT_NE(overlay, nullptr);
    ak::Ref<ak::Window> floating;
    for (const auto& window : ak::Window::AllWindows())
        if (window->IgnoresMouseEvents())
            floating = window;
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(floating->Frame().size, (ak::Size{100, 50}));
    const RECT moved{0, 60, 40, 10}; // bottom above top: still 50 high
    WISP_DrawFocusRect(top, &moved, &overlay);
    EXPECT_EQ(floating->Frame().size, (ak::Size{40, 50}));
    WISP_DrawFocusRect(top, nullptr, &overlay);
    EXPECT_EQ(overlay, nullptr);
    EXPECT_TRUE(floating->IsClosed());
    EXPECT_GT(GetSystemMetrics(15), 0) << "a menu bar's height";
}

TEST_F(CommonDialogsTest, ModalSessionsRunTurnByTurnAndEndWhileRunning) {
    ShowHost([](UINT, LPARAM) { return std::string(); });
    void* session = WISP_ModalWindowStart(top);
    ASSERT_NE(session, nullptr);
    int code = 0;
    EXPECT_EQ(WISP_ModalWindowRun(session, &code), 1) << "continues";
    EXPECT_EQ(WISP_ModalWindowRun(session, nullptr), 1);
    WISP_ModalWindowEnd(session);
    EXPECT_EQ(WISP_ModalWindowRun(session, &code), 0) << "an ended session is unknown";
    EXPECT_EQ(WISP_ModalWindowRun(nullptr, &code), 0);
    WISP_ModalWindowEnd(nullptr);
}

} // namespace
} // namespace winlayer::test
