// MIDI: which back end the host lands on, port lookup and opening, and what
// the input callback queues.
#include "tests/framework/host/HostFixtures.h"

#include "framework/host/PortMatch.h"

#include <algorithm>
#include <filesystem>

using namespace host;
using namespace host::test;

using HostMidiTest = HostTest;

TEST_F(HostMidiTest, BothDirectionsComeFromTheFirstBackEndThatConstructs) {
    struct Case {
        std::set<MidiApi> failing;
        bool created;
        const char* landsOn; // the output client's creation on the chosen back end
    };
    const Case cases[] = {
        {{}, true, "out create alsa RtMidi Output Client"},
        {{MidiApi::Alsa}, true, "out create jack RtMidi Output Client"},
        {{MidiApi::Alsa, MidiApi::Jack}, false, nullptr},
    };
    for (const Case& c : cases) {
        mMidi = std::make_shared<FakeMidiState>();
        mMidi->failingApis = c.failing;
        MakeHost();
        EXPECT_EQ(mHost->CreateMidiPorts(), c.created);
        EXPECT_EQ(mHost->HasMidiObjects(), c.created);
        EXPECT_EQ(mHost->MidiOutput() != nullptr, c.created);
        if (c.landsOn) {
            EXPECT_TRUE(mMidi->Called(c.landsOn));
            EXPECT_TRUE(mMidi->Called("in ignore 010")) << "SysEx and sensing pass, timing not";
        }
    }
}

TEST(PortMatch, ExactThenWithoutClientNumbersAndOnlyWhenUnique) {
    const std::vector<std::string> ports = {"Midi Through:Midi Through Port-0 14:0",
                                            "devsim-out:midi_out", "Pedal:Pedal MIDI 1 28:0",
                                            "Twin 20:0", "Twin 21:0"};
    struct Case {
        MidiDirection direction;
        const char* name;
        int index;
        const char* liveName;
    };
    const Case cases[] = {
        {MidiDirection::Input, "off", 0, ""},
        {MidiDirection::Input, "virtual input", 1, ""},
        {MidiDirection::Output, "virtual output", 1, ""},
        {MidiDirection::Output, "virtual input", -1, ""},
        {MidiDirection::Input, "devsim-out:midi_out", 3, ""},
        {MidiDirection::Input, "Pedal:Pedal MIDI 1 28:0", 4, ""},
        {MidiDirection::Input, "Pedal:Pedal MIDI 1 24:0", 4, "Pedal:Pedal MIDI 1 28:0"},
        {MidiDirection::Input, "Twin 20:0", 5, ""},
        {MidiDirection::Input, "Twin 22:0", -1, ""},
        {MidiDirection::Input, "pedal:pedal midi 1 28:0", -1, ""},
        {MidiDirection::Input, "DEVSIM-OUT:midi_out", -1, ""},
        {MidiDirection::Input, "Unknown", -1, ""},
    };
    for (const Case& c : cases) {
        const PortMatch match = FindMidiPort(c.direction, c.name, ports);
        EXPECT_EQ(match.index, c.index) << c.name;
        EXPECT_EQ(match.liveName, c.liveName) << c.name;
    }
}

TEST_F(HostMidiTest, OpeningByNameOpensClosesOrSwitchesOff) {
    struct Case {
        MidiDirection direction;
        std::string name;
        const char* throwing; // a call of the fake that fails
        bool result;
        const char* call; // the opening call expected, or "" for none
        std::string stored;
        bool outputOpen;
    };
    const Case cases[] = {
        {MidiDirection::Input, "off", nullptr, true, "", "off", false},
        {MidiDirection::Input, "virtual input", nullptr, true, "in virtual To OmnarControl",
         "virtual input", false},
        {MidiDirection::Output, "virtual output", nullptr, true, "out virtual From OmnarControl",
         "virtual output", true},
        {MidiDirection::Input, "B 16:0", nullptr, true, "in open 1 RtMidi Input", "B 16:0", false},
        {MidiDirection::Input, "B 20:0", nullptr, true, "in open 1 RtMidi Input", "B 16:0", false},
        {MidiDirection::Output, "A", nullptr, true, "out open 0 RtMidi Output", "A", true},
        {MidiDirection::Output, "gone", nullptr, true, "", "gone", false},
        {MidiDirection::Output, "A", "out open", false, "out open 0 RtMidi Output", "A", false},
        {MidiDirection::Output, "A", "out close", true, "out open 0 RtMidi Output", "A", true},
        {MidiDirection::Input, "B 16:0", "in count", true, "", "B 16:0", false},
        {MidiDirection::Input, "no input", nullptr, true, "", "off", false},
    };
    for (const Case& c : cases) {
        mMidi = std::make_shared<FakeMidiState>();
        mMidi->inputPorts = {"A", "B 16:0"};
        mMidi->outputPorts = {"A", "B 16:0"};
        ASSERT_TRUE(MakeHost().StartUp());
        if (c.throwing)
            mMidi->throwingCalls.insert(c.throwing);
        mMidi->calls.clear();
        const bool input = c.direction == MidiDirection::Input;
        (input ? mHost->Settings().midiInput : mHost->Settings().midiOutput) = c.name;
        EXPECT_EQ(mHost->OpenMidiPortByName(c.direction, c.name), c.result) << c.name;
        EXPECT_TRUE(mMidi->Called(input ? "in close" : "out close")) << c.name;
        if (*c.call) {
            EXPECT_TRUE(mMidi->Called(c.call)) << c.name;
        } else {
            EXPECT_EQ(mMidi->calls.size(), 2u) << c.name << ": count and close only";
        }
        EXPECT_EQ(input ? mHost->Settings().midiInput : mHost->Settings().midiOutput, c.stored)
            << c.name;
        if (c.stored != c.name) {
            const HostSettings saved = ReadHostSettings(SettingsPath());
            EXPECT_EQ(input ? saved.midiInput : saved.midiOutput, c.stored) << c.name;
        }
        EXPECT_EQ(mHost->MidiOutput()->IsPortOpen(), c.outputOpen) << c.name;
    }
}

// The pedal absent at the start, plugged in, unplugged and plugged back: the
// stored names never change, and each direction follows its port.
TEST_F(HostMidiTest, StoredPortsSurviveTheirAbsenceAndAreReopenedWhenListedAgain) {
    WriteSettings("[midi]\nindev=Pedal Out\noutdev=Pedal In\n");
    mMidi->inputPorts = {"Synth"};
    mMidi->outputPorts = {"Synth"};
    ASSERT_TRUE(MakeHost().StartUp());
    const std::string written = SettingsText();
    struct Step {
        const char* what;
        std::vector<std::string> ports; // both directions
        const char* throwing;
        bool lost;
        std::vector<std::string> calls; // the opening and closing calls, in order
    };
    const Step steps[] = {
        {"absent at the start", {"Synth"}, nullptr, false, {}},
        {"plugged in",
         {"Synth", "Pedal Out", "Pedal In"},
         nullptr,
         false,
         {"in close", "in open 1 RtMidi Input", "out close", "out open 2 RtMidi Output"}},
        {"still there", {"Pedal In", "Pedal Out", "Synth"}, nullptr, false, {}},
        {"an input listing that fails", {"Pedal In", "Pedal Out"}, "in count", false, {}},
        {"nothing listed at all: the MIDI system itself gone", {}, nullptr, false, {}},
        // Reported, nothing touched: the MIDI system may be going away too.
        {"unplugged", {"Synth"}, nullptr, true, {}},
        {"still away", {"Synth"}, nullptr, false, {}},
        // Fresh objects (the old ones closed), then both ports opened.
        {"plugged back",
         {"Pedal In", "Pedal Out"},
         nullptr,
         false,
         {"in close", "out close", "in close", "in open 1 RtMidi Input", "out close",
          "out open 0 RtMidi Output"}},
    };
    EXPECT_FALSE(mHost->MidiOutput()->IsPortOpen());
    for (const Step& s : steps) {
        mMidi->inputPorts = mMidi->outputPorts = s.ports;
        mMidi->throwingCalls.clear();
        if (s.throwing)
            mMidi->throwingCalls.insert(s.throwing);
        mMidi->calls.clear();
        EXPECT_EQ(mHost->RefindMidiPorts(), s.lost) << s.what;
        std::vector<std::string> calls;
        for (const std::string& call : mMidi->calls)
            if (call.find("open") != std::string::npos || call.find("close") != std::string::npos)
                calls.push_back(call);
        EXPECT_EQ(calls, s.calls) << s.what;
        EXPECT_EQ(mHost->Settings().midiInput, "Pedal Out") << s.what;
        EXPECT_EQ(mHost->Settings().midiOutput, "Pedal In") << s.what;
        EXPECT_EQ(SettingsText(), written) << s.what << ": settings.ini is not rewritten";
    }
    EXPECT_TRUE(mHost->MidiOutput()->IsPortOpen());
    mHost.reset();
    EXPECT_EQ(SettingsText(), written) << "quitting keeps the names too";
}

TEST_F(HostMidiTest, PortsAreChosenOnlyWhenBothDirectionsNameOne) {
    struct Case {
        const char* settings;
        bool chosen;
    };
    const Case cases[] = {
        {"", false},
        {"[midi]\nindev=off\noutdev=off\n", false},
        {"[midi]\nindev=Pedal\n", false},
        {"[midi]\nindev=Pedal\noutdev=Pedal\n", true},
        {"[midi]\nindev=virtual input\noutdev=virtual output\n", true},
    };
    for (const Case& c : cases) {
        WriteSettings(c.settings);
        ASSERT_TRUE(MakeHost().StartUp());
        EXPECT_EQ(mHost->HasMidiPortsChosen(), c.chosen) << c.settings;
        mHost.reset();
        std::filesystem::remove(SettingsPath());
    }
}

TEST_F(HostMidiTest, WithoutMidiObjectsOpeningChangesNothing) {
    mMidi->failingApis = {MidiApi::Alsa, MidiApi::Jack};
    WriteSettings("[midi]\nindev=A\n");
    ASSERT_TRUE(MakeHost().StartUp());
    EXPECT_FALSE(mHost->OpenMidiPortByName(MidiDirection::Input, "A"));
    EXPECT_EQ(mHost->Settings().midiInput, "A");
    EXPECT_TRUE(mHost->MidiInputNames().empty());
    EXPECT_EQ(mHost->MidiOutput(), nullptr);
    EXPECT_FALSE(mHost->Plugin().SendSysEx({0, 3, std::array<uint8_t, 3>{0xF0, 1, 0xF7}.data()}));
}

TEST_F(HostMidiTest, ListsOffVirtualThenEveryPort) {
    mMidi->inputPorts = {"A"};
    mMidi->outputPorts = {"B", "C"};
    ASSERT_TRUE(MakeHost().StartUp());
    EXPECT_EQ(mHost->MidiInputNames(), (std::vector<std::string>{"off", "virtual input", "A"}));
    EXPECT_EQ(mHost->MidiOutputNames(),
              (std::vector<std::string>{"off", "virtual output", "B", "C"}));
}

// Each listing asks the server once per port: a start lists each direction
// once and opens the stored ports from those lists.
TEST_F(HostMidiTest, AStartListsEachDirectionOnceAndOpensFromThatList) {
    mMidi->inputPorts = {"X", "Pedal Out"};
    mMidi->outputPorts = {"Pedal In"};
    WriteSettings("[midi]\nindev=Pedal Out\noutdev=Pedal In\n");
    ASSERT_TRUE(MakeHost().StartUp());
    const auto times = [&](const char* call) {
        const std::lock_guard lock(mMidi->mutex);
        return std::count(mMidi->calls.begin(), mMidi->calls.end(), call);
    };
    EXPECT_EQ(times("in count"), 1);
    EXPECT_EQ(times("out count"), 1);
    EXPECT_TRUE(mMidi->Called("in open 1 RtMidi Input"));
    EXPECT_TRUE(mMidi->Called("out open 0 RtMidi Output"));
}

TEST_F(HostMidiTest, InputCallbackQueuesShortMessagesAndSysExUpTo512Bytes) {
    struct Case {
        size_t size;
        const char* queued; // "midi", "sysex" or "" for dropped
    };
    const Case cases[] = {{0, ""},      {2, "midi"},    {3, "midi"},
                          {4, "sysex"}, {512, "sysex"}, {513, ""}};
    MakeHost();
    ASSERT_TRUE(mHost->CreateMidiPorts());
    for (const Case& c : cases) {
        std::vector<uint8_t> message(c.size, 0x11);
        if (!message.empty())
            message.front() = c.size > 3 ? 0xF0 : 0x90;
        mMidiSystem->lastInput->Deliver(message);
        Product().Tick();
        const std::string queued = !Product().midi.empty()    ? "midi"
                                   : !Product().sysex.empty() ? "sysex"
                                                              : "";
        EXPECT_EQ(queued, c.queued) << c.size;
        if (queued == "midi") {
            EXPECT_EQ(Product().midi[0].status, 0x90);
            EXPECT_EQ(Product().midi[0].data1, 0x11);
            EXPECT_EQ(Product().midi[0].data2, c.size == 3 ? 0x11 : 0) << c.size;
        }
        if (queued == "sysex") {
            EXPECT_EQ(Product().sysex[0], message);
        }
        Product().midi.clear();
        Product().sysex.clear();
    }
}

TEST_F(HostMidiTest, SendsReachTheOpenOutputOnly) {
    mMidi->outputPorts = {"A"};
    WriteSettings("[midi]\noutdev=A\n");
    ASSERT_TRUE(MakeHost().StartUp());
    const uint8_t bytes[] = {0xF0, 0x01, 0xF7};
    EXPECT_TRUE(mHost->Plugin().SendSysEx({0, 3, bytes}));
    mMidi->throwingCalls.insert("out send");
    EXPECT_FALSE(mHost->Plugin().SendSysEx({0, 3, bytes})) << "a library failure is a failed send";
    mMidi->throwingCalls.clear();
    ASSERT_TRUE(mHost->OpenMidiPortByName(MidiDirection::Output, "off"));
    EXPECT_FALSE(mHost->Plugin().SendSysEx({0, 3, bytes}));
    EXPECT_EQ(mMidi->sent.size(), 1u);
}

TEST_F(HostMidiTest, DestructionStopsInputBeforeClosingPortsAndDeletesThePluginLast) {
    mMidi->inputPorts = {"A"};
    mMidi->outputPorts = {"A"};
    WriteSettings("[midi]\nindev=A\noutdev=A\n");
    ASSERT_TRUE(MakeHost().StartUp());
    ASSERT_TRUE(mHost->ApplyAudioSettings());
    mMidi->calls.clear();
    mHost.reset();
    EXPECT_EQ(mMidi->calls, (std::vector<std::string>{"in cancel", "out close", "in close"}));
    const auto calls = mAudio->Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "stop");
    EXPECT_EQ(calls.back(), "close");
}
