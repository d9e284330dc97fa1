// The preferences dialog over the host's fake drivers and ports: what each
// list offers, what each choice does to the settings, the stream and the
// ports, and how OK, Apply and Cancel end it.
#include "app/ShellIds.h"
#include "platform/ak/test/AkTest.h"
#include "tests/app/ShellFixture.h"
#include "winlayer/window/WindowCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

namespace shell::test {
namespace {

namespace fs = std::filesystem;
using host::test::Device;
using Strings = std::vector<std::string>;

class PreferencesTest;

struct Case {
    const char* name;
    // Devices, ports and settings.ini before the host starts.
    std::function<void(PreferencesTest&)> arrange;
    // Inside the dialog's modal loop.
    std::function<void(PreferencesTest&, HWND dialog)> script;
    // Once the dialog has ended.
    std::function<void(PreferencesTest&)> check;
    // Between the host's start and the dialog.
    std::function<void(PreferencesTest&)> afterStart = nullptr;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class PreferencesTest : public ShellTest, public ::testing::WithParamInterface<Case> {
public:
    using HostTest::mAudio;
    using HostTest::mMidi;
    using HostTest::SettingsPath;
    using HostTest::SettingsText;
    using HostTest::WriteSettings;
    host::StandaloneHost& Host() { return *host::StandaloneHost::Current(); }
    bool Has(const std::string& text) { return SettingsText().find(text) != std::string::npos; }
    size_t mark = 0;
    std::string path; // PATH while the test runs
    fs::path tools;
};

// A stream opened since the mark, in the fake driver's words.
bool Reopened(PreferencesTest& t) {
    for (const std::string& call : CallsSince(*t.mAudio, t.mark))
        if (call.rfind("open", 0) == 0)
            return true;
    return false;
}

// Eight inputs and outputs on one card, the system's default both ways.
void EightChannelCard(PreferencesTest& t) {
    t.mAudio->devices = {Device("Card", 8, 8, true, true)};
    t.WriteSettings("[audio]\nindev=Card\noutdev=Card\n");
}

void TwoSynths(PreferencesTest& t) {
    t.mMidi->inputPorts = {"Synth A", "Synth B"};
    t.mMidi->outputPorts = {"Synth A", "Synth B"};
    t.WriteSettings("[midi]\nindev=Synth A\noutdev=Synth A\n");
}

// A folder on PATH holding only what the case puts there.
void ToolFolder(PreferencesTest& t, bool withQjackctl) {
    t.tools = fs::path(t.SettingsPath()).parent_path().parent_path() / "bin";
    fs::create_directories(t.tools);
    if (withQjackctl) {
        const fs::path tool = t.tools / "qjackctl";
        std::ofstream(tool) << "#!/bin/sh\necho started >> '" << (t.tools / "marker").string()
                            << "'\n/bin/sleep 2\n";
        fs::permissions(tool, fs::perms::owner_all);
    }
    t.path = t.tools.string();
}

int MarkerLines(const PreferencesTest& t) {
    std::ifstream marker(t.tools / "marker");
    int lines = 0;
    for (std::string line; std::getline(marker, line);)
        ++lines;
    return lines;
}

// This process's children now, of every thread.
std::set<int> Children() {
    std::set<int> children;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        std::ifstream list(task.path() / "children");
        for (int pid = 0; list >> pid;)
            children.insert(pid);
    }
    return children;
}

// A started tool is another process: its marker is polled up to a deadline.
bool WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// Longer than any fixed buffer of 100 bytes, with letters of two and three bytes.
constexpr const char* kLongName =
    "Ausgabegerät für Überwachung — Studio-Monitore links und rechts, zweiter Raum, "
    "Schnittstelle Nr. 2 (Kanäle 3–4)";

const Case kCases[] = {
    {"TwoInputChannelsListOneThenOneAndTwo",
     [](PreferencesTest& t) {
         t.mAudio->devices = {Device("Card", 2, 2, true, true)};
         t.WriteSettings("[audio]\nindev=Card\noutdev=Card\n");
     },
     [](PreferencesTest&, HWND dialog) {
         EXPECT_EQ(Entries(dialog, kInput1List), (Strings{"1"}));
         EXPECT_EQ(Entries(dialog, kInput2List), (Strings{"1", "2"}));
         EXPECT_EQ(Entries(dialog, kOutput1List), (Strings{"1"}));
         EXPECT_EQ(Entries(dialog, kOutput2List), (Strings{"1", "2"}));
         Press(dialog, kCancel);
     },
     nullptr},
    {"TheSecondChannelFollowsTheFirst", EightChannelCard,
     [](PreferencesTest& t, HWND dialog) {
         Choose(dialog, kInput1List, 3);
         EXPECT_EQ(t.Host().Settings().input1, 4);
         EXPECT_EQ(t.Host().Settings().input2, 5);
         EXPECT_EQ(Entries(dialog, kInput2List).at(size_t(Selected(dialog, kInput2List))), "5");
         Choose(dialog, kInput2List, 0);
         EXPECT_EQ(t.Host().Settings().input2, 5);
         EXPECT_EQ(Selected(dialog, kInput2List), 4);
         Choose(dialog, kOutput1List, 2);
         EXPECT_EQ(t.Host().Settings().output1, 3);
         EXPECT_EQ(t.Host().Settings().output2, 4);
         EXPECT_EQ(Selected(dialog, kOutput2List), 3);
         Choose(dialog, kOutput2List, 7);
         EXPECT_EQ(t.Host().Settings().output2, 4);
         EXPECT_EQ(Selected(dialog, kOutput2List), 3);
         Press(dialog, kOk);
     },
     [](PreferencesTest& t) {
         EXPECT_TRUE(Reopened(t)) << "changed settings reopen the stream";
         EXPECT_TRUE(t.Has("in1=4") && t.Has("in2=5") && t.Has("out1=3") && t.Has("out2=4"))
             << t.SettingsText();
     }},
    {"OkWithNothingChangedKeepsTheStreamAndWritesTheFile", nullptr,
     [](PreferencesTest& t, HWND dialog) {
         fs::remove(t.SettingsPath());
         Press(dialog, kOk);
     },
     [](PreferencesTest& t) {
         EXPECT_FALSE(Reopened(t));
         EXPECT_TRUE(fs::exists(t.SettingsPath()));
     }},
    {"ApplyReopensAndTheDialogStaysOpen", nullptr,
     [](PreferencesTest& t, HWND dialog) {
         Choose(dialog, kBufferSizeList, 5);
         EXPECT_EQ(t.Host().Settings().bufferFrames, 256);
         Press(dialog, kApply);
         EXPECT_TRUE(Reopened(t));
         EXPECT_TRUE(IsWindowVisible(dialog));
         t.mark = t.mAudio->Calls().size();
         Press(dialog, kOk);
     },
     [](PreferencesTest& t) {
         EXPECT_FALSE(Reopened(t)) << "OK after Apply has nothing left to apply";
         EXPECT_TRUE(t.Has("buffer=256")) << t.SettingsText();
     }},
    {"CancelAfterAnAudioChangeRestoresAndReopens", nullptr,
     [](PreferencesTest& t, HWND dialog) {
         Choose(dialog, kBufferSizeList, 7);
         Press(dialog, kApply);
         t.mark = t.mAudio->Calls().size();
         Press(dialog, kCancel);
     },
     [](PreferencesTest& t) {
         EXPECT_EQ(t.Host().Settings().bufferFrames, 512);
         const Strings calls = CallsSince(*t.mAudio, t.mark);
         EXPECT_NE(std::find(calls.begin(), calls.end(), "create 0"), calls.end());
         EXPECT_TRUE(Reopened(t));
         EXPECT_FALSE(t.Has("buffer=1024")) << t.SettingsText();
     }},
    {"CancelAfterAMidiChangeRestoresTheNameAndThePort", TwoSynths,
     [](PreferencesTest& t, HWND dialog) {
         EXPECT_EQ(Entries(dialog, kMidiOutputList),
                   (Strings{"off", "virtual output", "Synth A", "Synth B"}));
         EXPECT_EQ(Selected(dialog, kMidiOutputList), 2);
         Choose(dialog, kMidiOutputList, 3);
         EXPECT_TRUE(t.mMidi->Called("out open 1 RtMidi Output"));
         t.mMidi->calls.clear();
         Press(dialog, kCancel);
     },
     [](PreferencesTest& t) {
         EXPECT_EQ(t.Host().Settings().midiOutput, "Synth A");
         EXPECT_TRUE(t.mMidi->Called("out open 0 RtMidi Output"))
             << "the port of the restored name is open again";
     }},
    {"AStoredBufferSizeNotOfferedSelectsNothing",
     [](PreferencesTest& t) { t.WriteSettings("[audio]\nbuffer=100\n"); },
     [](PreferencesTest&, HWND dialog) {
         EXPECT_EQ(Entries(dialog, kBufferSizeList).size(), 11u);
         EXPECT_EQ(Selected(dialog, kBufferSizeList), -1);
         Press(dialog, kCancel);
     },
     nullptr},
    {"AStoredPortNotPluggedInStaysTheChoiceShownAsNotFound",
     [](PreferencesTest& t) {
         t.mMidi->inputPorts = {"Synth A"};
         t.mMidi->outputPorts = {"Synth A"};
         t.WriteSettings("[midi]\nindev=Pedal In\noutdev=Synth A\n");
     },
     [](PreferencesTest& t, HWND dialog) {
         EXPECT_EQ(Entries(dialog, kMidiInputList),
                   (Strings{"off", "virtual input", "Synth A", "Pedal In (not found)"}));
         EXPECT_EQ(Selected(dialog, kMidiInputList), 3);
         Choose(dialog, kMidiInputList, 3);
         EXPECT_EQ(t.Host().Settings().midiInput, "Pedal In") << "the entry names the stored port";
         Press(dialog, kOk);
     },
     [](PreferencesTest& t) {
         EXPECT_EQ(t.Host().Settings().midiInput, "Pedal In");
         EXPECT_TRUE(t.Has("indev=Pedal In")) << t.SettingsText();
         EXPECT_FALSE(t.Has("indev=off")) << t.SettingsText();
     }},
    {"OkAndApplyReopenTheMidiPortsWithTheirNamesUnchanged", TwoSynths,
     [](PreferencesTest& t, HWND dialog) {
         for (const int button : {kApply, kOk}) {
             t.mMidi->calls.clear();
             Press(dialog, button);
             EXPECT_TRUE(t.mMidi->Called("in open 0 RtMidi Input")) << button;
             EXPECT_TRUE(t.mMidi->Called("out open 0 RtMidi Output")) << button;
         }
     },
     [](PreferencesTest& t) { EXPECT_EQ(t.Host().Settings().midiInput, "Synth A"); }},
    {"APortPluggedInAfterTheStartIsOffered", TwoSynths,
     [](PreferencesTest&, HWND dialog) {
         EXPECT_EQ(Entries(dialog, kMidiInputList),
                   (Strings{"off", "virtual input", "Synth A", "Synth B", "Pedal"}));
         Press(dialog, kCancel);
     },
     nullptr, [](PreferencesTest& t) { t.mMidi->inputPorts.push_back("Pedal"); }},
    {"ADriverChangeTakesTheFirstDevicesAndOutputsOneAndTwo",
     [](PreferencesTest& t) {
         t.mAudio->devices = {Device("Card A", 2, 4, true, true), Device("Card B", 2, 4)};
         t.WriteSettings("[audio]\nindev=Card B\noutdev=Card B\nout1=3\nout2=4\n");
     },
     [](PreferencesTest& t, HWND dialog) {
         EXPECT_EQ(Entries(dialog, kDriverList), (Strings{"ALSA", "Pulse", "Jack"}));
         EXPECT_EQ(Selected(dialog, kOutputDeviceList), 1);
         Choose(dialog, kDriverList, 2);
         const host::HostSettings& s = t.Host().Settings();
         EXPECT_EQ(s.driver, 2);
         EXPECT_EQ(s.audioInput, "Card A");
         EXPECT_EQ(s.audioOutput, "Card A");
         EXPECT_EQ(s.output1, 1);
         EXPECT_EQ(s.output2, 2);
         EXPECT_EQ(Selected(dialog, kOutputDeviceList), 0);
         EXPECT_EQ(Selected(dialog, kOutput1List), 0);
         EXPECT_EQ(Selected(dialog, kOutput2List), 1);
         EXPECT_EQ(Selected(dialog, kBufferSizeList), 6);
         Press(dialog, kCancel);
     },
     nullptr},
    {"WithNoInputDeviceTheOutputDevicesRatesAreOffered", nullptr,
     [](PreferencesTest&, HWND dialog) {
         EXPECT_TRUE(Entries(dialog, kInputDeviceList).empty());
         EXPECT_EQ(Entries(dialog, kSampleRateList), (Strings{"44100", "48000"}));
         EXPECT_EQ(Selected(dialog, kSampleRateList), 0);
         Choose(dialog, kSampleRateList, 1);
         Press(dialog, kOk);
     },
     [](PreferencesTest& t) { EXPECT_EQ(t.Host().Settings().sampleRate, 48000); }},
    {"LongAndUtf8NamesAreReadWhole",
     [](PreferencesTest& t) {
         t.mAudio->devices = {Device("Speakers", 0, 2, false, true), Device(kLongName, 0, 2)};
     },
     [](PreferencesTest& t, HWND dialog) {
         EXPECT_EQ(Entries(dialog, kOutputDeviceList), (Strings{"Speakers", kLongName}));
         Choose(dialog, kOutputDeviceList, 1);
         EXPECT_EQ(t.Host().Settings().audioOutput, kLongName);
         Press(dialog, kOk);
     },
     [](PreferencesTest& t) {
         EXPECT_NE(t.SettingsText().find(std::string("outdev=") + kLongName), std::string::npos)
             << t.SettingsText();
     }},
    {"TheCloseBoxCancels", nullptr,
     [](PreferencesTest& t, HWND dialog) {
         Choose(dialog, kBufferSizeList, 8);
         EXPECT_EQ(t.Host().Settings().bufferFrames, 2048);
         ak::test::CloseBox(*winlayer::FindWindow(dialog));
         EXPECT_TRUE(ak::test::PumpUntil([&] { return t.Host().Settings().bufferFrames == 512; }))
             << "the close box did not cancel";
     },
     [](PreferencesTest& t) { EXPECT_NE(t.SettingsText().find("buffer=512"), std::string::npos); }},
    {"ConfigStartsTheToolOnThePathOnce", [](PreferencesTest& t) { ToolFolder(t, true); },
     [](PreferencesTest& t, HWND dialog) {
         EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kConfigButton)));
         Press(dialog, kConfigButton);
         EXPECT_TRUE(WaitFor([&] { return MarkerLines(t) == 1; })) << "the tool did not start";
         // A start forks at the click: a second one would be a new child now.
         const std::set<int> running = Children();
         Press(dialog, kConfigButton);
         const std::set<int> after = Children();
         EXPECT_TRUE(std::includes(running.begin(), running.end(), after.begin(), after.end()))
             << "a second click while it runs starts none";
         EXPECT_EQ(MarkerLines(t), 1);
         Press(dialog, kCancel);
     },
     nullptr},
    {"ConfigIsDisabledWithNoToolOnThePath", [](PreferencesTest& t) { ToolFolder(t, false); },
     [](PreferencesTest&, HWND dialog) {
         EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, kConfigButton)));
         Press(dialog, kCancel);
     },
     nullptr},
};

TEST_P(PreferencesTest, Case) {
    const Case& c = GetParam();
    if (c.arrange)
        c.arrange(*this);
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath ? oldPath : "";
    if (!path.empty())
        setenv("PATH", path.c_str(), 1);
    StartHost();
    if (c.afterStart)
        c.afterStart(*this);
    Launch();
    mark = mAudio->Calls().size();
    RunPreferences([&](HWND dialog) { c.script(*this, dialog); });
    setenv("PATH", savedPath.c_str(), 1);
    if (c.check)
        c.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Edges, PreferencesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace shell::test
