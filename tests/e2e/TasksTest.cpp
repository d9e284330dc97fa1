// The user's tasks on the real program against devsim: the front panel's
// knobs and footswitches, the effect pages, storing and naming a preset, the
// about page, the global settings and the MIDI map pages. Input is the
// mouse and keyboard through xdotool; what the program did is read from
// devsim's trace, its state and the screenshots.
#include "tests/devsim/SimSlotFiles.h"
#include "tests/e2e/PanelInput.h"
#include "tests/e2e/PanelMap.h"
#include "tests/e2e/ProgramSession.h"
#include "tests/e2e/ShotPixels.h"

#include "pages/PageNames.h"

#include <gtest/gtest.h>

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

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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
        ASSERT_TRUE(WaitUntil([&] { return Contains(Trace(), "PresetDump reply slot 0"); },
                              kConnectWait))
            << "the current preset was not asked for within 15 s";
        // The knob banks are enabled on the main thread after the reply.
        ASSERT_TRUE(WaitUntil([&] { return PointerBrightness(Knob(5)) > kLitPointer; },
                              kDialogWait))
            << "the knobs stayed disabled";
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

    // The front-panel knob of a parameter, in whichever bank group holds it.
    const PanelControl& Knob(int param) const {
        for (const char* bank : {group::kBankA, group::kBankB, group::kBankAPostMid,
                                 group::kBankBPostMid, group::kFrontPanel})
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
    PixelRect PanelRectInShot() const { return InShot({0, 0, 1920, 1200}); }

    // Whether a new shot differs from an earlier one in a good part of the area.
    bool Changed(const ShotPixels& before, const PixelRect& area, const std::string& name) {
        const auto now = TakeShot(name);
        const int total = (area.right - area.left) * (area.bottom - area.top);
        mLastChanged = now ? now->ChangedPixels(before, area) : 0;
        return mLastChanged * 50 > total;
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
        ASSERT_TRUE(PressKeys(entryKey));
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
// without an echo; an amp model brings its Drive along.
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
        << sent.size() << " ParamChange messages; the knob stands at " << mLastAngle
        << " degrees";
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
    // turning its knob on the front panel.
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
        {68, 0x48, "chorus", true},      {13, 13, "mid", true},    {6, 6, "low", false},
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
        EXPECT_TRUE(WaitUntil([&] { return Changed(*before, PageRect(), page.page); }, kDialogWait))
            << "the page area stayed as it was: " << mLastChanged << " pixels changed";
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
    const std::string stored = FileBytes(mDir / "state" / "Presets" / "006.dat");
    ASSERT_EQ(stored.size(), 256u);
    EXPECT_TRUE(WaitUntil([&] { return FileBytes(PresetsFolder() / "006.dat") == stored; },
                          kDialogWait))
        << "the library's slot 5 is not the pedal's";
    Shot("stored");

    // Rename: the preset name's in-panel entry, a new name and Return.
    mark = Trace().size();
    ASSERT_TRUE(Click(PanelMap::Get().ByTag(tag::kPresetName)));
    Keys("ctrl+a");
    ASSERT_TRUE(Type("Tasks Bass", "Return"));
    EXPECT_TRUE(WaitForTrace(mark, "PresetDump (edit buffer) \"Tasks Bass ")) << TraceSince(mark);
    Shot("renamed");

    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(10s), 0);
}

// The overlay pages from the menus: About, the global settings with a value
// chosen from its menu, the MIDI program map at both patch offsets and the
// MIDI CC map; each map page's BACK sends its table, with the new entry.
TEST_F(TasksTest, AboutGlobalSettingsAndMidiMaps) {
    ASSERT_NO_FATAL_FAILURE(StartConnected());
    const auto main = TakeShot("main");
    ASSERT_TRUE(main);

    ASSERT_NO_FATAL_FAILURE(MenuCommand("h", "a"));
    EXPECT_TRUE(WaitUntil([&] { return Changed(*main, PanelRectInShot(), "about"); }, kDialogWait))
        << "Help > About showed nothing new";
    // A click anywhere closes it.
    ASSERT_TRUE(ClickAt(mPanel.At(100, 1150)));
    EXPECT_TRUE(WaitUntil([&] { return !Changed(*main, PageRect(), "about-closed"); }, kDialogWait));

    std::size_t mark = Trace().size();
    ASSERT_NO_FATAL_FAILURE(MenuCommand("d", "g"));
    EXPECT_TRUE(
        WaitUntil([&] { return Changed(*main, PanelRectInShot(), "global-settings"); }, kDialogWait))
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
    ASSERT_TRUE(Click(setup(0)));
    ASSERT_TRUE(WaitForTrace(mark, "out 267 F0 00 51 21 05 52 0C 02")) << TraceSince(mark);
    Shot("program-map-0");
    ASSERT_TRUE(Wheel(At(map.ByParam(110, group::kMidiProgramOffset0)), 2));
    mark = Trace().size();
    ASSERT_TRUE(Click(back));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 02 02 01 02 03"))
        << TraceSince(mark);

    // A value menu: PATCH OFFSET to "1-128", which the settings dump carries.
    mark = Trace().size();
    const std::size_t before = ShownWindows().size();
    ASSERT_TRUE(Click(map.ByParam(91, group::kGlobalSettings)));
    std::vector<unsigned long> shown;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shown = ShownWindows();
            return shown.size() > before;
        },
        kDialogWait))
        << "no value menu opened";
    ASSERT_TRUE(WaitUntil([&] { return mX.ShowsArt(shown.back()); }, kDialogWait));
    Shot(shown.back(), "patch-offset-menu");
    ASSERT_TRUE(PressKeys("Down Down Return"));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 00")) << TraceSince(mark);

    // The program map at patch offset 1 counts from 1: entry 0 up once more.
    mark = Trace().size();
    ASSERT_TRUE(Click(setup(0)));
    ASSERT_TRUE(WaitForTrace(mark, "out 267 F0 00 51 21 05 52 0C 02")) << TraceSince(mark);
    Shot("program-map-1");
    ASSERT_TRUE(Wheel(At(map.ByParam(112, group::kMidiProgramOffset1)), 1));
    mark = Trace().size();
    ASSERT_TRUE(Click(back));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 02 03 01 02 03"))
        << TraceSince(mark);

    // The CC map: the first number up by three.
    mark = Trace().size();
    ASSERT_TRUE(Click(setup(1)));
    ASSERT_TRUE(WaitForTrace(mark, "out 267 F0 00 51 21 05 52 0C 01")) << TraceSince(mark);
    Shot("cc-map");
    ASSERT_TRUE(Wheel(At(map.ByParam(101, group::kMidiCC)), 3));
    mark = Trace().size();
    ASSERT_TRUE(Click(map.ByText("BACK", group::kMidiCC)));
    EXPECT_TRUE(WaitForTrace(mark, "in  267 F0 00 51 21 05 52 0C 01 03")) << TraceSince(mark);

    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(10s), 0);
}

} // namespace
} // namespace e2e
