// The panel's buttons: footswitches, radios, the file buttons, the device
// and overlay buttons and the global settings with its MIDI map pages.

#include "controls/ITextControl.h"
#include "pages/PageNames.h"
#include "tests/pages/EditFixture.h"
#include "toolkit/ICanvas.h"

#include <algorithm>
#include <filesystem>

namespace omnar::test {
namespace {

using namespace omnar::pages;
using Sent = std::vector<std::string>;

class ActionsTest : public EditFixture {
protected:
    // A footswitch click: the press, then the release.
    void Click(int tag) {
        editor->OnFootswitch(tag);
        editor->OnFootswitch(tag);
    }
    void SetText(int tag, const std::string& text) {
        static_cast<vx::ui::ITextControl*>(Tag(tag))->SetString(text.c_str());
    }
    std::string Proposal() {
        return Panel().fileDialogStartNames.empty() ? "<none>"
                                                    : Panel().fileDialogStartNames.back();
    }
    int FilesIn(const std::string& folder) {
        int n = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
            ++n;
        return n;
    }
};

TEST_F(ActionsTest, PresetUpWrapsAndSelectsOnRelease) {
    Connect();
    for (const auto& [offset, shown] : {std::pair{0, "00"}, {1, "01"}}) {
        Set(91, offset);
        TakeSent();
        editor->mPresetNumber = 127;
        editor->OnFootswitch(tag::kFootswitchUp);
        EXPECT_EQ(TagText(tag::kPresetDisplay), shown);
        EXPECT_EQ(Tag(tag::kFootswitchUp)->GetValue(), 1.0);
        EXPECT_TRUE(TakeSent().empty());
        editor->OnFootswitch(tag::kFootswitchUp);
        EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 23 0C 00 F7"});
    }
    Click(tag::kFootswitchDown);
    EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 23 0C 7F F7"});
}

TEST_F(ActionsTest, SaveChoosesATargetSilentlyThenStoresIt) {
    Connect();
    editor->mPresetNumber = 10;
    Click(tag::kSaveButton);
    EXPECT_TRUE(editor->mStorePending);
    Click(tag::kFootswitchUp);
    Click(tag::kFootswitchDown);
    Click(tag::kFootswitchDown);
    EXPECT_TRUE(TakeSent().empty());
    Click(tag::kSaveButton);
    EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 50 0C 12 09 F7"});
    EXPECT_TRUE(editor->mBlinkStopArmed);
}

TEST_F(ActionsTest, SaveWithoutADeviceEndsTheTargetMode) {
    Click(tag::kSaveButton);
    Click(tag::kSaveButton);
    EXPECT_FALSE(editor->mStorePending);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(ActionsTest, SelectBrowsesThenRecallsTheShownPreset) {
    Connect();
    editor->mPresetNumber = 3;
    Click(tag::kFootswitchSelect);
    EXPECT_TRUE(editor->mRecallPending);
    Click(tag::kFootswitchUp);
    EXPECT_TRUE(TakeSent().empty());
    Click(tag::kFootswitchSelect);
    EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 23 0C 04 F7"});
    EXPECT_FALSE(editor->mRecallPending);
}

TEST_F(ActionsTest, TheKnobBankSwitchesEvenWithoutADevice) {
    Click(tag::kFootswitchBank);
    EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 50 0C 13 01 F7"});
    EXPECT_TRUE(editor->mKnobBankB);
    EXPECT_FALSE(Tag(tag::kFilterLed)->IsHidden());
    EXPECT_FALSE(Tag(tag::kRedBackground)->IsHidden());
    EXPECT_EQ(Tag(tag::kFootswitchBank)->GetValue(), 0.0);
    Click(tag::kFootswitchBank);
    EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 50 0C 13 00 F7"});
    EXPECT_TRUE(Tag(tag::kFilterLed)->IsHidden());
    EXPECT_TRUE(Tag(tag::kRedBackground)->IsHidden());
}

TEST_F(ActionsTest, AnAmpModelMarksItselfAndBringsItsValues) {
    const int mid = Value(12);
    Set(12, 20);
    Tag(tag::kAmpRadio0 + 1)->SetValue(0.0);
    editor->OnAmpRadio(1);
    EXPECT_EQ(Tag(tag::kAmpRadio0 + 1)->GetValue(), 1.0);
    EXPECT_EQ(Value(12), 64);
    EXPECT_EQ(Value(1), 26);
    EXPECT_EQ(editor->mPreMidMode, 1);
    Set(12, 20);
    editor->OnAmpRadio(3);
    EXPECT_EQ(Tag(tag::kAmpRadio0 + 1)->GetValue(), 0.0);
    EXPECT_EQ(Tag(tag::kAmpRadio0 + 3)->GetValue(), 1.0);
    EXPECT_EQ(Value(12), 20);
    EXPECT_EQ(editor->mPreMidMode, 0);
    (void)mid;
}

TEST_F(ActionsTest, ConnectedAModelSendsOneDumpAndAMarkedPressNothing) {
    Connect();
    editor->OnAmpRadio(4);
    const Sent sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].size(), 267u * 3 - 1);
    editor->OnAmpRadio(4); // now marked
    editor->OnReverbRadio(2);
    editor->OnReverbRadio(2);
    EXPECT_EQ(TakeSent().size(), 1u);
}

TEST_F(ActionsTest, ReverbTypesFiveAndSixShowTheirDecayOnlyOnTheAmbiencePage) {
    const auto decayShown = [this] { return HiddenIn(group::kAmbienceTime) == 0; };
    editor->ShowAmbience();
    editor->OnReverbRadio(5);
    EXPECT_TRUE(decayShown());
    EXPECT_EQ(Value(19), 5);
    editor->OnReverbRadio(0);
    EXPECT_FALSE(decayShown());
    EXPECT_EQ(Value(19), 3);
    editor->ShowGate();
    editor->OnReverbRadio(6);
    EXPECT_EQ(Value(19), 5);
    EXPECT_EQ(HiddenIn(group::kAmbienceTime), int(Group(group::kAmbienceTime).size()));
}

TEST_F(ActionsTest, ReconnectUnlinksAndWaitsTheSameTwice) {
    Connect();
    for (int round = 0; round < 2; ++round) {
        editor->OnReconnectButton();
        EXPECT_FALSE(editor->mConnected);
        EXPECT_TRUE(editor->mPollEnabled);
        EXPECT_EQ(TagText(tag::kStatusVersion), "Connecting to the device...");
        EXPECT_EQ(DisabledIn(group::kBankA), int(Group(group::kBankA).size()));
        EXPECT_EQ(HiddenIn(group::kProgress), int(Group(group::kProgress).size()));
    }
    EXPECT_TRUE(TakeSent().empty());
}

// The dump's 32-byte name field: cut, blank-padded, bytes above 7F as '?'.
TEST_F(ActionsTest, AnEditedNameGoesInTheDumpCutAndPadded) {
    const auto field = [](std::string text, std::size_t size) {
        std::vector<uint8_t> bytes(size, ' ');
        for (std::size_t i = 0; i < std::min(size, text.size()); ++i)
            bytes[i] = uint8_t(text[i]) >= 0x80 ? '?' : uint8_t(text[i]);
        return HexBytes(bytes);
    };
    const std::string longName(40, 'x');
    const struct {
        std::string typed;
        std::string expected;
        std::string absent;
    } cases[] = {{"abc", field("abc", 32), field("abc", 33)},
                 {longName, field(longName, 32), field(longName, 33)},
                 {"\xC3\xA9", field("\xC3\xA9", 32), "C3"}};
    for (const auto& c : cases) {
        SetText(tag::kPresetName, c.typed);
        editor->OnPresetNameEdited(); // no device: sent all the same
        const Sent sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u) << c.typed;
        EXPECT_EQ(TagText(tag::kPresetName), c.typed);
        EXPECT_NE(sent[0].find(c.expected), std::string::npos) << c.typed;
        EXPECT_EQ(sent[0].find(c.absent), std::string::npos) << c.typed;
    }
}

TEST_F(ActionsTest, FirmwareIsChosenOnceAndNotDisturbedWhileItGoes) {
    Connect();
    editor->OnUpdateFirmwareButton(); // cancelled
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_FALSE(editor->mFirmwarePrepared);
    const std::string path = dataHome.Folder() + "/fw.bin";
    WriteFile(path, Bytes(1000, 0x11));
    Panel().fileDialogAnswers.push_back(path);
    editor->OnUpdateFirmwareButton();
    EXPECT_TRUE(editor->mFirmwarePrepared);
    EXPECT_EQ(TakeSent().size(), 1u);
    Panel().fileDialogAnswers.push_back(path);
    editor->OnUpdateFirmwareButton();
    editor->OnCloseFirmwarePage();
    EXPECT_EQ(Panel().fileDialogAnswers.size(), 1u);
    EXPECT_TRUE(editor->mConnected);
    EXPECT_TRUE(TakeSent().empty());
}

// FIRMWARE HELP opens the manual; with nothing to show it, a box says where it is.
TEST_F(ActionsTest, FirmwareHelpWithoutAViewerNamesTheManualsPath) {
    vx::ui::IURLControl* help = nullptr;
    for (vx::ui::IControl* c : Group(group::kFirmwareUpdate))
        if (auto* link = dynamic_cast<vx::ui::IURLControl*>(c))
            help = link;
    ASSERT_NE(help, nullptr);
    for (const bool opens : {true, false}) {
        Panel().browserOpens = opens;
        const std::size_t before = Panel().CallsStartingWith("RunMessageBox ").size();
        help->OnMouseDown(help->GetRECT().MW(), help->GetRECT().MH(), {});
        const std::vector<std::string> boxes = Panel().CallsStartingWith("RunMessageBox ");
        ASSERT_EQ(boxes.size(), before + (opens ? 0 : 1)) << "opens " << opens;
    }
    const std::string box = Panel().CallsStartingWith("RunMessageBox ").back();
    EXPECT_NE(box.find("No program to show PDF files"), std::string::npos) << box;
    EXPECT_FALSE(OmnarControl::ManualPath().empty());
    EXPECT_NE(box.find(OmnarControl::ManualPath()), std::string::npos) << box;
}

TEST_F(ActionsTest, ClosingTheFirmwarePageUnlinksAndRestoresTheMainControls) {
    Connect();
    Panel().ForEachControlInGroup(group::kMain, [](vx::ui::IControl* c) { c->SetDisabled(true); });
    editor->OnCloseFirmwarePage();
    EXPECT_FALSE(editor->mConnected);
    EXPECT_TRUE(editor->mPollEnabled);
    EXPECT_EQ(DisabledIn(group::kMain), 0);
    EXPECT_EQ(HiddenIn(group::kFirmwareUpdate), int(Group(group::kFirmwareUpdate).size()));
}

TEST_F(ActionsTest, OverlaysCloseAndTheCustomListForgetsItsHighlight) {
    Panel().ForEachControlInGroup(group::kCustomIR, [](vx::ui::IControl* c) { c->Hide(false); });
    Panel().ForEachControlInGroup(group::kAbout, [](vx::ui::IControl* c) { c->Hide(false); });
    editor->mIRListRows[3]->SetTextColor(vx::ui::IColor(255, 200, 200, 200));
    editor->mUserIRFocusA = editor->mUserIRFocusB = true;
    editor->OnCloseCustomIRList();
    editor->OnCloseAbout();
    EXPECT_EQ(HiddenIn(group::kCustomIR), int(Group(group::kCustomIR).size()));
    EXPECT_EQ(HiddenIn(group::kAbout), int(Group(group::kAbout).size()));
    for (const vx::ui::ITextControl* row : editor->mIRListRows)
        EXPECT_EQ(row->GetText().FGColor, vx::ui::IColor(255, 120, 120, 120));
    EXPECT_FALSE(editor->mUserIRFocusA || editor->mUserIRFocusB);
}

TEST_F(ActionsTest, GlobalSettingsCloseAndOpenTheMapChosenByPatchOffset) {
    editor->mPollEnabled = false;
    editor->OnCloseGlobalSettings();
    EXPECT_TRUE(editor->mPollEnabled);
    for (const auto& [offset, shown, hidden] :
         {std::tuple{0, group::kMidiProgramOffset0, group::kMidiProgramOffset1},
          {1, group::kMidiProgramOffset1, group::kMidiProgramOffset0}}) {
        Set(91, offset);
        TakeSent();
        editor->OnOpenMidiProgramMap();
        EXPECT_EQ(HiddenIn(shown), 0) << offset;
        EXPECT_EQ(HiddenIn(hidden), int(Group(hidden).size())) << offset;
        EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 55 0C 02 F7"});
        editor->OnMidiProgramBack();
        TakeSent();
    }
    editor->OnOpenMidiCCMap();
    EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 55 0C 01 F7"});
}

// The pedal's map reaches the boxes, not only the parameters: a box left at
// its old number would write that number back over the pedal's entry.
TEST_F(ActionsTest, ThePedalsProgramMapShowsInTheBoxes) {
    struct StillTimer : vx::Timer {
        void Stop() override {}
    };
    Connect();
    // The pedal's answer is the dump the editor sends for the same map.
    for (int i = 0; i < 128; ++i)
        editor->mProgramMap[std::size_t(i)] = i == 0 ? 5 : i;
    editor->OnMidiProgramBack();
    const Sent sent = TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    std::vector<uint8_t> reply;
    for (std::size_t at = 0; at + 1 < sent[0].size(); at += 3)
        reply.push_back(uint8_t(std::stoi(sent[0].substr(at, 2), nullptr, 16)));
    for (int i = 0; i < 128; ++i)
        editor->mProgramMap[std::size_t(i)] = i;
    ASSERT_TRUE(editor->PushCallbackSysEx(reply));
    StillTimer timer;
    editor->OnUITimer(timer);
    EXPECT_EQ(editor->mProgramMap[0], 5);
    const vx::ui::ICanvas& canvas = *editor->GetGraphics();
    // Entry 0 counts as 5 from 0 and as 6 from 1.
    EXPECT_EQ(canvas.FindControlByParam(110)->GetValue(), 5 / 127.0);
    EXPECT_EQ(canvas.FindControlByParam(112)->GetValue(), 5 / 127.0);
    EXPECT_EQ(Value(112), 6);
}

TEST_F(ActionsTest, ResetsAskFirstAndClearTheLibraryForAllAndPresets) {
    const std::string slot = dataHome.PresetsFolder() + "/001.dat";
    const struct {
        int type;
        bool cancel;
        bool keepsFiles;
        Sent sent;
    } cases[] = {{0, true, true, {}},
                 {2, false, true, {"F0 00 51 21 05 56 0C 02 F7"}},
                 {0, false, false, {"F0 00 51 21 05 56 0C 00 F7"}},
                 {1, false, false, {"F0 00 51 21 05 56 0C 01 F7"}}};
    for (const auto& c : cases) {
        WriteFile(slot, Bytes(10, 1));
        if (c.cancel)
            Panel().messageBoxAnswers.push_back(vx::ui::EMsgBoxResult::Cancel);
        editor->OnFactoryResetButton(c.type);
        EXPECT_EQ(FileExists(slot), c.keepsFiles) << c.type;
        EXPECT_EQ(TakeSent(), c.sent) << c.type;
    }
}

TEST_F(ActionsTest, BackFromTheProgramMapSendsItWithItsChecksum) {
    const struct {
        int fill; // -1: entry i = i
        const char* tail;
    } cases[] = {{-1, "3F 40 F7"}, {0, "00 00 F7"}, {127, "7F 00 F7"}};
    for (const auto& c : cases) {
        for (int i = 0; i < 128; ++i)
            editor->mProgramMap[std::size_t(i)] = c.fill < 0 ? i : c.fill;
        editor->OnMidiProgramBack();
        const Sent sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u);
        EXPECT_TRUE(sent[0].starts_with("F0 00 51 21 05 52 0C 02"));
        EXPECT_TRUE(sent[0].ends_with(c.tail)) << c.fill;
    }
    EXPECT_EQ(HiddenIn(group::kGlobalSettings), 0);
}

TEST_F(ActionsTest, SettingsSendTheGlobalDumpUnlessApplied) {
    for (int index : {89, 90, 92, 93, 95, 96, 97, 98, 99, 100}) {
        Set(index, 1);
        const Sent sent = TakeSent();
        ASSERT_EQ(sent.size(), 1u) << index;
        EXPECT_TRUE(sent[0].starts_with("F0 00 51 21 05 52 0C 00")) << index;
    }
    Set(94, 1);
    editor->mApplyingValues = true;
    Set(89, 0);
    EXPECT_TRUE(TakeSent().empty());
}

TEST_F(ActionsTest, TheProgramMapPagesEditTheMap) {
    editor->mProgramMap[4] = 9;
    Set(109, 4);
    EXPECT_EQ(Value(110), 9);
    Set(110, 20);
    EXPECT_EQ(editor->mProgramMap[4], 20);
    Set(111, 5);
    EXPECT_EQ(Value(112), 21);
    Set(112, 30);
    EXPECT_EQ(editor->mProgramMap[4], 29);
}

TEST_F(ActionsTest, ExportProposesTheLastFolderAndTheName) {
    SetText(tag::kPresetName, "my a/b");
    const std::string longFolder = "/" + std::string(5000, 'd');
    const struct {
        std::string last;
        std::string proposal;
    } cases[] = {{"", "my a-b"},
                 {"/a/b/x.z3p", "/a/b/my a-b"},
                 {longFolder + "/x.z3p", longFolder + "/my a-b"}};
    for (const auto& c : cases) {
        editor->mLastPresetPath = c.last;
        editor->OnExportPresetButton();
        EXPECT_EQ(Proposal(), c.proposal);
        editor->OnImportPresetButton();
        EXPECT_EQ(Proposal(), c.last);
        EXPECT_EQ(editor->mLastPresetPath, c.last); // both cancelled
    }
}

TEST_F(ActionsTest, IRImportChangesNothingUntilAGoodFileIsRead) {
    Connect();
    const int msb = Value(53);
    editor->OnIRImportButton(8); // cancelled
    const std::string bad = dataHome.Folder() + "/bad.wav";
    WriteFile(bad, Bytes(20, 7));
    Panel().fileDialogAnswers.push_back(bad);
    editor->OnIRImportButton(8);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(Value(55), msb);
    EXPECT_FALSE(editor->mUserIRFocusB);

    const std::string good = dataHome.Folder() + "/good.wav";
    WriteFile(good, WavBytes({1, 1, 44100, 16, std::vector<double>(100, 0.25)}));
    Panel().fileDialogAnswers.push_back(good);
    editor->mPresetNumber = 5;
    editor->OnIRImportButton(8);
    EXPECT_EQ(TakeSent(), Sent{"F0 00 51 21 05 50 0C 3B 01 F7"});
    EXPECT_EQ(editor->mUserIRNumberB, 133);
    EXPECT_TRUE(editor->mUserIRFocusB);
    EXPECT_FALSE(editor->mIRImportBusy);
    // Staged, not yet in the library: the pedal has not taken it.
    EXPECT_EQ(FilesIn(dataHome.UserIRFolder()), 0);
    Tick();
    EXPECT_FALSE(TakeSent().empty());
}

} // namespace
} // namespace omnar::test
