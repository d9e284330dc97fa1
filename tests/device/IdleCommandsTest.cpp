#include "tests/device/DeviceRig.h"
#include "tests/support/TempImageFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace {

using namespace omnar::test;

constexpr int kPatchOffset = 91;
// The box as the panel records it: text, caption, OK and Cancel.
constexpr const char* kRebuildQuestion =
    "Rebuild Local Library deletes every preset and impulse response file of the local "
    "library; the pedal's are then fetched again. Continue? Rebuild Local Library 1";

// XDG_CONFIG_HOME pointed at a fresh folder, where the host's settings live.
class TempConfigHome {
public:
    TempConfigHome() {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            saved = old;
        setenv("XDG_CONFIG_HOME", temp.Folder().c_str(), 1);
    }
    ~TempConfigHome() {
        if (saved)
            setenv("XDG_CONFIG_HOME", saved->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }
    std::string SettingsFile() const { return temp.Folder() + "/OmnarControl/settings.ini"; }

private:
    vx::test::TempImageFolder temp;
    std::optional<std::string> saved;
};

// The ticks (1-based) on which the preset number changed.
std::vector<int> StepTicks(RigEditor& editor, int ticks) {
    std::vector<int> stepped;
    for (int t = 1; t <= ticks; ++t) {
        const int before = editor.mPresetNumber;
        editor.OnIdle();
        if (editor.mPresetNumber != before)
            stepped.push_back(t);
    }
    return stepped;
}

TEST(Idle, AHeldButtonWaitsThenRepeatsThenRuns) {
    DeviceRig rig;
    RigEditor& editor = *rig.editor;
    // The button steps once itself and starts the counter at -20.
    editor.mPresetNumber = 11;
    editor.mRepeatTicks = -20;
    editor.mPresetUpHeld = true;
    EXPECT_EQ(StepTicks(editor, 44), (std::vector<int>{24, 28, 32, 36, 40, 41, 42, 43, 44}));
    EXPECT_EQ(editor.mPresetNumber, 20);
}

TEST(Idle, StepsWrapAndShowThePatchOffset) {
    struct Case {
        int from;
        bool up;
        int offset;
        int to;
        const char* shown;
    };
    const Case cases[] = {
        {127, true, 0, 0, "00"},   {0, false, 0, 127, "127"}, {127, true, 1, 0, "01"},
        {0, false, 1, 127, "128"}, {4, true, 0, 5, "05"},
    };
    for (const Case& c : cases) {
        DeviceRig rig;
        RigEditor& editor = *rig.editor;
        editor.SetValue(kPatchOffset, c.offset);
        editor.mPresetNumber = c.from;
        editor.mRepeatTicks = 20;
        (c.up ? editor.mPresetUpHeld : editor.mPresetDownHeld) = true;
        editor.OnIdle();
        EXPECT_EQ(editor.mPresetNumber, c.to);
        EXPECT_EQ(editor.TagText(1), c.shown);
    }
}

TEST(Idle, ThePresetNumberComesBackOnThe61stTick) {
    DeviceRig rig;
    RigEditor& editor = *rig.editor;
    editor.mPresetNumber = 5;
    editor.mPresetNumberRestorePending = true;
    editor.mPresetNumberRestoreTicks = 0;
    rig.editor->Panel();
    int shownAt = 0;
    for (int t = 1; t <= 70 && !shownAt; ++t) {
        editor.OnIdle();
        if (editor.TagText(1) == "05")
            shownAt = t;
    }
    EXPECT_EQ(shownAt, 61);
    EXPECT_FALSE(editor.mPresetNumberRestorePending);
}

TEST(Idle, StoreAndRecallBlinkAndStop) {
    struct Case {
        bool store;
        std::string hiddenFirstPeriod; // one letter a tick: h hidden, s shown
        int stopTick;                  // the tick that ends the blink once armed
    };
    const Case cases[] = {{true, "sshhhhhh", 81}, {false, "sssshhhhhhhhhhhh", 161}};
    for (const Case& c : cases) {
        DeviceRig rig;
        RigEditor& editor = *rig.editor;
        bool& pending = c.store ? editor.mStorePending : editor.mRecallPending;
        pending = true;
        vx::ui::IControl* number = editor.Panel().FindControlByTag(1);
        std::string seen;
        for (std::size_t t = 0; t < c.hiddenFirstPeriod.size(); ++t) {
            editor.OnIdle();
            seen += number->IsHidden() ? 'h' : 's';
        }
        EXPECT_EQ(seen, c.hiddenFirstPeriod);
        // Armed at the start of a period, the countdown moves once a period.
        editor.mBlinkStopArmed = true;
        editor.mBlinkStopTicks = 0;
        int stoppedAt = 0;
        for (int t = 1; t <= 400 && !stoppedAt; ++t) {
            editor.OnIdle();
            if (!pending)
                stoppedAt = t;
        }
        EXPECT_EQ(stoppedAt, c.stopTick);
        EXPECT_FALSE(number->IsHidden());
    }
}

TEST(Idle, AMessageLeftWhileClosedIsNeverShown) {
    DeviceRig rig(false);
    rig.editor->mPendingMessage = "Unknown file format.";
    rig.editor->mMessagePending = true;
    rig.editor->OnIdle();
    rig.editor->OpenPanel();
    rig.editor->OnIdle();
    EXPECT_TRUE(rig.MessageBoxes().empty());
    rig.editor->mMessagePending = true;
    rig.editor->OnIdle();
    EXPECT_EQ(rig.MessageBoxes(), std::vector<std::string>{"Unknown file format."});
}

TEST(HostCommands, EachCommandDoesItsOwnWork) {
    struct Case {
        int command;
        std::vector<Bytes> sent;
        bool pollAfter;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {1, {}, false, {}},
        {2, {{0xF0, 0x00, 0x51, 0x21, 0x05, 0x55, 0x0C, 0x00, 0xF7}}, false, {}},
        {3, {}, true, {kRebuildQuestion, "Finished successfully!"}},
        {4, {}, true, {}},
        {6, {}, true, {}}, // the save prompt cancelled
        {7, {}, true, {}},
        {8, {}, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        DeviceRig rig;
        rig.editor->OnHostRequestingMessage(c.command);
        rig.Step();
        EXPECT_EQ(rig.sent, c.sent);
        EXPECT_EQ(rig.editor->mPollEnabled, c.pollAfter);
        EXPECT_EQ(rig.editor->mConnected, c.command == 1);
        EXPECT_FALSE(rig.editor->mBackupActive);
        EXPECT_EQ(rig.MessageBoxes(), c.boxes);
    }
}

// Connected with a whole library: Cancel keeps every file; OK deletes them
// and the pedal's checksums, asked for again, refill the library by a sync.
TEST(HostCommands, RebuildingTheLibraryAsksFirstAndRefillsItFromThePedal) {
    struct Case {
        vx::ui::EMsgBoxResult answer;
        bool deleted;
    };
    const Case cases[] = {{vx::ui::EMsgBoxResult::Cancel, false},
                          {vx::ui::EMsgBoxResult::OK, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.deleted);
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        const std::string ir = rig.home.UserIRFolder() + "004.dat";
        std::filesystem::create_directories(rig.home.UserIRFolder());
        WriteFile(ir, Bytes(2436, 1));
        rig.editor->Panel().messageBoxAnswers = {c.answer};
        const std::size_t from = rig.sent.size();
        rig.editor->OnHostRequestingMessage(3);
        EXPECT_EQ(FileExists(ir), !c.deleted);
        EXPECT_EQ(FileExists(rig.PresetFile(5)), !c.deleted);
        const std::vector<std::string> boxes =
            c.deleted ? std::vector<std::string>{kRebuildQuestion, "Finished successfully!"}
                      : std::vector<std::string>{kRebuildQuestion};
        EXPECT_EQ(rig.MessageBoxes(), boxes);
        if (!c.deleted) {
            rig.Steps(5);
            EXPECT_EQ(rig.sent.size(), from) << "nothing asked of the pedal";
            continue;
        }
        ASSERT_TRUE(rig.RunUntil(
            [&] {
                for (int slot = 0; slot < 128; ++slot)
                    if (!FileExists(rig.PresetFile(slot)))
                        return false;
                return !rig.editor->mSlotSyncActive;
            },
            400))
            << "the library was not refilled";
        EXPECT_EQ(ReadFile(rig.PresetFile(5)),
                  Bytes(rig.pedal.State().presets[5].begin(), rig.pedal.State().presets[5].end()));
        EXPECT_TRUE(rig.editor->mConnected);
    }
}

TEST(HostCommands, AboutNeedsThePanel) {
    DeviceRig closed(false);
    EXPECT_FALSE(closed.editor->OnHostRequestingAboutBox());
    DeviceRig open;
    EXPECT_TRUE(open.editor->OnHostRequestingAboutBox());
}

// With no program to show it, a box names where the manual is.
TEST(HostCommands, TheManualGoesToTheLauncherAndAMissingOneIsNoError) {
    vx::test::TempImageFolder folder;
    const std::string cwd = std::filesystem::current_path().string();
    ASSERT_EQ(chdir(folder.Folder().c_str()), 0);
    DeviceRig rig;
    std::vector<std::string> launched;
    bool viewer = true;
    rig.editor->mOpenDocument = [&](const std::string& path) {
        launched.push_back(path);
        return viewer;
    };
    EXPECT_TRUE(rig.editor->OnHostRequestingManual());
    EXPECT_TRUE(launched.empty());
    WriteFile(folder.Folder() + "/Vorlix_ZQTR_OM_XN1.pdf", {'%', 'P', 'D', 'F'});
    EXPECT_TRUE(rig.editor->OnHostRequestingManual());
    EXPECT_TRUE(rig.MessageBoxes().empty());
    viewer = false;
    EXPECT_TRUE(rig.editor->OnHostRequestingManual());
    ASSERT_EQ(chdir(cwd.c_str()), 0);
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_TRUE(std::filesystem::path(launched[0]).is_absolute());
    EXPECT_TRUE(
        std::filesystem::equivalent(launched[0], folder.Folder() + "/Vorlix_ZQTR_OM_XN1.pdf"));
    const std::vector<std::string> boxes = rig.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("No program to show PDF files"), std::string::npos) << boxes[0];
    EXPECT_NE(boxes[0].find(launched[1]), std::string::npos) << boxes[0];
}

TEST(HostCommands, ClosingTellsAConnectedDeviceAndAlwaysKeepsTheScale) {
    for (const bool connected : {false, true}) {
        SCOPED_TRACE(connected);
        TempConfigHome config;
        DeviceRig rig;
        if (connected) {
            ASSERT_TRUE(rig.Connect());
        }
        const std::size_t from = rig.sent.size();
        rig.editor->CloseEditor();
        rig.Step();
        EXPECT_EQ(rig.SentWithCommand(0x055F, from).size(), connected ? 1u : 0u);
        const Bytes ini = ReadFile(config.SettingsFile());
        const std::string text(ini.begin(), ini.end());
        EXPECT_NE(text.find("[GUI]"), std::string::npos) << text;
        EXPECT_NE(text.find("scale=1.000000"), std::string::npos) << text;
    }
}

TEST(HostCommands, TheDateStringIsMonthDayYear) {
    const std::string date = OmnarControl::MakeDateString();
    ASSERT_EQ(date.size(), 8u);
    EXPECT_TRUE(
        std::all_of(date.begin(), date.end(), [](char ch) { return ch >= '0' && ch <= '9'; }));
    EXPECT_GE(std::stoi(date.substr(0, 2)), 1);
    EXPECT_LE(std::stoi(date.substr(0, 2)), 12);
    EXPECT_GE(std::stoi(date.substr(4)), 2024);
}

TEST(Audio, TheEditorPassesSilence) {
    DeviceRig rig(false);
    std::vector<double> left(64, 0.5), right(64, -0.5);
    double* outputs[] = {left.data(), right.data()};
    double* inputs[] = {right.data(), left.data()};
    rig.editor->ProcessAudioBlock(inputs, outputs, 64);
    for (const double sample : left)
        EXPECT_EQ(sample, 0.0);
}

} // namespace

namespace {

TEST(IRList, PagesShowTheirNamesAndTheUploadSlotStaysHighlighted) {
    DeviceRig rig;
    RigEditor& editor = *rig.editor;
    for (int n = 0; n < 96; ++n)
        std::snprintf(editor.mIRNames[std::size_t(n)].data(), 33, "IR %d", n);
    const auto colourOf = [&](int row) {
        return editor.mIRListRows[std::size_t(row)]->GetText().FGColor;
    };
    const vx::ui::IColor normal(255, 120, 120, 120), selected(255, 200, 200, 200);
    editor.mIRUploadSlot = 40;
    editor.ShowIRListPage(1);
    EXPECT_EQ(editor.mIRListRows[0]->GetString(), std::string("IR 32"));
    EXPECT_EQ(editor.mIRListRows[31]->GetString(), std::string("IR 63"));
    EXPECT_EQ(colourOf(8), selected);
    editor.ShowIRListPage(2);
    EXPECT_EQ(editor.mIRListRows[8]->GetString(), std::string("IR 72"));
    EXPECT_EQ(colourOf(8), normal) << "slot 40 is not on page 2";
    editor.MoveIRListHighlight(70);
    EXPECT_EQ(editor.mIRUploadSlot, 70);
    EXPECT_EQ(colourOf(6), selected);
    EXPECT_EQ(colourOf(8), normal);
}

} // namespace
