// The pure rules under the common dialogs, the clipboard, shell execution
// and the tab control: filter lists, names, buffers, formats, blocks, plans.
#include "winlayer/ClipboardFormats.h"
#include "winlayer/FileTypeList.h"
#include "winlayer/controls/TabCalls.h"
#include "winlayer/dialogs/ChooserValues.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/shell/ShellCalls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace winlayer {
namespace {

using Strings = std::vector<std::string>;

// Descriptions and pattern lists as the shell's save prompts pass them.
constexpr char kAudioFilter[] = "Audio files\0*.wav;*.aif\0All files\0*.*\0";
constexpr char kTwoKinds[] = "WAV\0*.wav\0AIFF\0*.aif;*.aiff\0All files\0*.*\0";

TEST(DialogRulesTest, FilterListsGiveTypesAndSelectorEntries) {
    EXPECT_EQ(FileTypesOf(kAudioFilter), (Strings{"wav", "aif"}));
    EXPECT_EQ(FileTypesOf(kAudioFilter, "AIF"), (Strings{"aif", "wav"}));
    EXPECT_EQ(FileTypesOf(nullptr), Strings{});
    const std::vector<FileTypeChoice> one = FileTypeChoices(kAudioFilter);
    ASSERT_EQ(one.size(), 1u) << "\"*.*\" is not offered";
    EXPECT_EQ(one[0].description, "Audio files");
    EXPECT_EQ(one[0].extensions, "wav;*.aif");
    EXPECT_EQ(FirstExtension(one[0].extensions), "wav");

    const std::vector<FileTypeChoice> two = FileTypeChoices(kTwoKinds);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(ChoiceForFile(two, "take.AIFF"), 1);
    EXPECT_EQ(ChoiceForFile(two, "take.aif"), 1);
    EXPECT_EQ(ChoiceForFile(two, "take.mp3"), 0);
    EXPECT_EQ(ChoiceForFile(two, "take.if"), 0) << "a whole extension, not its tail";
}

TEST(DialogRulesTest, InitialFilesSplitIntoFolderAndOfferedName) {
    struct Case {
        const char* file;
        const char* folder;
        bool cut;
        InitialName want;
    };
    const Strings types{"wav", "aif"};
    const Case cases[] = {
        {"song.wav", "/music", true, {"/music", "song"}},
        {"song.wav", "/music", false, {"/music", "song.wav"}},
        {"song.WAV", nullptr, true, {"", "song"}},
        {"notes.txt", "", true, {"", "notes.txt"}},
        {"/a/b/song.aif", "/music", true, {"/a/b", "song"}},
        {"/song.txt", "/music", true, {"/", "song.txt"}},
        {".wav", "/music", true, {"/music", ""}},
        {nullptr, "/music", true, {"/music", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "(null)");
        const InitialName got = InitialNameOf(c.file, c.folder, types, c.cut);
        EXPECT_EQ(got.folder, c.want.folder);
        EXPECT_EQ(got.name, c.want.name);
    }
}

TEST(DialogRulesTest, SavedPathsGetTheChosenOrFirstExtension) {
    const Strings types{"wav", "aif"};
    EXPECT_EQ(SavedPath("/t/take2", types, "wav;*.aif", "song.wav"), "/t/take2.wav");
    EXPECT_EQ(SavedPath("/t/take2", types, "aif", "song.wav"), "/t/take2.aif");
    EXPECT_EQ(SavedPath("/t/take2.AIF", types, "wav", nullptr), "/t/take2.AIF");
    EXPECT_EQ(SavedPath("/t/take2", types, "", ".txt"), "/t/take2.txt");
    EXPECT_EQ(SavedPath("/t.d/take2", types, "", nullptr), "/t.d/take2.wav");
    EXPECT_EQ(SavedPath("/t/take2", {}, "", nullptr), "/t/take2");
}

TEST(DialogRulesTest, AnswersFitWholeOrLeaveTheBufferAlone) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_FALSE(CopyWhole("/a/b/c/d", buffer, 8)) << "no room for the NUL";
    EXPECT_EQ(std::string(buffer, 8), "xxxxxxxx");
    EXPECT_FALSE(CopyWhole("/a", buffer, 0));
    EXPECT_TRUE(CopyWhole("/a/b/c", buffer, 8));
    EXPECT_STREQ(buffer, "/a/b/c");

    using namespace std::string_literals;
    EXPECT_EQ(FileListBlock({"/a/x.wav"}), "/a/x.wav\0\0"s);
    EXPECT_EQ(FileListBlock({"/a/x.wav", "/a/y.wav"}), "\0/a/x.wav\0/a/y.wav\0\0"s);
    const std::string longPath(5000, 'p');
    EXPECT_EQ(FileListBlock({longPath}).size(), longPath.size() + 2) << "paths stay whole";
}

TEST(DialogRulesTest, ClipboardFormatsAreNumberedByName) {
    ClipboardFormatTable table;
    EXPECT_EQ(table.Register(nullptr), 0u);
    EXPECT_EQ(table.Register(""), 0u);
    EXPECT_EQ(table.Register("WISP__CF_TEXT"), CF_TEXT);
    EXPECT_EQ(table.Register("application/x-omnar-preset"), 3u);
    EXPECT_EQ(table.Register("image/png"), 4u);
    EXPECT_EQ(table.Register("application/x-omnar-preset"), 3u);
    EXPECT_EQ(table.NameOf(4), "image/png");
    EXPECT_EQ(table.NameOf(2), std::nullopt) << "file lists have no name of their own";
    EXPECT_EQ(table.NameOf(5), std::nullopt);
    EXPECT_EQ(table.FormatOfType("UTF8_STRING"), CF_TEXT);
    EXPECT_EQ(table.FormatOfType("text/plain;charset=utf-8"), CF_TEXT);
    EXPECT_EQ(table.FormatOfType("image/png"), 4u);
    EXPECT_EQ(table.FormatOfType("text/uri-list"), 0u);
}

TEST(DialogRulesTest, ClipboardBlocksAreReadWithinTheirSize) {
    EXPECT_EQ(TextOfBlock("abcdef", 3), "abc") << "no NUL: the block's size ends it";
    EXPECT_EQ(TextOfBlock("ab\0cd", 5), "ab");

    const std::vector<char> good = DropBlockBytes({"/a/x.wav", "/a/y.wav"}, POINT{3, 4});
    struct Case {
        const char* name;
        std::vector<char> bytes;
        std::optional<Strings> paths;
    };
    std::vector<char> wide = good, badOffset = good, unterminated = good;
    wide[13] = 1;
    badOffset[0] = char(0xFF);
    unterminated.resize(good.size() - 3); // ends "/a/y.wa", no NUL after
    const Case cases[] = {
        {"two paths", good, Strings{"/a/x.wav", "/a/y.wav"}},
        {"header only", std::vector<char>(good.begin(), good.begin() + 16), std::nullopt},
        {"wide", wide, std::nullopt},
        {"offset outside", badOffset, std::nullopt},
        {"no final NUL", unterminated, Strings{"/a/x.wav", "/a/y.wa"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PathsOfDropBlock(c.bytes.data(), c.bytes.size()), c.paths);
    }
}

class RecordingLauncher : public ShellLauncher {
public:
    bool OpenUri(const std::string& uri) override { return Note("uri " + uri); }
    bool RevealPath(const std::string& path) override { return Note("reveal " + path); }
    bool OpenPath(const std::string& path, const char* type) override {
        return Note("open " + path + (type ? std::string(" as ") + type : ""));
    }
    Strings calls;
    bool answer = true;

private:
    bool Note(std::string call) {
        calls.push_back(std::move(call));
        return answer;
    }
};

TEST(DialogRulesTest, ShellExecuteOpensThroughTheDesktopNeverAShell) {
    struct Case {
        const char* file;
        const char* parameters;
        const char* call; // null: nothing launched, result 0
    };
    const Case cases[] = {
        {"HTTPS://example.org/manual", nullptr, "uri HTTPS://example.org/manual"},
        {"http://example.org", "ignored", "uri http://example.org"},
        {"explorer.exe", "/select,\"/home/u/take 1.wav\"", "reveal /home/u/take 1.wav"},
        {"explorer.exe", "/home/u/presets", "open /home/u/presets"},
        {"notepad.exe", "/home/u/log.txt", "open /home/u/log.txt as text/plain"},
        {"Notepad", "/home/u/log.txt", "open /home/u/log.txt as text/plain"},
        {"notepad", nullptr, nullptr},
        {"/home/u/manual.pdf", nullptr, "open /home/u/manual.pdf"},
        {"/home/u/manual.pdf", "explorer.exe", "open /home/u/manual.pdf"},
        {nullptr, "/home/u/manual.pdf", "open /home/u/manual.pdf"},
        {"/bin/sh", "-c reboot", nullptr},
        {"/Applications/Editor.app", nullptr, nullptr},
        {"", "", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file ? c.file : "(null)") + " " +
                     (c.parameters ? c.parameters : "(null)"));
        RecordingLauncher launcher;
        EXPECT_EQ(CarryOut(PlanShellExecute(c.file, c.parameters), launcher), c.call ? 1 : 0);
        EXPECT_EQ(launcher.calls, c.call ? Strings{c.call} : Strings{});
    }
    RecordingLauncher refusing;
    refusing.answer = false;
    EXPECT_EQ(CarryOut(PlanShellExecute("/home/u/gone.pdf", nullptr), refusing), 0)
        << "a failed launch answers 0";
}

TEST(DialogRulesTest, ChooserValuesConvertColoursAndFonts) {
    const ak::Color colour = ColorOfValue(0x00336699);
    EXPECT_EQ(ValueOfColor(colour), 0x00336699);
    EXPECT_EQ(ValueOfColor({1.2, -0.1, 0.5, 1}), 0xFF0080);

    LOGFONT font{};
    std::strcpy(font.lfFaceName, "DejaVu Sans");
    font.lfWeight = 700;
    for (const auto& [height, width, size] :
         {std::tuple{12, 0, 12.0}, {-14, 0, 14.0}, {0, 9, 9.0}}) {
        font.lfHeight = height;
        font.lfWidth = width;
        EXPECT_EQ(FontRequestOf(font).size, size);
    }
    font.lfHeight = -14;
    font.lfWidth = 0;
    const FontRequest asked = FontRequestOf(font);
    EXPECT_TRUE(asked.bold);
    LOGFONT same = font;
    EXPECT_FALSE(ApplyChosenFont(same, asked, "DejaVu Sans", 14.2, true, false));
    EXPECT_EQ(same.lfHeight, -14) << "an unchanged size keeps the record's form";

    LOGFONT changed = font;
    EXPECT_TRUE(ApplyChosenFont(changed, asked, std::string(40, 'F'), 18, false, true));
    EXPECT_EQ(changed.lfHeight, 18);
    EXPECT_EQ(changed.lfWeight, 400);
    EXPECT_EQ(changed.lfItalic, 1);
    EXPECT_EQ(std::string(changed.lfFaceName), std::string(31, 'F'));
}

TEST(DialogRulesTest, TabRectanglesAdjustBothWays) {
    const RECT window{0, 0, 100, 100};
    const RECT display = AdjustTabRect(window, false);
    EXPECT_EQ((std::vector{display.left, display.top, display.right, display.bottom}),
              (std::vector{7, 26, 93, 97}));
    const RECT back = AdjustTabRect(display, true);
    EXPECT_EQ((std::vector{back.left, back.top, back.right, back.bottom}),
              (std::vector{0, 0, 100, 100}));
    RECT any = window;
    EXPECT_FALSE(TabCtrl_AdjustRect(nullptr, FALSE, &any)) << "no tab control";
}

} // namespace
} // namespace winlayer
