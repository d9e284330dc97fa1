// The user's files through the program's own dialogs, against devsim: preset
// export and import, a WAV into user slot 7, a bank backed up and restored, a
// firmware update, and files the program must refuse.
#include "tests/devsim/SimSlotFiles.h"
#include "tests/devsim/SimState.h"
#include "tests/devsim/SimWire.h"
#include "tests/e2e/DeviceData.h"
#include "tests/e2e/UserActions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using devsim::Bytes;

constexpr auto kConnectWait = 15s;
constexpr auto kDialogWait = 10s;
constexpr auto kTransferWait = 120s;

// Panel points (units of the 1920 x 1200 panel) of the buttons used here.
constexpr std::pair<int, int> kPresetImport{72, 192};
constexpr std::pair<int, int> kPresetExport{192, 192};

// Preset exchange file: header size, offsets of the version, name and values.
constexpr std::size_t kExchangeHeader = 262;
constexpr std::size_t kExchangeName = 6;
constexpr std::size_t kExchangeValues = 38;
constexpr std::size_t kDumpSize = devsim::kDumpSize;

Bytes ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A preset exchange file without impulse responses.
Bytes ExchangeFile(const std::string& name, const devsim::PresetImage& preset, int major,
                   int minor) {
    Bytes file(kExchangeHeader, 0);
    std::copy_n("OMNP", 4, file.begin());
    file[4] = std::uint8_t(major);
    file[5] = std::uint8_t(minor);
    const auto field = devsim::TextField(name);
    std::copy(field.begin(), field.end(), file.begin() + kExchangeName);
    std::copy_n(preset.begin() + devsim::kPresetValuesOffset, devsim::kPresetValueCount,
                file.begin() + kExchangeValues);
    std::fill_n(file.begin() + 198, 64, ' ');
    return file;
}

Bytes PresetDump(int slot, const devsim::PresetImage& image) {
    return devsim::BuildDump(0x41, devsim::kProtocolVersion, std::uint8_t(slot),
                             devsim::ByteView(image.data(), image.size()));
}

devsim::PresetImage Renamed(devsim::PresetImage image, const std::string& name, int value0) {
    const auto field = devsim::TextField(name);
    std::copy(field.begin(), field.end(), image.begin() + devsim::kPresetNameOffset);
    image[devsim::kPresetValuesOffset] = std::uint8_t(value0);
    return image;
}

class FilesTest : public UserTest {
protected:
    fs::path LibraryRoot() const { return PresetsFolder().parent_path(); }
    fs::path StateDir() const { return mDir / "state"; }
    // Where the user keeps the files: the home folder the choosers start in.
    fs::path Files() const { return mHome->Home(); }

    // devsim's memory and the editor's library hold the same presets, so the
    // program starts without a slot sync.
    void SeedLibrary(const devsim::SimState& state) {
        ASSERT_EQ(devsim::SaveSlotFiles(StateDir(), state), "");
        ASSERT_EQ(devsim::SaveSlotFiles(LibraryRoot(), state), "");
    }

    // devsim and the program, seeded alike, until the editor has the current preset.
    void StartConnected(const devsim::SimState& state = devsim::FactoryState()) {
        ASSERT_NO_FATAL_FAILURE(SeedLibrary(state));
        ASSERT_NO_FATAL_FAILURE(StartDevice());
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(
            WaitUntil([&] { return Contains(Trace(), "PresetDump reply slot"); }, kConnectWait))
            << "the editor did not get the current preset within 15 s";
        EXPECT_FALSE(Contains(Trace(), "BulkBegin")) << "a seeded library still synced";
    }

    // Ctrl+Q, then devsim ended so that it writes its memory; what it wrote.
    devsim::SimState QuitAndReadDevice() {
        Keys("ctrl+q");
        EXPECT_EQ(WaitForExit(kExitWait), 0);
        EXPECT_TRUE(mSim->Stop(kExitWait).has_value()) << "devsim did not end on SIGTERM";
        devsim::SimState state = devsim::FactoryState();
        EXPECT_TRUE(devsim::LoadSlotFiles(StateDir(), state).empty());
        return state;
    }
};

// Scenario: the preset goes out to a file and a changed one comes back; a WAV
// becomes user IR 0 in slot 7 on both sides; a backup is changed in slot 5 and
// restored, and the editor syncs what the restore wrote.
TEST_F(FilesTest, PresetsImpulseResponsesAndBanksThroughTheFileDialogs) {
    const devsim::SimState factory = devsim::FactoryState();
    ASSERT_NO_FATAL_FAILURE(StartConnected(factory));

    // Export: the current preset's values under the file's name.
    const fs::path exported = Files() / "My Sound.z3p";
    fs::create_directories(Files());
    ClickPanel(kPresetExport);
    ASSERT_TRUE(ChooseFile(exported.string()));
    ASSERT_TRUE(
        WaitUntil([&] { return ReadBytes(exported).size() == kExchangeHeader; }, kDialogWait))
        << "no 262-byte preset file";
    const Bytes file = ReadBytes(exported);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 6), (Bytes{'O', 'M', 'N', 'P', 1, 0}));
    EXPECT_EQ(devsim::TrimmedField({file.data() + kExchangeName, 32}), "My Sound");
    const devsim::PresetImage& current = factory.presets[0];
    EXPECT_TRUE(std::equal(current.begin() + devsim::kPresetValuesOffset,
                           current.begin() + devsim::kPresetValuesOffset + 74,
                           file.begin() + kExchangeValues));

    // Import: the file's preset goes to the device's edit buffer under its name.
    const fs::path imported = Files() / "Imported.z3p";
    WriteBytes(imported, ExchangeFile("Warm Fuzz", Renamed(current, "", 99), 1, 0));
    std::size_t mark = Trace().size();
    ClickPanel(kPresetImport);
    ASSERT_TRUE(ChooseFile(imported.string()));
    EXPECT_TRUE(WaitForTrace(mark, "PresetDump (edit buffer) \"Warm Fuzz ", kDialogWait))
        << TraceSince(mark);
    Shot("imported");

    // A WAV into slot 7: MODE to the user response enables its IMPORT; the
    // response becomes user IR 0 (the current preset's) in the library and
    // on the device.
    const fs::path wav = Files() / "Test Cab.wav";
    WriteCabinetWav(wav, 3000);
    ASSERT_TRUE(ChooseSlot7UserResponse());
    mark = Trace().size();
    ClickPanel(kSlot7Import);
    ASSERT_TRUE(ChooseFile(wav.string()));
    ASSERT_TRUE(WaitForTrace(mark, "IR stored", kTransferWait)) << TraceSince(mark);
    EXPECT_TRUE(Contains(TraceSince(mark), "IRDump first IR 0, 2785 packed bytes"))
        << TraceSince(mark);
    // The library takes the image when the pedal's acceptance reaches the editor.
    Bytes slotFile;
    ASSERT_TRUE(WaitUntil(
        [&] {
            slotFile = ReadBytes(LibraryRoot() / "User IRs" / "001.dat");
            return slotFile.size() == devsim::kIRImageSize &&
                   devsim::TrimmedField({slotFile.data() + devsim::kIRNameOffset, 32}) ==
                       "Test Cab";
        },
        kTransferWait))
        << "the imported IR did not reach the library";
    Shot("ir-imported");

    // Backup: every preset, in slot order, as the device sent it.
    const fs::path backup = Files() / "Backup.z3b";
    mark = StderrMark();
    MenuCommand("d", "b");
    ASSERT_TRUE(ChooseFile(backup.string()));
    ASSERT_NO_FATAL_FAILURE(ExpectBox(mark, "Finished successfully!", kTransferWait));
    Bytes bank = ReadBytes(backup);
    ASSERT_GE(bank.size(), 128 * kDumpSize);
    for (int slot = 1; slot < devsim::kPresetCount; ++slot)
        EXPECT_EQ(Bytes(bank.begin() + slot * kDumpSize, bank.begin() + (slot + 1) * kDumpSize),
                  PresetDump(slot, factory.presets[std::size_t(slot)]))
            << "slot " << slot;

    // Slot 5 changed in the bank, then restored: the device takes it and the
    // editor, having lost its library to the restore, syncs it back.
    const devsim::PresetImage five = Renamed(factory.presets[5], "Restored Five", 17);
    const Bytes fiveDump = PresetDump(5, five);
    std::copy(fiveDump.begin(), fiveDump.end(), bank.begin() + 5 * kDumpSize);
    const fs::path changed = Files() / "Changed.z3b";
    WriteBytes(changed, bank);
    mark = StderrMark();
    const std::size_t traceMark = Trace().size();
    MenuCommand("d", "s");
    ASSERT_NO_FATAL_FAILURE(ExpectBox(mark, "This operation will overwrite", kDialogWait));
    ASSERT_TRUE(ChooseFile(changed.string()));
    mark = StderrMark();
    Shot("restoring");
    ASSERT_NO_FATAL_FAILURE(ExpectBox(mark, "Finished successfully!", kTransferWait));
    EXPECT_TRUE(Contains(TraceSince(traceMark), "BulkBegin"));
    const fs::path fiveFile = PresetsFolder() / "006.dat";
    ASSERT_TRUE(WaitUntil(
        [&] {
            const Bytes got = ReadBytes(fiveFile);
            return std::equal(got.begin(), got.end(), five.begin(), five.end());
        },
        kTransferWait))
        << "the editor did not sync the restored slot 5";
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(PresetsFolder() / "128.dat").size() == 256; },
                          kTransferWait))
        << "the editor did not sync the whole library again";
    Shot("restored");

    const devsim::SimState device = QuitAndReadDevice();
    for (int slot = 0; slot < devsim::kPresetCount; ++slot)
        EXPECT_EQ(PresetDump(slot, device.presets[std::size_t(slot)]),
                  Bytes(bank.begin() + slot * kDumpSize, bank.begin() + (slot + 1) * kDumpSize))
            << "slot " << slot;
    ASSERT_TRUE(device.userIRs.size() > 0 && device.userIRs[0].has_value())
        << "devsim has no user IR 0";
    EXPECT_TRUE(std::equal(slotFile.begin(), slotFile.end(), device.userIRs[0]->begin(),
                           device.userIRs[0]->end()))
        << "devsim's IR 0 differs from the editor's slot file";
}

// Scenario: a 20,000-byte image through the firmware page reaches the loader
// whole; the editor reports the end only after the loader's answer and then
// finds the restarted device again.
TEST_F(FilesTest, FirmwareReachesTheLoaderAndTheDeviceIsFoundAgain) {
    ASSERT_NO_FATAL_FAILURE(StartConnected());
    Bytes image(20000);
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t((i * 131 + i / 256) & 0xFF);
    const fs::path path = Files() / "omnar-1.3.bin";
    WriteBytes(path, image);

    std::size_t mark = Trace().size();
    MenuCommand("d", "u");
    ClickPanel(kUpdateFirmware);
    ASSERT_TRUE(ChooseFile(path.string()));
    ASSERT_TRUE(WaitForTrace(mark, "FirmwareStart packed size 22858", kConnectWait))
        << TraceSince(mark);
    // Some 95 chunks leave one per 100 ms tick; a third of the way is a fair picture.
    ASSERT_TRUE(WaitForTrace(mark, "FirmwareChunk", kTransferWait, 30));
    Shot("firmware-progress");

    const std::size_t alerts = StderrMark();
    const auto box = WaitForAlert(alerts, kTransferWait);
    ASSERT_TRUE(box) << "no box at the end of the update";
    EXPECT_TRUE(Contains(*box, "Firmware update finished.")) << *box;
    EXPECT_TRUE(Contains(TraceSince(mark), "LoaderReply done"))
        << "the box came before the loader's answer:\n"
        << TraceSince(mark);
    Shot("firmware-finished");
    ASSERT_TRUE(AnswerBox());
    // The poll goes on behind the box, so the restarted device may be found
    // before the box is answered: its answers count from the loader's on.
    const std::size_t done = Trace().find("LoaderReply done", mark);
    ASSERT_NE(done, std::string::npos) << TraceSince(mark);
    EXPECT_TRUE(WaitForTrace(done, "SettingsDump type 0F", kConnectWait))
        << "the restarted device was not found again:\n"
        << TraceSince(done);

    QuitAndReadDevice();
    EXPECT_EQ(ReadBytes(StateDir() / "firmware.bin"), image);
}

// Files the program must refuse, each through the dialog a user would open it
// with: a box where the program has something to say, nothing sent to the
// device and nothing written to the library.
TEST_F(FilesTest, BadFilesAreRefusedThroughTheDialogs) {
    enum class Opening { IRSlot7, ImportPreset, RestoreBank, UpdateFirmware };
    struct BadFile {
        std::string name;
        Bytes content;
        Opening opening;
        std::string box; // empty: no box at all
        std::string neverSent;
    };
    const std::string text = "This is a text file, not a sound.\n";
    const Bytes bank = PresetDump(0, devsim::FactoryState().presets[0]);
    const std::vector<BadFile> cases = {
        {"notes.wav", Bytes(text.begin(), text.end()), Opening::IRSlot7, "Unknown file format.",
         "IRDump first"},
        {"cut.z3b", Bytes(bank.begin(), bank.begin() + 200), Opening::RestoreBank,
         "Unknown file format.", "BulkBegin"},
        {"newer.z3p", ExchangeFile("Newer", devsim::FactoryState().presets[3], 1, 1),
         Opening::ImportPreset, "Unsupported file version. ", "PresetDump (edit buffer)"},
        {"huge.bin", Bytes(70 * 1024, 0x5A), Opening::UpdateFirmware,
         "The file is too large: a firmware file holds at most 65535 bytes.", "FirmwareEnter"},
    };

    ASSERT_NO_FATAL_FAILURE(StartConnected());
    // Slot 7's IMPORT waits for MODE to choose the user response.
    ASSERT_TRUE(ChooseSlot7UserResponse());
    const auto library = [&] {
        std::vector<std::pair<fs::path, Bytes>> files;
        for (const auto& entry : fs::recursive_directory_iterator(LibraryRoot()))
            if (entry.is_regular_file())
                files.emplace_back(entry.path(), ReadBytes(entry.path()));
        std::sort(files.begin(), files.end());
        return files;
    };
    const auto before = library();

    // Per case: the trace before it was opened, stderr before and after its dialog.
    std::vector<std::size_t> sentMarks, openMarks, chosenMarks;
    for (const BadFile& bad : cases) {
        SCOPED_TRACE(bad.name);
        const fs::path path = Files() / bad.name;
        WriteBytes(path, bad.content);
        sentMarks.push_back(Trace().size());
        const std::size_t alerts = StderrMark();
        openMarks.push_back(alerts);
        switch (bad.opening) {
        case Opening::IRSlot7:
            ClickPanel(kSlot7Import);
            break;
        case Opening::ImportPreset:
            ClickPanel(kPresetImport);
            break;
        case Opening::RestoreBank:
            MenuCommand("d", "s");
            ASSERT_NO_FATAL_FAILURE(
                ExpectBox(alerts, "This operation will overwrite", kDialogWait));
            break;
        case Opening::UpdateFirmware:
            MenuCommand("d", "u");
            ClickPanel(kUpdateFirmware);
            break;
        }
        chosenMarks.push_back(StderrMark());
        ASSERT_TRUE(ChooseFile(path.string()));
        if (bad.box.empty()) {
            Shot(bad.name);
        } else {
            ASSERT_NO_FATAL_FAILURE(ExpectBox(chosenMarks.back(), bad.box, kDialogWait, bad.name));
        }
    }
    // The editor's goodbye comes after anything the cases could have sent.
    const std::size_t end = Trace().size();
    QuitAndReadDevice();
    ASSERT_TRUE(Contains(TraceSince(end), "EditorClosed"));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const bool last = i + 1 == cases.size();
        const std::size_t to = last ? std::string::npos : sentMarks[i + 1];
        const std::string sent = Trace().substr(sentMarks[i], to - sentMarks[i]);
        EXPECT_FALSE(Contains(sent, cases[i].neverSent)) << cases[i].name << ":\n" << sent;
        // One box with the case's text, or none at all.
        const std::string boxes =
            AlertsSince(chosenMarks[i], last ? std::string::npos : openMarks[i + 1]);
        EXPECT_EQ(std::count(boxes.begin(), boxes.end(), '\n'), cases[i].box.empty() ? 0 : 1)
            << cases[i].name << ":\n"
            << boxes;
    }
    EXPECT_EQ(library(), before) << "a refused file changed the library";
}

// settings.ini of garbage: the program starts on the defaults and writes them back.
TEST_F(FilesTest, AGarbageSettingsFileGivesTheDefaults) {
    const std::string garbage = "[audio]\ndriver=banana\nbuffer=-3\nsr=\xff\xfe\n"
                                "\x01\x02[[[midi\n=\n[midi]\ninchan=99\nindev\n"
                                "[GUI]\nscale=abc\n\x7f\x00 trailing";
    WriteBytes(SettingsPath(), Bytes(garbage.begin(), garbage.end()));
    ASSERT_NO_FATAL_FAILURE(Launch());
    // The default audio driver finds no device here and says so before the window.
    const std::string line = "Please check your soundcard settings in Preferences";
    const auto box = WaitForAlert(0, 20s);
    ASSERT_TRUE(box) << ProgramStderr();
    EXPECT_TRUE(Contains(*box, line)) << *box;
    ASSERT_TRUE(AnswerBox());
    const auto main = WaitForWindow("OmnarControl", 20s);
    ASSERT_TRUE(main) << "no main window after the box";
    mWindow = *main;
    ASSERT_TRUE(WaitUntil([&] { return mX.ShowsArt(mWindow); }, 10s));
    Shot("garbage-settings");
    const auto frame = FrameOf(mWindow);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->width, 960) << "not the default scale of 0.5";
    Keys("ctrl+q");
    EXPECT_EQ(WaitForExit(kExitWait), 0);
    const std::string settings = SettingsText();
    for (const char* entry : {"driver=0", "buffer=512", "sr=44100", "inchan=0", "scale=0.5"})
        EXPECT_TRUE(Contains(settings, entry)) << entry << " missing:\n" << settings;
}

} // namespace
} // namespace e2e
