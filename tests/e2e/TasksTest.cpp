// The user's tasks on the real program against devsim: the front panel's
// knobs and footswitches, the effect pages, storing and renaming a preset,
// the about page, the global settings with a value chosen from its in-panel
// menu, the MIDI map pages at both patch offsets and a pedal IR chosen for
// slot 7 from the custom IR list. Input is the
// mouse and keyboard through xdotool; what the program did is read from
// devsim's trace, its state and the screenshots.
#include "tests/devsim/SimSlotFiles.h"
#include "tests/e2e/PanelInput.h"
#include "tests/e2e/PanelMap.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/e2e/ShotPixels.h"

#include "pages/PageNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;
namespace group = omnar::pages::group;
namespace tag = omnar::pages::tag;

constexpr auto kConnectWait = 15s;
constexpr auto kDialogWait = 10s;

// Brighter than any part of a knob drawn disabled at a quarter of its weight.
constexpr int kLitPointer = 450;

struct ParamChange {
    int id;
    int value;
};

// The ParamChange messages that reached devsim in a stretch of its trace.
std::vector<ParamChange> ParamChanges(const std::string& trace) {
    static const std::regex line(R"( in .*ParamChange id ([0-9A-F]{2}) value (\d+))");
    std::vector<ParamChange> changes;
    for (std::sregex_iterator it(trace.begin(), trace.end(), line), end; it != end; ++it)
        changes.push_back({std::stoi((*it)[1], nullptr, 16), std::stoi((*it)[2])});
    return changes;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class TasksTest : public ProgramTest {
protected:
    // The editor's library already holds what devsim holds, so the start
    // syncs no slot and the tasks begin once the current preset arrived.
    void StartConnected() {
        ASSERT_EQ(devsim::SaveSlotFiles(PresetsFolder().parent_path(), devsim::FactoryState()), "");
        ASSERT_NO_FATAL_FAILURE(StartDevice());
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_NO_FATAL_FAILURE(FindPanel());
        ASSERT_TRUE(
            WaitUntil([&] { return Contains(Trace(), "PresetDump reply slot 0"); }, kConnectWait))
            << "the current preset was not asked for within 15 s";
        // The knob banks are enabled on the main thread after the reply.
        ASSERT_TRUE(
            WaitUntil([&] { return PointerBrightness(Knob(5)) > kLitPointer; }, kDialogWait))
            << "the knobs stayed disabled";
        const auto shot = TakeShot("connected");
        ASSERT_TRUE(shot);
        for (const int ink : StatusInk(*shot))
            EXPECT_GT(ink, 20) << "a device status row is empty";
    }

    void FindPanel() {
        const auto frame = FrameOf(mWindow);
        ASSERT_TRUE(frame);
        mFrame = *frame;
        mPanel = PlaceOf(mFrame, mFrame.width / 1920.0);
    }

    ScreenPoint At(const PanelControl& control) const { return mPanel.Centre(control.rect); }

    // A control's rectangle in the pixels of a shot of the main window.
    PixelRect InShot(const PanelRect& rect) const {
        const auto [left, top] = mPanel.At(rect.left, rect.top);
        const auto [right, bottom] = mPanel.At(rect.right, rect.bottom);
        return {left - mFrame.x, top - mFrame.y, right - mFrame.x, bottom - mFrame.y};
    }

    // The ink of the three device status rows, each without the strip it
    // shares with its neighbour.
    std::vector<int> StatusInk(const ShotPixels& shot) const {
        std::vector<int> ink;
        for (const int row : {tag::kStatusDevice, tag::kStatusVersion, tag::kStatusSerial}) {
            PanelRect r = PanelMap::Get().ByTag(row).rect;
            r.top += 3;
            r.bottom -= 3;
            ink.push_back(shot.InkPixels(InShot(r)));
        }
        return ink;
    }

    // The front-panel knob of a parameter, in whichever bank group holds it.
    const PanelControl& Knob(int param) const {
        for (const char* bank :
             {group::kBankA, group::kBankB, group::kBankAPostMid, group::kBankBPostMid,
              group::kBankAPreMid, group::kBankBPreMid, group::kFrontPanel})
            for (const PanelControl& c : PanelMap::Get().Group(bank))
                if (c.param == param)
                    return PanelMap::Get().ByParam(param, bank);
        return PanelMap::Get().ByParam(param, "no bank");
    }

    std::optional<ShotPixels> TakeShot(const std::string& name) {
        Shot(name);
        return ShotPixels::Load(ShotPath(name));
    }

    int PointerBrightness(const PanelControl& knob) {
        const auto shot = TakeShot("knob");
        return shot ? FindPointer(*shot, InShot(knob.rect)).brightness : 0;
    }

    // Whether a shot shows the knob's pointer where the value puts it.
    bool KnobShows(const PanelControl& knob, int value, const std::string& shotName) {
        const auto shot = TakeShot(shotName);
        mLastAngle = shot ? FindPointer(*shot, InShot(knob.rect)).degrees : 999;
        return std::abs(mLastAngle - PointerAngleOf(value)) <= 6;
    }

    // The trace from a mark on, as WaitUntil's condition reads it.
    std::string TraceSince(std::size_t mark) const {
        const std::string trace = Trace();
        return mark < trace.size() ? trace.substr(mark) : "";
    }

    bool WaitForTrace(std::size_t mark, const std::string& part,
                      std::chrono::milliseconds timeout = kDialogWait) {
        return WaitUntil([&] { return Contains(TraceSince(mark), part); }, timeout);
    }

    ::testing::AssertionResult Click(const PanelControl& control) { return ClickAt(At(control)); }

    // The shared effect-page area of the panel, and the whole panel, in a shot.
    PixelRect PageRect() const { return InShot({330, 710, 1160, 1190}); }
    // Where each effect page has its title: readouts never reach it.
    PixelRect PageTitleRect() const { return InShot({380, 660, 1000, 710}); }
    PixelRect PanelRectInShot() const { return InShot({0, 0, 1920, 1200}); }

    // Whether a new shot differs from an earlier one in more than a
    // fraction of the area.
    bool Changed(const ShotPixels& before, const PixelRect& area, const std::string& name,
                 int fraction = 50) {
        const auto now = TakeShot(name);
        const int total = (area.right - area.left) * (area.bottom - area.top);
        mLastChanged = now ? now->ChangedPixels(before, area) : 0;
        return mLastChanged * fraction > total;
    }

    // Waits until the picture in the area differs from an earlier one (an
    // overlay page drawn over another) and answers the new picture. After a
    // box the panel takes clicks again only once it draws again.
    std::optional<ShotPixels> WaitForNewPicture(const ShotPixels& before, const PanelRect& area,
                                                const std::string& name) {
        EXPECT_TRUE(WaitUntil([&] { return Changed(before, InShot(area), name); }, kDialogWait))
            << name << ": the picture stayed as it was";
        return TakeShot(name);
    }

    // The program's own box (its alert line on stderr), answered with Return.
    void AcknowledgeAlert(const std::string& line, int seenBefore) {
        ASSERT_TRUE(
            WaitUntil([&] { return Count(ProgramStderr(), line) > seenBefore; }, kDialogWait))
            << "no \"" << line << "\"";
        std::vector<unsigned long> shown;
        ASSERT_TRUE(WaitUntil(
            [&] {
                shown = ShownWindows();
                return shown.size() > 1 && mX.ShowsArt(shown.back());
            },
            kDialogWait));
        const std::size_t withBox = shown.size();
        Keys(shown.back(), "Return");
        ASSERT_TRUE(WaitUntil([&] { return ShownWindows().size() < withBox; }, kDialogWait))
            << "the box stayed";
    }

    // A number box's number, under the caption the box also holds.
    static PanelRect NumberOf(PanelRect box) {
        box.top += (box.bottom - box.top) * 0.6f;
        return box;
    }

    // Whether two equal-sized areas of a shot show different pictures.
    static bool DiffersFrom(const ShotPixels& shot, const PixelRect& area, const PixelRect& other) {
        int differ = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                differ += std::abs(shot.Brightness(x, y) -
                                   shot.Brightness(x - area.left + other.left,
                                                   y - area.top + other.top)) > 60;
        return differ > 5;
    }

    // A value field's menu, which the panel draws itself next to the field:
    // opened by a click, the entry clicked once the menu's picture holds
    // still (it fades in and takes no choice before), found by its line of
    // text in the menu's picture.
    void ChooseFromValueMenu(const ShotPixels& before, const PanelControl& field, int entry,
                             int entries) {
        const PanelRect& f = field.rect;
        // Around the field but not on it: the field itself shows the pointer over it.
        const PanelRect strips[] = {{f.left - 400, f.top - 400, f.right + 400, f.top},
                                    {f.left - 400, f.bottom, f.right + 400, f.bottom + 400},
                                    {f.left - 400, f.top, f.left, f.bottom},
                                    {f.right, f.top, f.right + 400, f.bottom}};
        const auto changedAround = [&](const ShotPixels& now) {
            std::optional<PixelRect> all;
            for (const PanelRect& strip : strips)
                if (const auto r = now.ChangedBounds(before, InShot(strip)))
                    all = !all ? *r
                               : PixelRect{std::min(all->left, r->left), std::min(all->top, r->top),
                                           std::max(all->right, r->right),
                                           std::max(all->bottom, r->bottom)};
            return all;
        };
        ASSERT_TRUE(Click(field));
        std::optional<PixelRect> menu;
        std::optional<ShotPixels> shown;
        int changed = -1;
        const auto same = [](const PixelRect& a, const PixelRect& b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        ASSERT_TRUE(WaitUntil(
            [&] {
                shown = TakeShot("value-menu");
                const auto bounds = shown ? changedAround(*shown) : std::nullopt;
                const int count = bounds ? shown->ChangedPixels(before, *bounds) : -1;
                const bool still = bounds && menu && same(*bounds, *menu) && count == changed;
                menu = bounds;
                changed = count;
                return still;
            },
            kDialogWait))
            << "no menu drawn next to the field";
        // The middle of the menu: its sides hold the shadow.
        const int width = menu->right - menu->left;
        const std::vector<int> lines = shown->TextLines(
            {menu->left + width / 5, menu->top, menu->right - width / 5, menu->bottom});
        ASSERT_EQ(lines.size(), std::size_t(entries)) << "lines of text in the menu";
        ASSERT_TRUE(ClickAt({mFrame.x + menu->left + width / 2, mFrame.y + lines[entry]}));
        ASSERT_TRUE(WaitUntil(
            [&] {
                const auto now = TakeShot("value-chosen");
                return now && !changedAround(*now);
            },
            kDialogWait))
            << "the menu stayed";
    }

    // A menu of the bar by its mnemonic, then an entry by its own.
    void MenuCommand(const std::string& menuKey, const std::string& entryKey) {
        const std::size_t before = ShownWindows().size();
        Keys("alt+" + menuKey);
        std::vector<unsigned long> shown;
        ASSERT_TRUE(WaitUntil(
            [&] {
                shown = ShownWindows();
                return shown.size() > before;
            },
            kDialogWait))
            << "alt+" << menuKey << " opened no menu";
        // Mapped is not yet drawn and taking input: the menu's picture says it is.
        ASSERT_TRUE(WaitUntil([&] { return mX.ShowsArt(shown.back()); }, kDialogWait));
        ASSERT_TRUE(PressKeys({entryKey}));
        ASSERT_TRUE(WaitUntil([&] { return ShownWindows().size() <= before; }, kDialogWait))
            << "the menu did not close";
    }

    Frame mFrame;
    PanelPlace mPanel;
    int mLastChanged = 0;
    double mLastAngle = 0;
};

// A drag on Drive sends Drive's id alone, the last message carrying the
// value the knob then shows; the pedal's own knob turned moves it back
// without an echo; an amp model brings its Drive along; bank B and the
// effect pages by their knobs; the edited preset stored into slot 5.
TEST_F(TasksTest, FrontPanelKnobsAndAmpModel) {
    ASSERT_NO_FATAL_FAILURE(StartConnected());
    const PanelControl& drive = Knob(5);

    std::size_t mark = Trace().size();
    ASSERT_TRUE(DragVertically(At(drive), -60, 6));
    std::vector<ParamChange> sent;
    ASSERT_TRUE(WaitUntil(
        [&] {
            sent = ParamChanges(TraceSince(mark));
            return !sent.empty() && KnobShows(drive, sent.back().value, "drive-dragged");
        },
        kDialogWait))
        << sent.size() << " ParamChange messages; the knob stands at " << mLastAngle << " degrees";
    for (const ParamChange& change : sent)
        EXPECT_EQ(change.id, 5) << "value " << change.value;
    EXPECT_GT(sent.size(), 1u) << "a drag in six steps moved the value once only";

    mark = Trace().size();
    ASSERT_TRUE(mSim->WriteLine("turn 5 100"));
    EXPECT_TRUE(WaitUntil([&] { return KnobShows(drive, 100, "drive-turned"); }, kDialogWait))
        << "the knob stands at " << mLastAngle << " degrees";

    // Amp model 1 of the drive page, which the drag opened: the whole preset
    // goes out, and the knob shows the model's Drive.
    ASSERT_TRUE(ClickAt(At(PanelMap::Get().ByTag(87))));
    EXPECT_TRUE(WaitForTrace(mark, "PresetDump (edit buffer)"));
    EXPECT_TRUE(WaitUntil([&] { return KnobShows(drive, 20, "amp-model-1"); }, kDialogWait))
        << "the knob stands at " << mLastAngle << " degrees";
    EXPECT_TRUE(ParamChanges(TraceSince(mark)).empty())
        << "the pedal's own turn was echoed, or the model went out value by value:\n"
        << TraceSince(mark);

    // Bank B's switch, then the effect pages of both banks, each opened by
    // turning its knob on the front panel. Amp model 1 put the front panel in
    // its pre-mid arrangement: Punch Freq stands where Mid Shift would.
    mark = Trace().size();
    ASSERT_TRUE(Click(PanelMap::Get().ByTag(tag::kFootswitchBank)));
    ASSERT_TRUE(WaitForTrace(mark, "ParamChange id 13 value 1")) << TraceSince(mark);
    Shot("bank-b");
    const struct {
        int param;
        int deviceId;
        const char* page;
        bool bankB;
    } pages[] = {
        {61, 0x41, "auto-filter", true}, {8, 8, "ambience", true}, {25, 0x1D, "dynamics", true},
        {68, 0x48, "chorus", true},      {11, 11, "punch", true},  {6, 6, "low", false},
        {7, 7, "high", false},           {0, 0, "level", false},
    };
    bool bankB = true;
    for (const auto& page : pages) {
        SCOPED_TRACE(page.page);
        if (page.bankB != bankB) {
            mark = Trace().size();
            ASSERT_TRUE(Click(PanelMap::Get().ByTag(tag::kFootswitchBank)));
            ASSERT_TRUE(WaitForTrace(mark, "ParamChange id 13 value 0")) << TraceSince(mark);
            bankB = page.bankB;
        }
        const auto before = TakeShot(std::string("before-") + page.page);
        ASSERT_TRUE(before);
        mark = Trace().size();
        ASSERT_TRUE(DragVertically(At(Knob(page.param)), -20, 2));
        EXPECT_TRUE(WaitUntil(
            [&] {
                const auto changes = ParamChanges(TraceSince(mark));
                return !changes.empty() && changes.back().id == page.deviceId;
            },
            kDialogWait))
            << TraceSince(mark);
        EXPECT_TRUE(WaitUntil([&] { return Changed(*before, PageTitleRect(), page.page, 100); },
                              kDialogWait))
            << "the page title stayed as it was: " << mLastChanged << " pixels changed";
    }

    // Store into slot 5: save, five presets up, save again. The pedal keeps
    // the edited preset there and sends it back; the library gets the same.
    mark = Trace().size();
    ASSERT_TRUE(Click(PanelMap::Get().ByTag(tag::kSaveButton)));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(Click(PanelMap::Get().ByTag(tag::kFootswitchUp)));
    ASSERT_TRUE(Click(PanelMap::Get().ByTag(tag::kSaveButton)));
    ASSERT_TRUE(WaitForTrace(mark, "ParamChange id 12 value 5")) << TraceSince(mark);
    ASSERT_TRUE(WaitForTrace(mark, "PresetDump reply slot 5 \"Preset 001"));
    ASSERT_TRUE(mSim->WriteLine("save"));
    ASSERT_EQ(mSim->ReadLine(kDialogWait), "devsim saved");
    const std::string stored = ReadFile(mDir / "state" / "Presets" / "006.dat");
    ASSERT_EQ(stored.size(), 256u);
    EXPECT_TRUE(
        WaitUntil([&] { return ReadFile(PresetsFolder() / "006.dat") == stored; }, kDialogWait))
        << "the library's slot 5 is not the pedal's";
    Shot("stored");

    // Rename: a click opens the in-panel entry over the preset name, the
    // keys typed replace it and Return sends the whole preset with the new
    // name; nothing else changes, so the library keeps its file.
    mark = Trace().size();
    ASSERT_TRUE(Click(PanelMap::Get().ByTag(tag::kPresetName)));
    Keys("ctrl+a");
    Type(mWindow, "Slap Tone");
    Keys("Return");
    EXPECT_TRUE(WaitForTrace(mark, "PresetDump (edit buffer) \"Slap Tone  ")) << TraceSince(mark);
    Shot("renamed");

    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
}

// The overlay pages from the menus: About, the global settings with a value
// chosen from its menu, the MIDI program map at both patch offsets and the
// MIDI CC map; each map page's BACK sends its table, with the new entry, and
// the pedal's acknowledgement shows a box.
TEST_F(TasksTest, AboutGlobalSettingsAndMidiMaps) {
    ASSERT_NO_FATAL_FAILURE(StartConnected());
    const auto main = TakeShot("main");
    ASSERT_TRUE(main);

    ASSERT_NO_FATAL_FAILURE(MenuCommand("h", "a"));
    EXPECT_TRUE(WaitUntil([&] { return Changed(*main, PanelRectInShot(), "about"); }, kDialogWait))
        << "Help > About showed nothing new";
    // A click anywhere closes it.
    ASSERT_TRUE(ClickAt(mPanel.At(100, 1150)));
    EXPECT_TRUE(
        WaitUntil([&] { return !Changed(*main, PageRect(), "about-closed"); }, kDialogWait));

    std::size_t mark = Trace().size();
    ASSERT_NO_FATAL_FAILURE(MenuCommand("d", "g"));
    EXPECT_TRUE(WaitUntil([&] { return Changed(*main, PanelRectInShot(), "global-settings"); },
                          kDialogWait))
        << "Device > Global Settings... showed nothing new";

    const auto& map = PanelMap::Get();
    const auto setup = [&](int row) {
        // The SETUP buttons stand beside MIDI MAPPING (first) and MIDI CC MODE.
        std::vector<PanelControl> buttons;
        for (const PanelControl& c : map.Group(group::kGlobalSettings))
            if (c.text == "SETUP")
                buttons.push_back(c);
        EXPECT_EQ(buttons.size(), 2u);
        return buttons.size() == 2 ? buttons[row] : PanelControl{};
    };
    const PanelControl& back = map.ByText("BACK", group::kMidiProgram);

    // The program map at patch offset 0: entry 0 raised by two.
    mark = Trace().size();
    const auto settings = TakeShot("global-settings-drawn");
    ASSERT_TRUE(settings);
    // The program map's picture stands where the settings' rows were.
    const PanelRect mapLogo = map.Group(group::kMidiProgram).at(2).rect;
    ASSERT_TRUE(Click(setup(0)));
    ASSERT_TRUE(WaitForTrace(mark, "out 267 F0 00 51 21 05 52 0C 02")) << TraceSince(mark);
    const auto programMap = WaitForNewPicture(*settings, mapLogo, "program-map-0");
    ASSERT_TRUE(programMap);
    ASSERT_TRUE(Wheel(At(map.ByParam(110, group::kMidiProgramOffset0)), 2));
    const std::string written = "alert: : Finished successfully!";
    mark = Trace().size();
    ASSERT_TRUE(Click(back));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 02 02 01 02 03"))
        << TraceSince(mark);
    // The pedal's 'W' for the table.
    ASSERT_NO_FATAL_FAILURE(AcknowledgeAlert(written, 0));
    const auto backInSettings = WaitForNewPicture(*programMap, mapLogo, "back-to-settings");
    ASSERT_TRUE(backInSettings);

    // A value menu: PATCH OFFSET to "1-128", its second entry. The panel
    // draws the menu itself, so it is found in the picture, not as a window.
    mark = Trace().size();
    ASSERT_NO_FATAL_FAILURE(
        ChooseFromValueMenu(*backInSettings, map.ByParam(91, group::kGlobalSettings), 1, 2));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 00")) << TraceSince(mark);

    // The program map at patch offset 1 counts from 1: entry 0 up once more.
    mark = Trace().size();
    ASSERT_TRUE(Click(setup(0)));
    ASSERT_TRUE(WaitForTrace(mark, "out 267 F0 00 51 21 05 52 0C 02")) << TraceSince(mark);
    const auto programMap1 = WaitForNewPicture(*settings, mapLogo, "program-map-1");
    ASSERT_TRUE(programMap1);
    // The pedal's map shows once the preset's box no longer reads the "1"
    // its program's box reads: entry 0 is 2 now, shown counting from 1.
    const PanelControl& programBox = map.ByParam(111, group::kMidiProgramOffset1);
    const PanelControl& presetBox = map.ByParam(112, group::kMidiProgramOffset1);
    EXPECT_TRUE(WaitUntil(
        [&] {
            const auto now = TakeShot("program-map-1-answered");
            return now && DiffersFrom(*now, InShot(NumberOf(presetBox.rect)),
                                      InShot(NumberOf(programBox.rect)));
        },
        kDialogWait))
        << "the program map's answer did not show";
    ASSERT_TRUE(Wheel(At(map.ByParam(112, group::kMidiProgramOffset1)), 1));
    mark = Trace().size();
    ASSERT_TRUE(Click(back));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 02 03 01 02 03"))
        << TraceSince(mark);
    ASSERT_NO_FATAL_FAILURE(AcknowledgeAlert(written, 1));
    ASSERT_TRUE(WaitForNewPicture(*programMap1, mapLogo, "back-to-settings-1"));

    // The CC map: the first number up by three.
    mark = Trace().size();
    ASSERT_TRUE(Click(setup(1)));
    ASSERT_TRUE(WaitForTrace(mark, "out 267 F0 00 51 21 05 52 0C 01")) << TraceSince(mark);
    ASSERT_TRUE(WaitForNewPicture(*settings, mapLogo, "cc-map"));
    ASSERT_TRUE(Wheel(At(map.ByParam(101, group::kMidiCC)), 3));
    mark = Trace().size();
    ASSERT_TRUE(Click(map.ByText("BACK", group::kMidiCC)));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 01 03")) << TraceSince(mark);
    ASSERT_NO_FATAL_FAILURE(AcknowledgeAlert(written, 2));

    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
}

// The pedal's own user IRs for slot 7: MODE on the user response, LIST opens
// the pedal's list, a click on IR 12 sends its number as MSB and LSB, and the
// slot takes the IR's name once the editor has fetched it from the pedal.
TEST_F(TasksTest, TheCustomIRListAssignsAPedalIRToSlot7) {
    const std::string name = "Slap Cab Twelve";
    devsim::SimState pedal = devsim::FactoryState();
    devsim::IRImage ir = devsim::BlankIRImage();
    std::copy(name.begin(), name.end(), ir.begin() + devsim::kIRNameOffset);
    pedal.userIRs[12] = ir;
    ASSERT_EQ(devsim::SaveSlotFiles(mDir / "state", pedal), "");
    ASSERT_NO_FATAL_FAILURE(StartConnected());
    const auto& map = PanelMap::Get();

    // The IR page, by a click on the display.
    ASSERT_TRUE(ClickAt(mPanel.At(1500, 900)));
    std::size_t mark = Trace().size();
    ASSERT_TRUE(Click(map.ByTag(tag::kIRModeSlot7)));
    ASSERT_TRUE(WaitForTrace(mark, "ParamChange id 2C value 1")) << TraceSince(mark);
    const PanelRect nameRow = map.ByTag(74).rect;
    const auto before = TakeShot("slot-7-user");
    ASSERT_TRUE(before);

    // The list, filled from the pedal's names of bank 1.
    mark = Trace().size();
    ASSERT_TRUE(Click(map.ByTag(tag::kIRListSlot7)));
    ASSERT_TRUE(WaitForTrace(mark, "IRNamesRequest block 3")) << TraceSince(mark);
    ASSERT_TRUE(WaitForNewPicture(*before, {314, 470, 1164, 1070}, "ir-list"));

    // Row 13 of the left column: IR 12.
    mark = Trace().size();
    ASSERT_TRUE(ClickAt(mPanel.At(610, 550 + 30 * 12 + 14)));
    std::vector<ParamChange> sent;
    EXPECT_TRUE(WaitUntil(
        [&] {
            sent = ParamChanges(TraceSince(mark));
            return sent.size() >= 2;
        },
        kDialogWait))
        << TraceSince(mark);
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0].id, 0x39); // parameter 53, the MSB
    EXPECT_EQ(sent[0].value, 0);
    EXPECT_EQ(sent[1].id, 0x3A); // parameter 54, the LSB, after the pedal's acknowledgement
    EXPECT_EQ(sent[1].value, 12);
    Shot("ir-12-chosen");

    // A click beside the columns closes the list; the slot shows the IR's
    // name, which the editor fetched with the IR into its library.
    ASSERT_TRUE(ClickAt(mPanel.At(765, 700)));
    EXPECT_TRUE(WaitUntil(
        [&] {
            return !Changed(*before, InShot({689, 490, 839, 520}), "closed");
        },
        kDialogWait))
        << "the list stayed open";
    EXPECT_TRUE(WaitForTrace(mark, "IRDumpRequest 12", kConnectWait)) << TraceSince(mark);
    const fs::path stored = PresetsFolder().parent_path() / "User IRs" / "013.dat";
    EXPECT_TRUE(WaitUntil([&] { return Contains(ReadFile(stored), name); }, kConnectWait))
        << "IR 12 is not in the library under its name";
    EXPECT_TRUE(
        WaitUntil([&] { return Changed(*before, InShot(nameRow), "slot-7-named"); }, kDialogWait))
        << "slot 7's row still shows the factory name: " << mLastChanged << " pixels changed";

    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
}

// A device that never answers who it is: the status row says the editor is
// connecting, the other two rows stay empty, the knobs stay disabled and
// nothing but the identity poll goes out.
TEST_F(TasksTest, SilentDeviceLeavesTheEditorConnecting) {
    ASSERT_EQ(devsim::SaveSlotFiles(PresetsFolder().parent_path(), devsim::FactoryState()), "");
    ASSERT_NO_FATAL_FAILURE(StartDevice({"drop:55:always"}));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_NO_FATAL_FAILURE(FindPanel());
    const std::string dropped = "SettingsRequest type 0F -- dropped (fault)";
    // The poll asks every 3.3 s; two unanswered requests show it goes on.
    ASSERT_TRUE(WaitUntil([&] { return Count(Trace(), dropped) >= 2; }, 2 * kConnectWait))
        << Trace();
    const auto shot = TakeShot("connecting");
    ASSERT_TRUE(shot);
    const std::vector<int> ink = StatusInk(*shot);
    // A few pixels of the middle row's descenders may reach the others.
    EXPECT_LT(ink[0], 10) << "the device name row is not empty";
    EXPECT_GT(ink[1], 20) << "no \"Connecting to the device...\"";
    EXPECT_LT(ink[2], 10) << "the serial row is not empty";
    EXPECT_LE(FindPointer(*shot, InShot(Knob(5).rect)).brightness, kLitPointer)
        << "the knobs are drawn enabled";
    const std::string trace = Trace();
    EXPECT_FALSE(Contains(trace, "PresetDumpRequest")) << trace;
    EXPECT_FALSE(Contains(trace, "SettingsDump")) << "the silent pedal told something:\n" << trace;

    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
}

} // namespace
} // namespace e2e
