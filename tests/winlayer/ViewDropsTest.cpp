// Files dropped on window views: WM_DROPFILES with the block, the drag hooks
// on the way, nothing for views without drops or addresses that are not
// local files.
#include "platform/ak/Application.h"
#include "tests/winlayer/support/ControlHost.h"
#include "winlayer/InputRecords.h"
#include "winlayer/Runtime.h"
#include "winlayer/WinBasics.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace winlayer::test {
namespace {

std::vector<std::string> g_hooks;

void OnEnter(HDROP drop, POINT) {
    char name[64] = "";
    DragQueryFile(drop, 0, name, sizeof name);
    g_hooks.push_back("enter " + std::to_string(DragQueryFile(drop, kDropFileCount, nullptr, 0)) +
                      " " + name);
}
void OnOver(POINT) {
    if (g_hooks.empty() || g_hooks.back() != "over")
        g_hooks.push_back("over");
}
void OnLeave() {
    g_hooks.push_back("leave");
}

class ViewDropsTest : public ControlHostTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        g_hooks.clear();
        resource.flags = 28 | (1 << 5); // drops on
        ShowHost([](UINT message, LPARAM) -> std::string {
            return message == WM_DROPFILES ? "drop" : "";
        });
        probe.hook = [this](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == WM_DROPFILES) {
                const auto drop = reinterpret_cast<HDROP>(wParam);
                std::string line = "drop";
                for (UINT i = 0; i < DragQueryFile(drop, kDropFileCount, nullptr, 0); ++i) {
                    char name[256];
                    DragQueryFile(drop, i, name, sizeof name);
                    line += std::string(" ") + name;
                }
                notes.push_back(line);
            }
            return 0;
        };
    }
    void TearDown() override {
        WISP_ExtendedAPI("WISP_DDrop_onDragEnter", nullptr);
        WISP_ExtendedAPI("WISP_DDrop_onDragOver", nullptr);
        WISP_ExtendedAPI("WISP_DDrop_onDragLeave", nullptr);
        ControlHostTest::TearDown();
    }
};

TEST_F(ViewDropsTest, DropsReachTheProcedureAndTheHooks) {
    WISP_ExtendedAPI("WISP_DDrop_onDragEnter", reinterpret_cast<void*>(&OnEnter));
    WISP_ExtendedAPI("WISP_DDrop_onDragOver", reinterpret_cast<void*>(&OnOver));
    WISP_ExtendedAPI("WISP_DDrop_onDragLeave", reinterpret_cast<void*>(&OnLeave));
    ak::View& view = *FindView(top);
    const std::string uris = "file:///a/x.wav\r\nhttp://elsewhere/y\r\nfile:///b/y.txt\r\n";
    EXPECT_TRUE(ak::test::DragFiles(view, uris, {{20, 20}, {40, 40}}, true));
    Settle();
    EXPECT_EQ(notes, (std::vector<std::string>{"drop /a/x.wav /b/y.txt"}));
    ASSERT_FALSE(g_hooks.empty());
    EXPECT_EQ(g_hooks.front(), "enter 2 /a/x.wav");
    EXPECT_EQ(g_hooks.back(), "leave");
}

TEST_F(ViewDropsTest, NoDropsNoOperation) {
    HWND plain = Wisp_vOmnarControl_hwnd::initChild(
                     nullptr, FindView(top), reinterpret_cast<DLGPROC>(&WindowProbe::Proc), 0)
                     ->Handle();
    SetWindowPos(plain, nullptr, 0, 0, 100, 100, SWP_NOZORDER);
    ShowWindow(plain, SW_SHOW);
    Settle();
    EXPECT_FALSE(ak::test::DragFiles(*FindView(plain), "file:///a/x.wav\r\n", {{10, 10}}, true));
    // Addresses that are not local files drop nothing.
    EXPECT_FALSE(ak::test::DragFiles(*FindView(top), "http://elsewhere/y\r\n", {{150, 150}}, true));
    Settle();
    EXPECT_TRUE(notes.empty());
}

// Sources that write their file only once told where: the view asks the
// target-path hook for the folder (the temporary folder for an empty answer)
// and the file the source wrote there drops as its path.
std::string g_targetFolder;
std::vector<std::string> g_askedTypes;
const char* TargetPath(const char* type) {
    g_askedTypes.push_back(type);
    return g_targetFolder.c_str();
}

class PromiseDropTest : public ViewDropsTest {
protected:
    void SetUp() override {
        ViewDropsTest::SetUp();
        root = std::filesystem::temp_directory_path() /
               ("omnar-promise-" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "hook");
        std::filesystem::create_directories(root / "tmp");
        if (const char* tmp = std::getenv("TMPDIR"))
            savedTmp = tmp;
        setenv("TMPDIR", (root / "tmp").c_str(), 1);
    }
    void TearDown() override {
        if (savedTmp)
            setenv("TMPDIR", savedTmp->c_str(), 1);
        else
            unsetenv("TMPDIR");
        WISP_ExtendedAPI("WISP_DDrop_getDroppedFileTargetPath", nullptr);
        std::filesystem::remove_all(root);
        ViewDropsTest::TearDown();
    }
    std::vector<std::filesystem::path> FilesUnderRoot() const {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        return files;
    }
    std::filesystem::path root;
    std::optional<std::string> savedTmp;
};

TEST_F(PromiseDropTest, APromiseIsWrittenWhereTheHookSaysAndDropsAsItsPath) {
    enum class Hook { folder, folderWithSlash, emptyAnswer, none };
    struct Case {
        const char* what;
        Hook hook;
        ak::test::PromisedFile file;
        const char* landsIn; // under root; null: no drop
    };
    // An empty answer gives a fresh private folder inside the temporary one.
    const Case cases[] = {
        {"the hook's folder", Hook::folder, {"take 07.wav", "RIFF take"}, "hook"},
        {"a folder ending in '/'", Hook::folderWithSlash, {"a.wav", "RIFF a"}, "hook"},
        {"an empty answer", Hook::emptyAnswer, {"loop.aif", "FORM loop"}, "tmp"},
        {"a failing source", Hook::folder, {"take 07.wav", "RIFF", true}, nullptr},
        {"no hook", Hook::none, {"take 07.wav", "RIFF"}, nullptr},
        {"a name that is a path", Hook::folder, {"../take 07.wav", "RIFF"}, nullptr},
    };
    WISP_ExtendedAPI("WISP_DDrop_onDragEnter", reinterpret_cast<void*>(&OnEnter));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        notes.clear();
        g_hooks.clear();
        g_askedTypes.clear();
        g_targetFolder = c.hook == Hook::folder            ? (root / "hook").string()
                         : c.hook == Hook::folderWithSlash ? (root / "hook").string() + "/"
                                                           : "";
        WISP_ExtendedAPI("WISP_DDrop_getDroppedFileTargetPath",
                         c.hook == Hook::none ? nullptr : reinterpret_cast<void*>(&TargetPath));

        const bool taken = ak::test::DragPromisedFile(*FindView(top), {60, 60}, c.file);
        EXPECT_EQ(taken, c.landsIn != nullptr);
        if (c.landsIn) {
            const std::vector<std::filesystem::path> files = FilesUnderRoot();
            ASSERT_EQ(files.size(), 1u);
            const std::filesystem::path& written = files[0];
            EXPECT_EQ(written.filename(), c.file.name);
            if (c.hook == Hook::emptyAnswer) {
                EXPECT_EQ(written.parent_path().parent_path(), root / c.landsIn);
                struct stat info {};
                ASSERT_EQ(stat(written.parent_path().c_str(), &info), 0);
                EXPECT_EQ(info.st_mode & 0777, 0700u);
            } else {
                EXPECT_EQ(written.parent_path(), root / c.landsIn);
            }
            EXPECT_EQ(notes, std::vector<std::string>{"drop " + written.string()});
            std::ifstream in(written);
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.file.bytes);
            std::filesystem::remove(written);
        } else {
            EXPECT_TRUE(notes.empty());
            EXPECT_TRUE(FilesUnderRoot().empty());
        }
        if (c.hook != Hook::none && c.file.name[0] != '.') {
            // Hovering shows the promise as "tmp." and its type; the drop asks for its folder.
            ASSERT_FALSE(g_hooks.empty());
            const std::string type = c.file.name.substr(c.file.name.rfind('.') + 1);
            EXPECT_EQ(g_hooks.front(), "enter 1 tmp." + type);
            EXPECT_EQ(g_askedTypes, std::vector<std::string>{type});
        }
    }
}

// What the program's promise callback does: writes the file it is asked for.
std::vector<std::string> g_written;
void WritePromised(const char* path) {
    std::ofstream(path) << "promised";
    g_written.push_back(path);
}
void WriteNothing(const char* path) {
    g_written.push_back(path);
}

// Drags out start from a press the procedure handles; a receiver asking for
// the data gets file addresses.
class DragOutTest : public ViewDropsTest {
protected:
    void SetUp() override {
        ViewDropsTest::SetUp();
        g_written.clear();
        folder = std::filesystem::temp_directory_path() /
                 ("omnar-dragout-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        WISP_FinishDragDrop();
        std::filesystem::remove_all(folder);
        ViewDropsTest::TearDown();
    }
    // Presses and releases in the window while start runs from WM_LBUTTONDOWN.
    void PressStarting(std::function<void(HWND)> start) {
        probe.hook = [start](HWND window, UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message == WM_LBUTTONDOWN)
                start(window);
            return 0;
        };
        ak::Window& window = *FindWindow(top);
        ak::test::Enter(window, {50, 50});
        ak::test::Press(window, {50, 50});
        Settle();
        ak::test::Release(window, {50, 50});
        Settle();
        probe.hook = nullptr;
    }
    std::filesystem::path folder;
};

TEST_F(DragOutTest, APromisedFileIsWrittenIntoAPrivateFolderWhenAsked) {
    PressStarting([](HWND window) {
        RECT source{0, 0, 10, 10};
        WISP_InitiateDragDrop(window, &source, "/library/take 07.wav",
                              reinterpret_cast<void*>(&WritePromised));
    });
    EXPECT_TRUE(g_written.empty()) << "nothing is written before a receiver asks";
    const std::string list = FindView(top)->OutgoingDragUriList();
    ASSERT_EQ(g_written.size(), 1u);
    const std::filesystem::path written = g_written[0];
    EXPECT_EQ(written.filename(), "take 07.wav");
    EXPECT_EQ(list, FileUriOf(written.string()) + "\r\n");
    struct stat info {};
    ASSERT_EQ(stat(written.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(FindView(top)->OutgoingDragUriList(), list) << "served once per drag";
    EXPECT_EQ(g_written.size(), 1u);
    std::filesystem::remove_all(written.parent_path());

    // A file list goes as it is; a new press forgets the promise.
    PressStarting([](HWND window) {
        const char* names[] = {"/a/x.wav", "/b/y.txt"};
        WISP_InitiateDragDropOfFileList(window, nullptr, names, 2, nullptr);
    });
    EXPECT_EQ(FindView(top)->OutgoingDragUriList(), "file:///a/x.wav\r\nfile:///b/y.txt\r\n");
    EXPECT_EQ(ServePromisedFile(folder.string()), std::nullopt);
    EXPECT_EQ(g_written.size(), 1u);
}

// A promise into a folder that already holds the name asks the user.
TEST_F(DragOutTest, ATakenNameIsKeptReplacedOrStoppedThroughTheAlert) {
    struct Case {
        int button; // Keep Both Files, Stop, Replace
        void (*writer)(const char*);
        std::optional<std::string> answer;
    };
    const Case cases[] = {
        {0, &WritePromised, "take 008.wav"},
        {1, &WritePromised, std::nullopt},
        {2, &WritePromised, "take 07.wav"},
        {0, &WriteNothing, std::nullopt}, // the program wrote nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        std::ofstream(folder / "take 07.wav") << "mine";
        PressStarting([&c](HWND window) {
            WISP_InitiateDragDrop(window, nullptr, "/library/take 07.wav",
                                  reinterpret_cast<void*>(c.writer));
        });
        bool answered = false;
        ak::Application::RunOnMainLater([&] {
            answered =
                ak::test::PumpUntil(ak::test::IsAlertShown) && ak::test::AlertPressButton(c.button);
        });
        EXPECT_EQ(ServePromisedFile(folder.string()), c.answer);
        EXPECT_TRUE(answered);
        if (c.answer) {
            EXPECT_TRUE(std::filesystem::exists(folder / *c.answer));
        }
        std::filesystem::remove(folder / "take 008.wav");
    }
}

} // namespace
} // namespace winlayer::test
