// Library writes that fail (a full disk, a read-only folder, a folder where
// the file belongs) are said once and leave the slot to fetch again; an IR
// joins the library only once the pedal has taken it.

#include "tests/device/DeviceRig.h"
#include "tests/devsim/SimFaults.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace omnar::test;

// A child's exit status when the machine gives no private mounts.
constexpr int kSkipped = 77;

// In a child only: the rig's library folders on a private tmpfs with the
// given options, read-only when asked; false when no private mount can be had.
bool PrivateLibrary(const TempDataHome& home, const std::string& options, bool readOnly) {
    const auto root = std::filesystem::path(home.PresetsFolder()).parent_path().parent_path();
    std::filesystem::create_directories(root);
    if (unshare(CLONE_NEWNS) != 0 ||
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        mount("tmpfs", root.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return false;
    for (const char* sub : {"Presets", "User IRs", "Factory IRs"})
        std::filesystem::create_directories(root / sub);
    return !readOnly ||
           mount("tmpfs", root.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, options.c_str()) == 0;
}

// Stands a folder where the file at path belongs.
void FolderInPlaceOf(const std::string& path) {
    std::filesystem::create_directories(path);
}

bool Check(bool holds, const std::string& what) {
    if (!holds)
        std::fprintf(stderr, "failed: %s\n", what.c_str());
    return holds;
}

// One box that names the folder and the error, and nothing else said.
bool SaysOnce(DeviceRig& rig, const std::string& folder, int error) {
    const std::vector<std::string> boxes = rig.MessageBoxes();
    std::string all;
    for (const std::string& box : boxes)
        all += "[" + box + "]";
    return Check(boxes.size() == 1 && boxes[0].find(folder) != std::string::npos &&
                     boxes[0].find(std::strerror(error)) != std::string::npos,
                 "one box naming " + folder + " and " + std::strerror(error) + ": " + all);
}

// After the sync stopped: the device is still there, every slot without its
// file stays flagged for the next sync, and every file there is the pedal's.
bool SlotsHeldOnlyByTheirFiles(DeviceRig& rig, int expectAtMost) {
    int files = 0;
    for (int slot = 0; slot < 128; ++slot) {
        const auto& preset = rig.pedal.State().presets[std::size_t(slot)];
        const bool present = std::filesystem::is_regular_file(rig.PresetFile(slot));
        files += present ? 1 : 0;
        if (!Check(rig.editor->mSlotChanged[std::size_t(slot)] == !present,
                   "slot " + std::to_string(slot) + " flagged as missing") ||
            (present &&
             !Check(ReadFile(rig.PresetFile(slot)) == Bytes(preset.begin(), preset.end()),
                    "slot file whole")))
            return false;
    }
    return Check(files <= expectAtMost, "at most " + std::to_string(expectAtMost) + " files") &&
           Check(rig.editor->mConnected && !rig.editor->mSlotSyncActive, "sync stopped, connected");
}

TEST(LibraryWrites, AFailedSlotWriteStopsTheSyncWithOneBox) {
    struct Case {
        const char* what;
        std::string tmpfs; // "" for the ordinary folder
        bool readOnly;
        int error;
        int filesAtMost;
    };
    const Case cases[] = {
        {"full disk", "size=32k", false, ENOSPC, 8},
        {"read-only library", "size=1m", true, EROFS, 0},
        {"a folder in the first slot file's place", "", false, EISDIR, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int outcome = InChild([&] {
            DeviceRig rig;
            if (c.error == EISDIR)
                FolderInPlaceOf(rig.PresetFile(0));
            else if (!PrivateLibrary(rig.home, c.tmpfs, c.readOnly))
                return kSkipped;
            return Check(rig.Connect(), "connected") &&
                           SaysOnce(rig, rig.home.PresetsFolder(), c.error) &&
                           SlotsHeldOnlyByTheirFiles(rig, c.filesAtMost)
                       ? 0
                       : 1;
        });
        if (outcome == kSkipped)
            GTEST_SKIP() << "no private mounts here";
        EXPECT_EQ(outcome, 0);
    }
}

TEST(LibraryWrites, FailedIRWritesAreSaid) {
    constexpr int kUploaded = 21;
    struct Case {
        const char* what;
        bool readOnly; // else a folder stands in the IR file's place
        bool upload;   // else the IR is fetched for the preset that plays it
    };
    for (const Case c :
         {Case{"upload, read-only", true, true}, Case{"upload, folder", false, true},
          Case{"fetch, read-only", true, false}, Case{"fetch, folder", false, false}}) {
        SCOPED_TRACE(c.what);
        const int outcome = InChild([&] {
            DeviceRig rig;
            if (!c.readOnly)
                FolderInPlaceOf(rig.home.UserIRFolder() + "022.dat");
            else if (!PrivateLibrary(rig.home, "size=1m", true))
                return kSkipped;
            if (!Check(rig.Connect(), "connected"))
                return 1;
            rig.editor->Panel().ClearCalls();
            if (c.upload) {
                rig.editor->mIRUploadSlot = kUploaded;
                OmnarControl::Name name{};
                rig.editor->NormalizeAndPackIR(name, kUploaded, true);
                if (!Check(rig.RunUntil([&] { return !rig.MessageBoxes().empty(); }, 60),
                           "a box") ||
                    !Check(rig.pedal.State().userIRs[kUploaded].has_value(), "the pedal has it"))
                    return 1;
            } else {
                auto& state = rig.pedal.MutableState();
                state.userIRs[kUploaded] = devsim::SyntheticFactoryIR(2);
                state.presets[40][34 + 40] = 1;
                state.presets[40][34 + 54] = kUploaded;
                rig.editor->SendPresetSelect(40);
                if (!Check(rig.RunUntil([&] { return !rig.MessageBoxes().empty(); }, 60), "a box"))
                    return 1;
            }
            rig.Steps(5);
            return SaysOnce(rig, rig.home.UserIRFolder(), c.readOnly ? EROFS : EISDIR) ? 0 : 1;
        });
        if (outcome == kSkipped)
            GTEST_SKIP() << "no private mounts here";
        EXPECT_EQ(outcome, 0);
    }
}

TEST(LibraryWrites, AnUploadedIRJoinsTheLibraryOnlyOnceThePedalTakesIt) {
    constexpr int kSlot = 21;
    const std::string kFile = "022.dat";
    struct Case {
        const char* what;
        const char* fault; // "" when the pedal takes it
        bool oldFile;
    };
    const Case cases[] = {
        {"accepted", "", false},
        {"accepted over an old file", "", true},
        {"refused", "nak:60", false},
        {"refused, old file", "nak:60", true},
        {"cut: a middle part lost", "drop:65:3", false},
        {"cut, old file", "drop:65:3", true},
        {"the pedal went away", "disconnect:65:2", false},
        {"the pedal went away, old file", "disconnect:65:2", true},
    };
    const devsim::IRImage old = devsim::SyntheticFactoryIR(5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceRig rig;
        ASSERT_TRUE(rig.Connect());
        const std::string path = rig.home.UserIRFolder() + kFile;
        std::filesystem::create_directories(rig.home.UserIRFolder());
        if (c.oldFile)
            WriteFile(path, Bytes(old.begin(), old.end()));
        if (*c.fault)
            rig.pedal.AddFault(*devsim::ParseFaultRule(c.fault).rule);
        rig.editor->mIRUploadSlot = kSlot;
        OmnarControl::Name name{};
        std::copy_n("Fresh", 5, name.begin());
        for (int i = 0; i < 1200; ++i)
            rig.editor->mIRSamples[std::size_t(i)] = 0.5 * std::exp(-i / 100.0);
        rig.editor->NormalizeAndPackIR(name, kSlot, true);
        // The upload ends with the pedal's answer, or the deadline drops the device.
        ASSERT_TRUE(rig.RunUntil(
            [&] {
                return !rig.editor->mIRUploadSending &&
                       rig.editor->mAwaited == decltype(rig.editor->mAwaited)::None;
            },
            100));
        rig.Step(); // the answer's tick
        const auto& held = rig.pedal.State().userIRs[kSlot];
        if (!*c.fault) {
            ASSERT_TRUE(held.has_value());
            EXPECT_EQ(ReadFile(path), Bytes(held->begin(), held->end()));
        } else if (c.oldFile) {
            EXPECT_EQ(ReadFile(path), Bytes(old.begin(), old.end()));
        } else {
            EXPECT_FALSE(FileExists(path));
        }
        EXPECT_TRUE(rig.editor->mStagedIRImage.empty());
    }
}

// A silent WAV packs to a first part, nine middle parts and a last one like
// any other, and the pedal takes it.
TEST(LibraryWrites, ASilentWavGoesUpWholeAndIsKept) {
    DeviceRig rig;
    ASSERT_TRUE(rig.Connect());
    const std::string wav = rig.home.Folder() + "/Silence.wav";
    WriteFile(wav, WavBytes({1, 1, 44100, 16, std::vector<double>(2000, 0.0)}));
    rig.editor->Panel().fileDialogAnswers.push_back(wav);
    rig.editor->mIRUploadSlot = 21;
    const std::size_t from = rig.sent.size();
    rig.editor->LoadWavIR();
    ASSERT_TRUE(rig.RunUntil([&] { return FileExists(rig.home.UserIRFolder() + "022.dat"); }, 40));
    EXPECT_EQ(rig.SentWithCommand(0x0560, from).size(), 1u);
    EXPECT_EQ(rig.SentWithCommand(0x0565, from).size(), 9u);
    EXPECT_EQ(rig.SentWithCommand(0x0566, from).size(), 1u);
    const auto& held = rig.pedal.State().userIRs[21];
    ASSERT_TRUE(held.has_value());
    EXPECT_EQ(ReadFile(rig.home.UserIRFolder() + "022.dat"), Bytes(held->begin(), held->end()));
    EXPECT_TRUE(rig.MessageBoxes().empty());
}

} // namespace
