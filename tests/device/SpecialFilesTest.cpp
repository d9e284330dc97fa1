// FIFOs, folders and devices where the program expects a file: every way a
// file comes in (the library at start-up, the choosers) must pass them by,
// never wait on them.

#include "tests/device/DeviceRig.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace omnar::test;

enum class Special { Fifo, Folder, LinkToDevZero };

const char* Named(Special kind) {
    switch (kind) {
    case Special::Fifo:
        return "FIFO";
    case Special::Folder:
        return "folder";
    case Special::LinkToDevZero:
        return "link to /dev/zero";
    }
    return "?";
}

void Make(Special kind, const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const int made = kind == Special::Fifo     ? mkfifo(path.c_str(), 0644)
                     : kind == Special::Folder ? mkdir(path.c_str(), 0755)
                                               : symlink("/dev/zero", path.c_str());
    ASSERT_EQ(made, 0) << path << ": " << std::strerror(errno);
}

bool AnyBoxSays(DeviceRig& rig, const std::string& text) {
    for (const std::string& call : rig.editor->Panel().CallsStartingWith("RunMessageBox "))
        if (call.find(text) != std::string::npos)
            return true;
    return false;
}

// Runs body in a child; "hung" when it has not ended within the deadline,
// else its exit status (0 when its checks held) or the signal that ended it.
std::string RunInChildWithDeadline(const std::function<bool()>& body, int deadlineMs) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0)
        _exit(body() ? 0 : 1);
    const int pidfd = int(syscall(SYS_pidfd_open, child, 0));
    pollfd ended{pidfd, POLLIN, 0};
    const bool done = pidfd >= 0 && poll(&ended, 1, deadlineMs) == 1;
    if (pidfd >= 0)
        close(pidfd);
    if (!done)
        kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (!done)
        return "hung";
    if (WIFSIGNALED(status))
        return "signal " + std::to_string(WTERMSIG(status));
    return WEXITSTATUS(status) == 0 ? "ok" : "checks failed";
}

struct EntryPoint {
    const char* name;
    std::function<std::string(const TempDataHome&)> place;
    // Takes the special file in; true when the program said or did what it should.
    std::function<bool(DeviceRig&, const std::string&)> run;
};

TEST(SpecialFiles, NoEntryPointWaitsOnAFifoAFolderOrADevice) {
    const EntryPoint entries[] = {
        {"slot file at start-up",
         [](const TempDataHome& home) { return home.PresetsFolder() + "005.dat"; },
         [](DeviceRig& rig, const std::string&) {
             rig.editor->ListPresetFolder();
             rig.editor->RefreshPresetList();
             return rig.editor->mPresetChecksums[4] == std::array<std::uint8_t, 2>{0, 0};
         }},
        {"user IR file", [](const TempDataHome& home) { return home.UserIRFolder() + "001.dat"; },
         [](DeviceRig& rig, const std::string&) {
             rig.editor->BuildIRNameList(0);
             return std::string(rig.editor->mIRNames[0].data()) == "Empty Slot 1" &&
                    !rig.editor->UserIRFileExists(0);
         }},
        {"factory IR file",
         [](const TempDataHome& home) { return home.FactoryIRFolder() + "001.dat"; },
         [](DeviceRig& rig, const std::string&) {
             rig.editor->LoadFactoryIRName(0);
             rig.editor->SelectIRSlot(2);
             return !rig.editor->FactoryIRFileExists(0);
         }},
        {"WAV in the chooser", [](const TempDataHome& home) { return home.Folder() + "/cab.wav"; },
         [](DeviceRig& rig, const std::string& path) {
             rig.editor->Panel().fileDialogAnswers.push_back(path);
             rig.editor->LoadWavIR();
             return AnyBoxSays(rig, "Unknown file format.");
         }},
        {"bank in the chooser",
         [](const TempDataHome& home) { return home.Folder() + "/backup.z3b"; },
         [](DeviceRig& rig, const std::string& path) {
             rig.editor->Panel().fileDialogAnswers.push_back(path);
             rig.editor->LoadImportedBank();
             return AnyBoxSays(rig, "Unknown file format.") && !rig.editor->mRestoreActive;
         }},
        {"preset file in the chooser",
         [](const TempDataHome& home) { return home.Folder() + "/sound.z3p"; },
         [](DeviceRig& rig, const std::string& path) {
             rig.editor->Panel().fileDialogAnswers.push_back(path);
             rig.editor->OnImportPresetButton();
             rig.editor->OnIdle();
             return AnyBoxSays(rig, "Unknown file format.");
         }},
        {"firmware in the chooser",
         [](const TempDataHome& home) { return home.Folder() + "/update.bin"; },
         [](DeviceRig& rig, const std::string& path) {
             rig.editor->Panel().fileDialogAnswers.push_back(path);
             rig.editor->OnUpdateFirmwareButton();
             return AnyBoxSays(rig, "Unknown file format.") && !rig.editor->mFirmwarePrepared;
         }},
    };
    for (const Special kind : {Special::Fifo, Special::Folder, Special::LinkToDevZero}) {
        for (const EntryPoint& entry : entries) {
            DeviceRig rig;
            const std::string path = entry.place(rig.home);
            Make(kind, path);
            // Generous for a loaded machine: a working entry takes milliseconds.
            const std::string outcome =
                RunInChildWithDeadline([&] { return entry.run(rig, path); }, 60000);
            EXPECT_EQ(outcome, "ok") << Named(kind) << " as " << entry.name;
        }
    }
}

} // namespace
