#include "platform/sys/Folders.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The mode of the folder or file at `path`, found name by name so that paths
// beyond PATH_MAX work; nothing when it does not exist.
std::optional<mode_t> ModeAt(const std::string& path) {
    int dir = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    std::size_t start = 1;
    while (dir >= 0 && start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string name = path.substr(start, end - start);
        start = end + 1;
        if (name.empty())
            continue;
        const int next = ::openat(dir, name.c_str(), O_PATH | O_CLOEXEC);
        ::close(dir);
        dir = next;
    }
    if (dir < 0)
        return std::nullopt;
    struct stat status {};
    const bool known = ::fstat(dir, &status) == 0;
    ::close(dir);
    return known ? std::optional<mode_t>(status.st_mode) : std::nullopt;
}

bool IsFolderWithMode(const std::string& path, mode_t permissions) {
    const std::optional<mode_t> mode = ModeAt(path);
    return mode && S_ISDIR(*mode) && (*mode & 07777) == permissions;
}

// Removes a tree of any depth, relative to `dir`, without whole-path calls.
void RemoveTree(int dir, const char* name) {
    if (::unlinkat(dir, name, 0) == 0)
        return;
    ::fchmodat(dir, name, 0700, 0);
    const int fd = ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    DIR* listing = ::fdopendir(fd);
    if (listing == nullptr) {
        ::close(fd);
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string entryName = entry->d_name;
        if (entryName != "." && entryName != "..")
            names.push_back(entryName);
    }
    for (const std::string& entryName : names)
        RemoveTree(::dirfd(listing), entryName.c_str());
    ::closedir(listing);
    ::unlinkat(dir, name, AT_REMOVEDIR);
}

class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name))
            value_ = value;
    }
    ~SavedVariable() {
        if (value_)
            ::setenv(name_, value_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    SavedVariable(const SavedVariable&) = delete;
    SavedVariable& operator=(const SavedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> value_;
};

// Each test runs in a fresh temporary root, inside it, with HOME at
// <root>/home (not yet made) and no XDG variables; all is put back after.
class FoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "omnar-folders-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
        root_ = pattern;
        savedCwd_ = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
        ASSERT_EQ(::chdir(root_.c_str()), 0);
        savedUmask_ = ::umask(022);
        ::setenv("HOME", Home().c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_HOME");
    }

    void TearDown() override {
        ::umask(savedUmask_);
        if (savedCwd_ >= 0) {
            ::fchdir(savedCwd_);
            ::close(savedCwd_);
        }
        if (!root_.empty())
            RemoveTree(AT_FDCWD, root_.c_str());
    }

    // "@" at the start of a text stands for the temporary root.
    std::string InRoot(const char* text) const {
        const std::string value = text;
        return value.starts_with('@') ? root_ + value.substr(1) : value;
    }
    std::string Home() const { return root_ + "/home"; }

    static void SetOrUnset(const char* name, const char* value, const std::string& expanded) {
        if (value == nullptr)
            ::unsetenv(name);
        else
            ::setenv(name, expanded.c_str(), 1);
    }

    void MakeFolder(const std::string& path, mode_t mode = 0700) {
        ASSERT_EQ(::mkdir(path.c_str(), mode), 0) << path;
        ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path;
    }
    void MakeFile(const std::string& path) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0) << path;
        ::close(fd);
    }

    std::string root_;

private:
    SavedVariable home_{"HOME"};
    SavedVariable dataHome_{"XDG_DATA_HOME"};
    SavedVariable configHome_{"XDG_CONFIG_HOME"};
    int savedCwd_ = -1;
    mode_t savedUmask_ = 022;
};

TEST_F(FoldersTest, EachPathFollowsTheEnvironmentAndIsMade) {
    struct Case {
        const char* name;
        const char* home; // nullptr: unset
        const char* dataHome;
        const char* configHome;
        const char* data;
        const char* config;
    };
    const Case cases[] = {
        {"home only", "@/home", nullptr, nullptr, "@/home/.local/share/OmnarControl/",
         "@/home/.config/OmnarControl/"},
        {"home with trailing slashes", "@/home//", nullptr, nullptr,
         "@/home/.local/share/OmnarControl/", "@/home/.config/OmnarControl/"},
        {"XDG set", "@/home", "@/data", "@/conf/", "@/data/OmnarControl/", "@/conf/OmnarControl/"},
        {"XDG set without home", nullptr, "@/data", "@/conf", "@/data/OmnarControl/",
         "@/conf/OmnarControl/"},
        {"XDG empty", "@/home", "", "", "@/home/.local/share/OmnarControl/",
         "@/home/.config/OmnarControl/"},
        {"XDG relative", "@/home", "relative/data", "relative/config",
         "@/home/.local/share/OmnarControl/", "@/home/.config/OmnarControl/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetOrUnset("HOME", c.home, c.home ? InRoot(c.home) : "");
        SetOrUnset("XDG_DATA_HOME", c.dataHome, c.dataHome ? InRoot(c.dataHome) : "");
        SetOrUnset("XDG_CONFIG_HOME", c.configHome, c.configHome ? InRoot(c.configHome) : "");
        const std::string data = InRoot(c.data);
        const std::string config = InRoot(c.config);

        const std::pair<std::function<std::string(sys::FolderError*)>, std::string> folders[] = {
            {sys::DataFolder, data},
            {sys::PresetsFolder, data + "Presets/"},
            {sys::UserIRFolder, data + "User IRs/"},
            {sys::FactoryIRFolder, data + "Factory IRs/"},
            {sys::ConfigFolder, config},
        };
        for (const auto& [folder, expected] : folders) {
            sys::FolderError error{"stale", std::make_error_code(std::errc::io_error)};
            EXPECT_EQ(folder(&error), expected);
            EXPECT_TRUE(IsFolderWithMode(expected, 0700)) << expected;
            EXPECT_TRUE(error.path.empty()) << error.path;
            EXPECT_FALSE(error.code) << error.code.message();
        }
        sys::FolderError error{"stale", std::make_error_code(std::errc::io_error)};
        EXPECT_EQ(sys::SettingsFilePath(&error), config + "settings.ini");
        EXPECT_FALSE(error.code);
        EXPECT_FALSE(ModeAt(config + "settings.ini")) << "the settings file is not a folder";
        // A relative variable must not reach the current folder (the root here).
        EXPECT_FALSE(ModeAt(root_ + "/relative"));
    }
}

TEST_F(FoldersTest, HomeFallsBackToThePasswdEntry) {
    const passwd* entry = ::getpwuid(::getuid());
    ASSERT_NE(entry, nullptr);
    const std::string passwdHome = entry->pw_dir;
    const struct {
        const char* home; // nullptr: unset
        std::string expected;
    } cases[] = {
        {"/some/home/", "/some/home"}, {"/", "/"}, {nullptr, passwdHome}, {"", passwdHome},
        {"relative/home", passwdHome},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.home ? c.home : "(unset)");
        SetOrUnset("HOME", c.home, c.home ? c.home : "");
        EXPECT_EQ(sys::HomeFolder(), c.expected);
    }
}

TEST_F(FoldersTest, MadeFoldersAre0700WhateverTheUmask) {
    // 0277 cuts the owner's own write bit from mkdir's mode.
    for (const mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0277}}) {
        SCOPED_TRACE(mask);
        const std::string home = root_ + "/home" + std::to_string(mask);
        ::setenv("HOME", home.c_str(), 1);
        ::umask(mask);
        sys::FolderError error;
        const std::string presets = sys::PresetsFolder(&error);
        ::umask(022);
        EXPECT_FALSE(error.code) << error.path << ": " << error.code.message();
        for (const std::string& folder :
             {home, home + "/.local", home + "/.local/share", presets, presets + "../"}) {
            EXPECT_TRUE(IsFolderWithMode(folder, 0700)) << folder;
        }
    }
}

TEST_F(FoldersTest, ExistingFoldersKeepTheirModes) {
    MakeFolder(Home(), 0755);
    MakeFolder(Home() + "/.local", 0750);
    ::umask(077);
    sys::FolderError error;
    const std::string data = sys::DataFolder(&error);
    EXPECT_FALSE(error.code) << error.code.message();
    EXPECT_TRUE(IsFolderWithMode(Home(), 0755));
    EXPECT_TRUE(IsFolderWithMode(Home() + "/.local", 0750));
    EXPECT_TRUE(IsFolderWithMode(Home() + "/.local/share", 0700));
    EXPECT_TRUE(IsFolderWithMode(data, 0700));
}

TEST_F(FoldersTest, PathsBeyondPathMaxAreMadeWhole) {
    std::string deep = root_;
    while (deep.size() <= 5000)
        deep += "/" + std::string(199, 'd');
    ::setenv("XDG_DATA_HOME", deep.c_str(), 1);

    sys::FolderError error;
    const std::string presets = sys::PresetsFolder(&error);
    EXPECT_EQ(presets, deep + "/OmnarControl/Presets/");
    EXPECT_FALSE(error.code) << error.code.message();
    EXPECT_TRUE(IsFolderWithMode(presets, 0700));
    EXPECT_TRUE(IsFolderWithMode(deep, 0700));
}

TEST_F(FoldersTest, AFileInTheWayIsReportedByItsFullPath) {
    const struct {
        const char* name;
        std::vector<const char*> folders; // made first, in order
        const char* file;
        std::string (*function)(sys::FolderError*);
        const char* returned;
        const char* reported;
    } cases[] = {
        {"at a parent",
         {"@/home", "@/home/.local"},
         "@/home/.local/share",
         sys::PresetsFolder,
         "@/home/.local/share/OmnarControl/Presets/",
         "@/home/.local/share/"},
        {"at the folder itself",
         {"@/home", "@/home/.local", "@/home/.local/share", "@/home/.local/share/OmnarControl"},
         "@/home/.local/share/OmnarControl/User IRs",
         sys::UserIRFolder,
         "@/home/.local/share/OmnarControl/User IRs/",
         "@/home/.local/share/OmnarControl/User IRs/"},
        {"below the config folder",
         {"@/home"},
         "@/home/.config",
         sys::SettingsFilePath,
         "@/home/.config/OmnarControl/settings.ini",
         "@/home/.config/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveTree(AT_FDCWD, Home().c_str());
        for (const char* folder : c.folders)
            MakeFolder(InRoot(folder));
        MakeFile(InRoot(c.file));

        sys::FolderError error;
        EXPECT_EQ(c.function(&error), InRoot(c.returned));
        EXPECT_EQ(error.path, InRoot(c.reported));
        EXPECT_EQ(error.code, std::errc::not_a_directory) << error.code.message();
        EXPECT_EQ(c.function(nullptr), InRoot(c.returned)) << "no report asked";
    }
}

TEST_F(FoldersTest, AFolderWithoutWritePermissionIsReported) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    MakeFolder(Home(), 0500);
    sys::FolderError error;
    EXPECT_EQ(sys::ConfigFolder(&error), Home() + "/.config/OmnarControl/");
    EXPECT_EQ(error.path, Home() + "/.config/");
    EXPECT_EQ(error.code, std::errc::permission_denied) << error.code.message();
}

TEST_F(FoldersTest, ResourcesAreFoundInBuildThenInstallLayouts) {
    const struct {
        const char* name;
        std::vector<const char*> folders;
        std::vector<const char*> files;
        const char* exeFolder;
        const char* expected;
    } cases[] = {
        {"build", {"@/build", "@/build/resources"}, {}, "@/build", "@/build/resources/"},
        {"build, folder with slash", {"@/b2", "@/b2/resources"}, {}, "@/b2/", "@/b2/resources/"},
        {"install",
         {"@/usr", "@/usr/bin", "@/usr/share", "@/usr/share/omnarcontrol"},
         {},
         "@/usr/bin",
         "@/usr/share/omnarcontrol/"},
        {"both: build first",
         {"@/both", "@/both/bin", "@/both/bin/resources", "@/both/share",
          "@/both/share/omnarcontrol"},
         {},
         "@/both/bin",
         "@/both/bin/resources/"},
        {"a resources file is no folder",
         {"@/odd", "@/odd/bin", "@/odd/share", "@/odd/share/omnarcontrol"},
         {"@/odd/bin/resources"},
         "@/odd/bin",
         "@/odd/share/omnarcontrol/"},
        {"neither", {"@/none", "@/none/bin"}, {}, "@/none/bin", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* folder : c.folders)
            MakeFolder(InRoot(folder));
        for (const char* file : c.files)
            MakeFile(InRoot(file));
        EXPECT_EQ(sys::ResourceFolderFor(InRoot(c.exeFolder)), InRoot(c.expected));
    }
}

TEST_F(FoldersTest, ThisProgramFindsTheResourcesCopiedNextToIt) {
    const std::string resources = sys::ResourceFolder();
    ASSERT_TRUE(resources.ends_with("/resources/")) << resources;
    EXPECT_TRUE(ModeAt(resources + "README")) << resources;
}

} // namespace
