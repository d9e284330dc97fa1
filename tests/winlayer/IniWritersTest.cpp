// Settings writes against other processes, kills and odd targets.
#include "winlayer/PrivateProfile.h"

#include "tests/winlayer/IniTestSupport.h"
#include "winlayer/IniImage.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <functional>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class IniWritersTest : public IniFolderTest {
protected:
    std::vector<std::string> TemporaryFiles() const {
        std::vector<std::string> names;
        for (const auto& item : std::filesystem::directory_iterator(Folder())) {
            const std::string name = item.path().filename().string();
            if (name.find(".tmp-") != std::string::npos)
                names.push_back(name);
        }
        return names;
    }

    // Runs body in a child process; the child's exit status is body's answer.
    static pid_t Fork(const std::function<bool()>& body) {
        const pid_t child = fork();
        if (child == 0)
            _exit(body() ? 0 : 1);
        return child;
    }

    static int ExitStatusOf(pid_t child) {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(IniWritersTest, TwoProcessesWritingOneFileKeepEveryKey) {
    const std::string file = PathOf("settings.ini");
    constexpr int kKeys = 200;
    const auto writer = [&file](int process) {
        return [&file, process] {
            for (int i = 0; i < kKeys; ++i) {
                // A section each tenth key, so a lost merge would drop whole sections.
                const std::string section =
                    "p" + std::to_string(process) + "s" + std::to_string(i / 10);
                const std::string key = "k" + std::to_string(i);
                if (!WritePrivateProfileString(section.c_str(), key.c_str(), "1", file.c_str()))
                    return false;
            }
            return true;
        };
    };
    const pid_t first = Fork(writer(1));
    const pid_t second = Fork(writer(2));
    ASSERT_EQ(ExitStatusOf(first), 0);
    ASSERT_EQ(ExitStatusOf(second), 0);

    const winlayer::IniImage image = winlayer::ParseIni(ReadFile(file));
    int keys = 0;
    for (const auto& section : image.sections)
        keys += static_cast<int>(section.value.Size());
    EXPECT_EQ(keys, 2 * kKeys);
    EXPECT_TRUE(std::filesystem::exists(file + ".lock"));
}

TEST_F(IniWritersTest, KilledWritersNeverHarmTheFileAndTheirLeftoversGo) {
    const std::string file = PathOf("settings.ini");
    ASSERT_TRUE(WritePrivateProfileString("keep", "k", "v", file.c_str()));
    std::mt19937 random(7);
    for (int kill = 0; kill < 40; ++kill) {
        const pid_t child = Fork([&file]() -> bool {
            for (int i = 0;; ++i)
                WritePrivateProfileString("busy", "n", std::to_string(i).c_str(), file.c_str());
        });
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 3000));
        ::kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const winlayer::IniImage image = winlayer::ParseIni(ReadFile(file));
        ASSERT_NE(image.sections.Find("keep"), nullptr) << "after kill " << kill;
    }
    // What a writer killed between its temporary write and its rename leaves.
    WriteFile(PathOf(".settings.ini.tmp-Q1w2E3"), "[half]\n");
    // Another file's write may still be under way: its temporary stays.
    WriteFile(PathOf(".other.ini.tmp-Q1w2E3"), "[other]\n");

    ASSERT_TRUE(WritePrivateProfileString("keep", "k", "w", file.c_str()));
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{".other.ini.tmp-Q1w2E3"});
}

TEST_F(IniWritersTest, TargetsThatMustNotBeWrittenAreRefusedUnchanged) {
    const std::string readOnly = PathOf("readonly.ini");
    WriteFile(readOnly, "[s]\nk=1\n");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);

    const std::string notes = PathOf("notes.txt");
    WriteFile(notes, "not settings at all\n");
    const std::string link = PathOf("linked.ini");
    ASSERT_EQ(symlink(notes.c_str(), link.c_str()), 0);

    struct Case {
        std::string written;
        std::string changed;
        int error;
    };
    for (const Case& c : {Case{readOnly, readOnly, EACCES}, Case{link, notes, EPERM}}) {
        const std::string before = ReadFile(c.changed);
        errno = 0;
        EXPECT_FALSE(WritePrivateProfileString("s", "k", "2", c.written.c_str())) << c.written;
        EXPECT_EQ(errno, c.error) << c.written;
        EXPECT_EQ(ReadFile(c.changed), before) << c.written;
        char value[16];
        GetPrivateProfileString("s", "k", "(none)", value, sizeof value, c.written.c_str());
        EXPECT_STRNE(value, "2") << c.written;
    }
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

} // namespace
