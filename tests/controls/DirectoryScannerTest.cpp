#include "controls/DirectoryScanner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

class DirectoryScannerTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "scanner-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        fs::create_directories(root / "library" / "sub");
        fs::create_directories(root / "elsewhere");
        std::ofstream(root / "library" / "001.dat") << "x";
        fs::create_directory_symlink(root, root / "library" / "up");
        fs::create_directory_symlink(root / "elsewhere", root / "library" / "away");
        fs::create_symlink(root / "library" / "001.dat", root / "library" / "file-link");
        fs::create_directory_symlink("/", root / "library" / "top");
        // The library again, by a path that does not textually lie inside root.
        std::string other = (fs::temp_directory_path() / "scanner-alias-XXXXXX").string();
        ASSERT_NE(mkdtemp(other.data()), nullptr);
        outside = other;
        fs::create_directory_symlink(root / "library", outside / "library");
    }
    void TearDown() override {
        fs::remove_all(root);
        fs::remove_all(outside);
    }

    // Every entry of a scan, with its folder code.
    std::map<std::string, int> Scan(const std::string& path) {
        std::map<std::string, int> entries;
        vx::ui::DirectoryScanner scanner;
        if (scanner.First(path.c_str()) != 0)
            return entries;
        do
            entries[scanner.CurrentName()] = scanner.CurrentIsDirectory();
        while (scanner.Next());
        return entries;
    }

    fs::path root;
    fs::path outside;
};

TEST_F(DirectoryScannerTest, FolderCodesOfEntriesAndLinks) {
    const std::map<std::string, int> expected = {
        {".", 1},  {"..", 1},   {"001.dat", 0},   {"sub", 1},
        {"up", 4}, {"away", 2}, {"file-link", 0}, {"top", 4},
    };
    EXPECT_EQ(Scan((root / "library").string()), expected);
    // Links back are recognised whatever path the folder was opened by.
    EXPECT_EQ(Scan((outside / "library").string()), expected);
}

TEST_F(DirectoryScannerTest, PathsAndFailures) {
    vx::ui::DirectoryScanner scanner;
    EXPECT_EQ(scanner.First(nullptr), -1);
    EXPECT_EQ(scanner.First(""), -1);
    EXPECT_EQ(scanner.First((root / "missing").c_str()), 1);
    EXPECT_STREQ(scanner.CurrentName(), "");
    EXPECT_EQ(scanner.CurrentIsDirectory(), 0);

    // One trailing separator is dropped, so full paths have a single slash.
    const std::string withSlash = (root / "library").string() + "/";
    ASSERT_EQ(scanner.First(withSlash.c_str()), 0);
    do {
        if (std::string(scanner.CurrentName()) == "001.dat") {
            VxString full;
            scanner.CurrentFullPath(full);
            EXPECT_EQ(std::string(full.Get()), (root / "library" / "001.dat").string());
        }
    } while (scanner.Next());
    EXPECT_FALSE(scanner.Next());
    EXPECT_EQ(scanner.First("/"), 0) << "the root folder stays \"/\"";
}

} // namespace
