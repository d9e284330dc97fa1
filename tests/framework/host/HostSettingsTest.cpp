// settings.ini: first start, missing and bad values, long names, a file or
// folder the host cannot use.
#include "tests/framework/host/HostFixtures.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/inotify.h>
#include <unistd.h>

using namespace host;
using namespace host::test;

namespace {

// "key=value" lines under their "[section]" headers, in file order.
std::vector<std::string> KeyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[')
            section = line;
        else if (!line.empty())
            lines.push_back(section + line);
    }
    return lines;
}

} // namespace

using HostSettingsTest = HostTest;

TEST_F(HostSettingsTest, FirstStartMakesTheFolderAndWritesTheThirteenDefaults) {
    ASSERT_FALSE(std::filesystem::exists(SettingsPath()));
    ASSERT_TRUE(MakeHost().StartUp());
    // The profile writer keeps keys sorted; what counts is that all thirteen are there.
    auto lines = KeyLines(SettingsText());
    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "[audio]buffer=512", "[audio]driver=0", "[audio]in1=1", "[audio]in2=2",
                         "[audio]indev=Built-in Input", "[audio]out1=1", "[audio]out2=2",
                         "[audio]outdev=Built-in Output", "[audio]sr=44100", "[midi]inchan=0",
                         "[midi]indev=off", "[midi]outchan=0", "[midi]outdev=off"}));
    EXPECT_EQ(
        std::filesystem::status(std::filesystem::path(SettingsPath()).parent_path()).permissions() &
            std::filesystem::perms::all,
        std::filesystem::perms::owner_all);
    // The default output device replaces the built-in one, and is kept.
    ASSERT_TRUE(mHost->ApplyAudioSettings());
    EXPECT_NE(SettingsText().find("outdev=Speakers"), std::string::npos) << SettingsText();
}

TEST_F(HostSettingsTest, NoMidiSectionSwitchesBothPortsOffAndRewrites) {
    WriteSettings("[audio]\ndriver=0\nbuffer=256\n");
    mMidi->inputPorts = {"A"};
    ASSERT_TRUE(MakeHost().StartUp());
    EXPECT_EQ(mHost->Settings().midiInput, "off");
    EXPECT_EQ(mHost->Settings().midiOutput, "off");
    EXPECT_EQ(mHost->Settings().bufferFrames, 256);
    const auto lines = KeyLines(SettingsText());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[midi]indev=off"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[midi]outdev=off"), lines.end());
}

TEST_F(HostSettingsTest, BadValuesTakeTheReaderDefaults) {
    struct Case {
        const char* line;
        int32_t HostSettings::*field;
        int32_t expected;
    };
    const Case cases[] = {
        {"[audio]\nbuffer=abc", &HostSettings::bufferFrames, 512},
        {"[audio]\nbuffer=12x", &HostSettings::bufferFrames, 512},
        {"[audio]\nbuffer=0", &HostSettings::bufferFrames, 512},
        {"[audio]\nbuffer=96", &HostSettings::bufferFrames, 96},
        {"[audio]\nsr=-44100", &HostSettings::sampleRate, 44100},
        {"[audio]\nsr=99999999999", &HostSettings::sampleRate, 44100},
        {"[audio]\nin1=0", &HostSettings::input1, 1},
        {"[audio]\nout2=-3", &HostSettings::output2, 2},
        {"[audio]\ndriver=2", &HostSettings::driver, 2},
        {"[midi]\ninchan=17", &HostSettings::midiInputChannel, 0},
        {"[midi]\ninchan=-1", &HostSettings::midiInputChannel, 0},
        {"[midi]\noutchan=16", &HostSettings::midiOutputChannel, 16},
    };
    for (const Case& c : cases) {
        WriteSettings(c.line);
        EXPECT_EQ(ReadHostSettings(SettingsPath()).*c.field, c.expected) << c.line;
    }
}

TEST_F(HostSettingsTest, LongPortNamesSurviveAStart) {
    const std::string name(300, 'p');
    WriteSettings("[midi]\nindev=" + name + "\noutdev=" + name + "\n");
    mMidi->inputPorts = {name};
    mMidi->outputPorts = {name};
    ASSERT_TRUE(MakeHost().StartUp());
    EXPECT_EQ(mHost->Settings().midiInput, name);
    EXPECT_TRUE(mMidi->Called("in open 0 RtMidi Input"));
    EXPECT_TRUE(mMidi->Called("out open 0 RtMidi Output"));
    EXPECT_NE(SettingsText().find("indev=" + name), std::string::npos);
}

// A carriage return inside a line reads as part of the value, but the writer
// refuses such a value: taken, it would fail every save from then on.
TEST_F(HostSettingsTest, AValueWithACarriageReturnInsideTakesTheDefaultAndTheSaveIsClean) {
    WriteSettings("[audio]\noutdev=Spea\rkers\n[midi]\nindev=A\rB\noutdev=C\n");
    mMidi->outputPorts = {"C"};
    const HostSettings read = ReadHostSettings(SettingsPath());
    EXPECT_EQ(read.audioOutput, "Built-in Output");
    EXPECT_EQ(read.midiInput, "no input");
    EXPECT_EQ(read.midiOutput, "C");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(MakeHost().StartUp());
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed.find("cannot write"), std::string::npos) << printed;
    const std::string text = SettingsText();
    EXPECT_EQ(text.find("Spea"), std::string::npos) << text;
    EXPECT_EQ(text.find("A\rB"), std::string::npos) << text;
    EXPECT_NE(text.find("outdev=C"), std::string::npos) << text;
    EXPECT_TRUE(WriteHostSettings(SettingsPath(), mHost->Settings()));
}

TEST_F(HostSettingsTest, ASettingsFileThatIsNoFileIsLeftAloneAndDefaultsStand) {
    std::filesystem::create_directories(SettingsPath());
    ASSERT_TRUE(MakeHost().StartUp());
    EXPECT_EQ(mHost->Settings(), HostSettings{});
    EXPECT_TRUE(std::filesystem::is_directory(SettingsPath()));
}

// Over 1 MiB it is no settings file of ours: defaults, and never written over.
TEST_F(HostSettingsTest, AFileOverOneMegabyteIsReadAsNoSettingsAndLeftAlone) {
    std::string text = "[audio]\nsr=48000\nbuffer=128\n[midi]\nindev=A\n[notes]\n";
    while (text.size() <= (1u << 20))
        text += "line=some text that makes the file large\n";
    WriteSettings(text);
    ASSERT_TRUE(MakeHost().StartUp());
    EXPECT_EQ(mHost->Settings(), HostSettings{});
    EXPECT_EQ(SettingsText(), text);
}

// A first start stores its thirteen keys in one rewrite of the file, not one a key.
TEST_F(HostSettingsTest, AStartRewritesTheFileOnce) {
    const std::filesystem::path folder = std::filesystem::path(SettingsPath()).parent_path();
    std::filesystem::create_directories(folder);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, folder.c_str(), IN_MOVED_TO), 0);
    ASSERT_TRUE(MakeHost().StartUp());
    EXPECT_EQ(KeyLines(SettingsText()).size(), 13u);
    int renames = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t got; (got = read(watch, events, sizeof events)) > 0;)
        for (char* at = events; at < events + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            renames += event->len > 0 && std::string(event->name) == "settings.ini";
            at += sizeof(inotify_event) + event->len;
        }
    close(watch);
    EXPECT_EQ(renames, 1);
}

TEST_F(HostSettingsTest, AFolderThatCannotBeMadeStopsStartUpBeforeAnyDevice) {
    const std::string blocker = mConfigHome + "/file";
    std::ofstream(blocker) << "x";
    setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    EXPECT_FALSE(MakeHost().StartUp());
    EXPECT_TRUE(mMidi->calls.empty());
    EXPECT_EQ(mAudio->Calls(), std::vector<std::string>{});
    EXPECT_FALSE(mHost->ApplyAudioSettings());
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"Error: " + std::string(StandaloneHost::kSoundcardMessage)});
}

TEST(HostSettingsCompare, AudioAndMidiEqualityEachLookAtTheirOwnFields) {
    HostSettings a, b;
    b.midiInput = "port";
    EXPECT_TRUE(AudioEqual(a, b));
    EXPECT_FALSE(MidiEqual(a, b));
    b = a;
    b.output2 = 3;
    EXPECT_FALSE(AudioEqual(a, b));
    EXPECT_TRUE(MidiEqual(a, b));
}
