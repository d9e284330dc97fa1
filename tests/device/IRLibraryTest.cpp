#include "device/IRSlotImage.h"
#include "device/Packing.h"
#include "device/WavReader.h"
#include "tests/device/LibraryFixtures.h"
#include "tests/devsim/GoldenVectors.h"
#include "tests/devsim/SimState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace {

using namespace omnar::test;

constexpr int kUserIRParamA = 40;
constexpr int kIRNumberHighB = 55;
constexpr int kIRNumberLowB = 56;

std::string Numbered(const std::string& folder, int number) {
    char name[16];
    std::snprintf(name, sizeof name, "%03d.dat", number);
    return folder + name;
}

// A slot image whose sample 10 is level; all other samples silent.
Bytes MarkedIR(const std::string& name, double level) {
    std::array<double, 1200> samples{};
    samples[10] = level;
    const omnar::IRImageBytes image = omnar::BuildIRImage(samples, omnar::PaddedName(name), 0.5);
    return Bytes(image.begin(), image.end());
}

// Factory IR k's marker: exact in 16 bits.
double FactoryLevel(int k) {
    return (k + 1) * 1024 / 32768.0;
}

class IRLibraryTest : public ::testing::Test {
protected:
    IRLibraryTest() {
        // Asking for a folder makes it.
        editor.UserIRFileExists(0);
        editor.FactoryIRFileExists(0);
        editor.OpenPanel();
    }
    std::string Wav(const std::string& name, const Bytes& bytes) {
        const std::string path = home.Folder() + "/" + name;
        WriteFile(path, bytes);
        return path;
    }
    void InstallMarkedFactoryIRs() {
        for (int k = 0; k < 8; ++k)
            WriteFile(Numbered(home.FactoryIRFolder(), k + 1),
                      MarkedIR("Factory " + std::to_string(k), FactoryLevel(k)));
    }

    TempDataHome home;
    vx::test::FakeHost host;
    LibraryEditor editor{vx::InstanceInfo{&host}};
};

TEST_F(IRLibraryTest, WavDecodingOfEveryFormat) {
    const std::vector<double> mono = {0.0, 0.5, -0.5, 0.25, -1.0};
    struct Case {
        const char* what;
        WavSpec spec;
        double tolerance;
    };
    const auto stereo = [&] {
        std::vector<double> s;
        for (const double x : mono) {
            s.push_back(x);
            s.push_back(0.75); // the second channel is dropped
        }
        return s;
    }();
    const Case cases[] = {
        {"8-bit", {1, 1, 44100, 8, mono}, 1.0 / 128},
        {"16-bit", {1, 1, 44100, 16, mono}, 1.0 / 32767},
        {"24-bit", {1, 1, 44100, 24, mono}, 1e-6},
        {"32-bit integer", {1, 1, 44100, 32, mono}, 1e-9},
        {"32-bit float", {3, 1, 44100, 32, mono}, 1e-7},
        {"16-bit stereo", {1, 2, 44100, 16, stereo}, 1.0 / 32767},
        {"24-bit stereo", {1, 2, 44100, 24, stereo}, 1e-6},
        {"extensible 16-bit", {0xFFFE, 1, 44100, 16, mono, 1}, 1.0 / 32767},
        {"extensible 24-bit", {0xFFFE, 1, 44100, 24, mono, 1}, 1e-6},
        {"extensible 32-bit integer", {0xFFFE, 1, 44100, 32, mono, 1}, 1e-9},
        {"extensible 32-bit float", {0xFFFE, 1, 44100, 32, mono, 3}, 1e-7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::fill(editor.mIRSamples.begin(), editor.mIRSamples.end(), 9.0);
        ASSERT_TRUE(editor.ReadWavFile(VxString(Wav("in.wav", WavBytes(c.spec)).c_str())));
        for (std::size_t i = 0; i < mono.size(); ++i)
            EXPECT_NEAR(editor.mIRSamples[i], mono[i], c.tolerance) << i;
        EXPECT_EQ(editor.mIRSamples[mono.size()], 0.0);
        EXPECT_EQ(editor.mIRSamples[4095], 0.0);
    }
    // 8-bit silence is exactly silent.
    ASSERT_TRUE(
        editor.ReadWavFile(VxString(Wav("s.wav", WavBytes({1, 1, 44100, 8, {0.0}})).c_str())));
    EXPECT_EQ(editor.mIRSamples[0], 0.0);
}

TEST_F(IRLibraryTest, WavResamplingToTheDisplayRate) {
    WavSpec spec{1, 1, 48000, 16, {}};
    for (int i = 0; i < 4800; ++i)
        spec.samples.push_back((i % 100) / 128.0);
    const Bytes bytes = WavBytes(spec);
    MemoryByteSource source(bytes);
    std::vector<double> out(4096);
    const auto decoded = omnar::ReadWav(source, 44100.0, out);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->outputLength, 4410);
    // Output 1 sits at source position 48000 / 44100 between samples 1 and 2.
    const double m = 48000.0 / 44100.0;
    EXPECT_NEAR(out[1], (1 + (m - 1)) / 128.0, 1e-4);

    // The last output of a short file leans on the last sample, not past it.
    spec.samples = {0.5, 0.5, 0.5};
    spec.sampleRate = 22050;
    const Bytes shortBytes = WavBytes(spec);
    MemoryByteSource shortSource(shortBytes);
    ASSERT_TRUE(omnar::ReadWav(shortSource, 44100.0, out));
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(out[std::size_t(i)], 0.5, 1e-4) << i;
    EXPECT_EQ(out[6], 0.0);
}

TEST_F(IRLibraryTest, MalformedWavFilesLoadNothing) {
    const Bytes pcm = {0x00, 0x10, 0x00, 0x20};
    const Bytes good16 = FmtBody(1, 1, 44100, 2, 16);
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes notRiff = WavBytes({1, 1, 44100, 16, {0.5}});
    notRiff[0] = 'X';
    Bytes notWave = notRiff;
    notWave[0] = 'R';
    notWave[8] = 'X';
    const Case cases[] = {
        {"empty", {}},
        {"not RIFF", notRiff},
        {"not WAVE", notWave},
        {"no fmt chunk", RiffBytes({{"data", 4, pcm}})},
        {"no data chunk", RiffBytes({{"fmt ", 16, good16}})},
        {"fmt chunk too short",
         RiffBytes({{"fmt ", 12, Bytes(good16.begin(), good16.begin() + 12)}, {"data", 4, pcm}})},
        {"block align 0", RiffBytes({{"fmt ", 16, FmtBody(1, 1, 44100, 0, 16)}, {"data", 4, pcm}})},
        {"block align below a frame",
         RiffBytes({{"fmt ", 16, FmtBody(1, 2, 44100, 2, 16)}, {"data", 4, pcm}})},
        {"zero channels", RiffBytes({{"fmt ", 16, FmtBody(1, 0, 44100, 2, 16)}, {"data", 4, pcm}})},
        {"12 bits", RiffBytes({{"fmt ", 16, FmtBody(1, 1, 44100, 2, 12)}, {"data", 4, pcm}})},
        {"rate 0", RiffBytes({{"fmt ", 16, FmtBody(1, 1, 0, 2, 16)}, {"data", 4, pcm}})},
        {"data shorter than a frame",
         RiffBytes({{"fmt ", 16, FmtBody(1, 1, 44100, 4, 16)}, {"data", 2, {1, 2}}})},
        {"a chunk size running past the end", RiffBytes({{"LIST", 0xFFFFFFF0u, {1, 2, 3}}})},
        {"extensible with an A-law sub-format",
         RiffBytes({{"fmt ", 40, ExtensibleFmtBody(1, 44100, 2, 16, 6)}, {"data", 4, pcm}})},
        {"extensible fmt chunk shorter than 40 bytes",
         RiffBytes({{"fmt ", 18, [&] {
                         Bytes body = FmtBody(0xFFFE, 1, 44100, 2, 16);
                         body.insert(body.end(), {0, 0});
                         return body;
                     }()},
                    {"data", 4, pcm}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::fill(editor.mIRSamples.begin(), editor.mIRSamples.end(), 0.125);
        EXPECT_FALSE(editor.ReadWavFile(VxString(Wav("bad.wav", c.bytes).c_str())));
        EXPECT_EQ(editor.mIRSamples[0], 0.125);
        EXPECT_EQ(editor.mIRSamples[4095], 0.125);
    }
    EXPECT_FALSE(editor.ReadWavFile(VxString("")));
    EXPECT_FALSE(editor.ReadWavFile(VxString((home.Folder() + "/absent.wav").c_str())));
}

TEST_F(IRLibraryTest, WavChunksAreWalkedWithPaddingAndHugeSizesCostNothing) {
    // An odd-sized chunk before "fmt " carries a pad byte; a data size far
    // beyond the file decodes only what is there.
    const Bytes data = {0x00, 0x40, 0x00, 0xC0};
    Bytes bytes = RiffBytes({{"LIST", 3, {'a', 'b', 'c', 0}},
                             {"fmt ", 18,
                              [] {
                                  Bytes b = FmtBody(1, 1, 44100, 2, 16);
                                  b.push_back(0);
                                  b.push_back(0);
                                  return b;
                              }()},
                             {"data", 0x7FFFFFF0u, data}});
    ASSERT_TRUE(editor.ReadWavFile(VxString(Wav("odd.wav", bytes).c_str())));
    EXPECT_EQ(editor.mIRSamples[0], 0.5);
    EXPECT_EQ(editor.mIRSamples[1], -0.5);
    EXPECT_EQ(editor.mIRSamples[2], 0.0);
}

TEST_F(IRLibraryTest, SelectorBlendsNeighbouringPositions) {
    InstallMarkedFactoryIRs();
    WriteFile(Numbered(home.UserIRFolder(), 4), MarkedIR("User three", 0.75));
    editor.mUserIRNumberA = 3;
    editor.mApplyingValues = false;
    struct Case {
        int value;
        int userA; // parameter 40
        double sample0;
        double sample10;
    };
    const double f = FactoryLevel(0);
    const Case cases[] = {
        {0, 0, 1.0, 0.0},
        {1, 0, 1.0, 0.0},
        {2, 0, 0.9, 0.1 * f},
        {16, 0, 0.0, FactoryLevel(0)},
        {64, 0, 0.0, FactoryLevel(3)},
        {70, 0, 0.0, 0.6 * FactoryLevel(3) + 0.4 * FactoryLevel(4)},
        {112, 0, 0.0, FactoryLevel(6)},
        {112, 1, 0.0, 0.75},
        {127, 0, 0.0, FactoryLevel(7)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << " user A " << c.userA);
        editor.SetValue(kUserIRParamA, c.userA);
        editor.SelectIRSlot(c.value);
        EXPECT_NEAR(editor.mIRSamples[0], c.sample0, 1e-6);
        EXPECT_NEAR(editor.mIRSamples[10], c.sample10, 1e-6);
        EXPECT_EQ(editor.mIRSamples[2000], 0.0);
        const auto shown = editor.mIRDisplay->LastBlock();
        ASSERT_EQ(shown.size(), 4096u);
        EXPECT_TRUE(std::equal(shown.begin(), shown.end(), editor.mIRSamples.begin()));
    }
    EXPECT_TRUE(host.output->messages.empty()); // the display only: nothing goes to the pedal

    // A user position whose file is missing keeps the impulse.
    editor.mUserIRNumberA = 200;
    editor.SetValue(kUserIRParamA, 1);
    editor.SelectIRSlot(112);
    EXPECT_EQ(editor.mIRSamples[0], 1.0);
    EXPECT_EQ(editor.mIRSamples[10], 0.0);
}

TEST_F(IRLibraryTest, SelectorFallsBackToTheFactoryWavCopy) {
    WriteFile(home.FactoryIRFolder() + "01-Quorbel.wav", WavBytes({1, 1, 44100, 16, {0.0, 0.25}}));
    editor.SelectIRSlot(16);
    EXPECT_EQ(editor.mIRSamples[0], 0.0);
    EXPECT_NEAR(editor.mIRSamples[1], 0.25, 1e-4);
}

TEST_F(IRLibraryTest, SlotFilesOfTheWrongSizeLoadNothing) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{2435}, std::size_t{2437}}) {
        Bytes bytes = MarkedIR("Odd", 0.5);
        bytes.resize(size, 0);
        WriteFile(Numbered(home.UserIRFolder(), 1), bytes);
        editor.mIRGain = 0.25;
        editor.mIRSamples[10] = 0.125;
        editor.LoadUserIR(0);
        EXPECT_FALSE(editor.UserIRFileExists(0)) << size;
        EXPECT_EQ(editor.mIRGain, 0.25);
        EXPECT_EQ(editor.mIRSamples[10], 0.125);
    }
    WriteFile(Numbered(home.UserIRFolder(), 1), MarkedIR("Fine", 0.5));
    editor.LoadUserIR(0);
    EXPECT_TRUE(editor.UserIRFileExists(0));
    EXPECT_EQ(editor.mIRGain, 0.5);
    EXPECT_EQ(editor.mIRSamples[10], 0.5);
}

TEST_F(IRLibraryTest, NamesOfUserAndFactoryIRs) {
    WriteFile(Numbered(home.UserIRFolder(), 1), MarkedIR("Fridge 8x10", 0.5));
    for (const int n : {0, 5, 37}) {
        editor.BuildIRNameList(n);
        editor.ShowUserIRName(n);
    }
    EXPECT_STREQ(editor.mIRNames[0].data(), "Fridge 8x10");
    EXPECT_STREQ(editor.mIRNames[5].data(), "Empty Slot 6");
    EXPECT_STREQ(editor.mIRNames[37].data(), "Empty Slot 6");
    EXPECT_EQ(editor.TagText(74), "Fridge 8x10");
    EXPECT_EQ(editor.TagText(75), "Empty Slot 6");

    WriteFile(Numbered(home.FactoryIRFolder(), 3), MarkedIR("Renamed", 0.5));
    editor.LoadFactoryIRName(2);
    editor.LoadFactoryIRName(5); // no file: the built-in name stays
    EXPECT_EQ(editor.mFactoryIRNames[3], "Renamed");
    EXPECT_EQ(editor.mFactoryIRNames[6], "Brel 4x10");
}

TEST_F(IRLibraryTest, SilentBlankIRPacksLikeTheDevicesBlankImage) {
    std::fill(editor.mIRSamples.begin(), editor.mIRSamples.end(), 0.0);
    struct Case {
        bool connected;
        bool firmwarePrepared;
        bool armed;
    };
    for (const Case c :
         {Case{false, false, false}, Case{true, false, true}, Case{true, true, false}}) {
        SCOPED_TRACE(testing::Message() << c.connected << c.firmwarePrepared);
        editor.mConnected = c.connected;
        editor.mFirmwarePrepared = c.firmwarePrepared;
        editor.mIRUploadSending = false;
        editor.mTransferSize = 0;
        LibraryEditor::Name name{};
        std::fill_n(name.begin(), 32, ' ');
        editor.NormalizeAndPackIR(name, 7, true);

        // The library takes the image only once the pedal has it.
        const devsim::IRImage blank = devsim::BlankIRImage();
        EXPECT_FALSE(FileExists(Numbered(home.UserIRFolder(), 8)));
        EXPECT_EQ(editor.mStagedIRImage, c.armed
                                             ? std::vector<std::uint8_t>(blank.begin(), blank.end())
                                             : std::vector<std::uint8_t>{});
        EXPECT_EQ(editor.mIRGain, 1.0);
        EXPECT_STREQ(name.data(), "");
        EXPECT_EQ(editor.mIRUploadSending, c.armed);
        if (c.firmwarePrepared) {
            EXPECT_EQ(editor.mTransferSize, 0);
            continue;
        }
        EXPECT_EQ(editor.mTransferSize, 2785);
        EXPECT_EQ(editor.mTransferRemaining, 2785);
        EXPECT_EQ(editor.mTransferPos, 0);
        EXPECT_EQ(editor.mTransferCheckHi, golden::kBlankIRTransferCheck[0]);
        EXPECT_EQ(editor.mTransferCheckLo, golden::kBlankIRTransferCheck[1]);
        const auto packed = omnar::Pack8To7(blank);
        EXPECT_TRUE(std::equal(packed.begin(), packed.end(), editor.mTransferBuffer.begin()));
        EXPECT_EQ(editor.mTransferBuffer[2785], 0);
    }
}

TEST_F(IRLibraryTest, TinyEnergyGetsFullGainAndLoudIRsAreScaled) {
    std::fill(editor.mIRSamples.begin(), editor.mIRSamples.end(), 0.0);
    editor.mIRSamples[0] = 1e-6;
    LibraryEditor::Name name{};
    std::fill_n(name.begin(), 32, ' ');
    editor.NormalizeAndPackIR(name, 1, false);
    const Bytes file = ReadFile(Numbered(home.UserIRFolder(), 2));
    ASSERT_EQ(file.size(), 2436u);
    EXPECT_EQ(file[2] | file[3] << 8, 0x8000);
    editor.LoadUserIR(1);
    EXPECT_EQ(editor.mIRGain, 1.0);

    editor.mIRSamples[0] = 1.0;
    editor.mIRSamples[1] = 1.0;
    editor.NormalizeAndPackIR(name, 1, false);
    EXPECT_DOUBLE_EQ(editor.mIRGain, 0.6); // 1.2 / (sqrt 2 x sqrt 2)
}

TEST_F(IRLibraryTest, WavImportThroughTheFileDialog) {
    WavSpec spec{1, 1, 44100, 16, {0.5, -0.25}};
    const std::string path = Wav("My Cab.WAV", WavBytes(spec));
    editor.mIRUploadSlot = 5;
    editor.mUserIRFocusA = true;
    editor.mConnected = true;
    editor.mIRImportBusy = true;
    editor.Panel().fileDialogAnswers.push_back(path);
    editor.LoadWavIR();

    EXPECT_EQ(editor.Panel().CallsStartingWith("RunFileDialog"),
              std::vector<std::string>{"RunFileDialog 0 wav"});
    EXPECT_EQ(editor.mLastWavPath, path);
    // Staged for the library until the pedal takes it.
    EXPECT_FALSE(FileExists(Numbered(home.UserIRFolder(), 6)));
    const Bytes file = editor.mStagedIRImage;
    ASSERT_EQ(file.size(), 2436u);
    EXPECT_EQ(std::string(file.begin() + 4, file.begin() + 36), "My Cab" + std::string(26, ' '));
    EXPECT_STREQ(editor.mIRNames[5].data(), "My Cab");
    EXPECT_EQ(editor.TagText(74), "My Cab");
    EXPECT_STREQ(editor.mIRListRows[5]->GetString(), "My Cab");
    EXPECT_TRUE(editor.mIRUploadSending);
    EXPECT_FALSE(editor.mIRImportBusy);

    // A file that is no WAV: told so; the slot and the upload stay as they were.
    editor.mIRUploadSending = false;
    editor.mTransferSize = 0;
    editor.mIRImportBusy = true;
    editor.Panel().fileDialogAnswers.push_back(Wav("Broken.wav", {'R', 'I', 'F', 'F'}));
    editor.LoadWavIR();
    EXPECT_EQ(editor.Panel().CallsStartingWith("RunMessageBox"),
              std::vector<std::string>{"RunMessageBox Unknown file format. ERROR! 0"});
    EXPECT_EQ(editor.mStagedIRImage, file);
    EXPECT_FALSE(editor.mIRUploadSending);
    EXPECT_EQ(editor.mTransferSize, 0);
    EXPECT_FALSE(editor.mIRImportBusy);

    // Cancelled: nothing happens but the busy flag clears.
    editor.mIRImportBusy = true;
    editor.LoadWavIR();
    EXPECT_FALSE(editor.mIRImportBusy);
    EXPECT_EQ(editor.mLastWavPath, home.Folder() + "/Broken.wav");
}

TEST(IRNameFromPath, StripsOnlyAFinalWavAndCutsTo32) {
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"/a/My Cab.wav", "My Cab"},
        {"/a/b.c/Loud.WaV", "Loud"},
        {"x.wav.bak", "x.wav.bak"},
        {"/a/ab", "ab"},
        {"/a/.wav", ""},
        {"/a/wav", "wav"},
        {"/a/An impulse response with a very long name.wav", "An impulse response with a very "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(omnar::IRNameFromPath(c.path), c.name) << c.path;
}

TEST_F(IRLibraryTest, FactoryWavsAreCopiedWhenMissingAndNeverReplaced) {
    vx::test::TempImageFolder resources;
    mkdir((resources.Folder() + "/irs").c_str(), 0700);
    const char* names[] = {"01-Quorbel",     "02-Hinglow",   "03-KL 8x10",  "04-Dunmo 2x15",
                           "05-Ovaten 2x15", "06-Brel 4x10", "07-Tirn 12L", "08-Isle V30"};
    for (int i = 0; i < 8; ++i)
        if (i != 6) // one resource is missing
            resources.AddFile(std::string("irs/") + names[i] + ".wav", std::string(100 + i, 'w'));
    // The first is there already, from an earlier run; a later one was lost.
    WriteFile(home.FactoryIRFolder() + "01-Quorbel.wav", {'o', 'l', 'd'});

    editor.InstallFactoryIRs(resources.Folder() + "/");
    EXPECT_EQ(ReadFile(home.FactoryIRFolder() + "01-Quorbel.wav"), (Bytes{'o', 'l', 'd'}));
    for (int i = 1; i < 8; ++i) {
        const std::string target = home.FactoryIRFolder() + names[i] + ".wav";
        if (i == 6)
            EXPECT_FALSE(FileExists(target));
        else
            EXPECT_EQ(ReadFile(target).size(), std::size_t(100 + i)) << names[i];
    }
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e :
         std::filesystem::directory_iterator(home.FactoryIRFolder()))
        ++entries;
    EXPECT_EQ(entries, 7u); // no temporary left behind
}

TEST_F(IRLibraryTest, PresetFileIRGoesToUserPositionB) {
    const Bytes image = MarkedIR("From preset", 0.25);
    struct Case {
        std::size_t size;
        std::size_t offset; // 0: nothing uploaded
    };
    for (const Case c : {Case{2698, 262}, Case{5134, 2698}, Case{5000, 0}}) {
        SCOPED_TRACE(c.size);
        Bytes file(c.size, 0);
        if (c.offset)
            std::copy(image.begin(), image.end(), file.begin() + std::ptrdiff_t(c.offset));
        const std::string path = home.Folder() + "/p.z3p";
        WriteFile(path, file);
        editor.SetValue(kIRNumberHighB, 1);
        editor.SetValue(kIRNumberLowB, 2);
        unlink(Numbered(home.UserIRFolder(), 131).c_str());
        editor.mTransferSize = 0;
        editor.mConnected = true;
        editor.ReadPresetFileIR(VxString(path.c_str()));
        if (!c.offset) {
            EXPECT_EQ(editor.mTransferSize, 0);
            continue;
        }
        EXPECT_EQ(editor.mIRUploadSlot, 130);
        EXPECT_EQ(editor.mTransferSize, 2785);
        EXPECT_FALSE(FileExists(Numbered(home.UserIRFolder(), 131)));
        const Bytes stored = editor.mStagedIRImage;
        ASSERT_EQ(stored.size(), 2436u);
        EXPECT_EQ(std::string(stored.begin() + 4, stored.begin() + 36),
                  "From preset" + std::string(21, ' '));
        EXPECT_EQ(stored[36 + 20], image[36 + 20]);
    }
}

} // namespace
