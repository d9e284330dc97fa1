#include "controls/IDirBrowseControlBase.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using vx::ui::IPopupMenu;

// The browser with its flags in reach; a real control would show the menu.
class Browser : public vx::ui::IDirBrowseControlBase {
public:
    explicit Browser(const char* extension)
        : IDirBrowseControlBase(vx::ui::IRECT(0, 0, 100, 20), extension) {}
    using IDirBrowseControlBase::keepEmptyFolders;
    using IDirBrowseControlBase::scanRecursively;
    using IDirBrowseControlBase::selectedIndex;
    using IDirBrowseControlBase::showFileExtensions;
};

// The menu tree as text: items in order, a submenu's items in brackets.
std::string Tree(const IPopupMenu& menu) {
    std::string out;
    for (int i = 0; i < menu.NItems(); ++i) {
        const IPopupMenu::Item* item = menu.GetItem(i);
        out += (out.empty() ? "" : " ") + std::string(item->text.Get());
        if (item->flags & IPopupMenu::kChecked)
            out += "*";
        if (item->submenu)
            out += "[" + Tree(*item->submenu) + "]";
    }
    return out;
}

class DirBrowseTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "browse-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }
    void Touch(const fs::path& relative) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << "x";
    }
    std::string Path(const fs::path& relative) const { return (root / relative).string(); }

    fs::path root;
};

TEST_F(DirBrowseTest, FilesFoldersAndFlags) {
    for (const char* name : {"001.dat", "dat", "001.dat.bak", "xdat", "abc.dat", "ABD.dat",
                             "abe.dat", "b/002.dat", "empty/notes.txt", "B2/c/003.dat"})
        Touch(name);
    Touch(".hidden.dat");
    fs::create_directories(root / "bare");

    struct Case {
        const char* what;
        bool showExtensions;
        bool recursive;
        bool keepEmpty;
        const char* tree;
    };
    const Case cases[] = {
        {"defaults", false, true, false, "001 abc ABD abe b[002] B2[c[003]] xdat"},
        {"extensions shown", true, true, false,
         "001.dat abc.dat ABD.dat abe.dat b[002.dat] B2[c[003.dat]] xdat"},
        {"empty folders kept", false, true, true,
         "001 abc ABD abe b[002] B2[c[003]] bare[] empty[] xdat"},
        {"flat", false, false, false, "001 abc ABD abe xdat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Browser browser("dat");
        browser.showFileExtensions = c.showExtensions;
        browser.scanRecursively = c.recursive;
        browser.keepEmptyFolders = c.keepEmpty;
        browser.AddPath((root.string() + "/").c_str(), "Library");
        browser.SetupMenu();
        EXPECT_EQ(Tree(browser.GetMainMenu()), c.tree);
    }
}

TEST_F(DirBrowseTest, SeveralFoldersSelectionAndChecks) {
    Touch("one/b.dat");
    Touch("one/a.dat");
    Touch("two/z/c.dat");
    Browser browser("dat");
    browser.AddPath(Path("one").c_str(), "First");
    browser.AddPath(Path("two").c_str(), "Second");
    browser.AddPath(Path("missing").c_str(), "Third");
    browser.SetupMenu();
    // Each folder keeps its labelled item, even one that cannot be read.
    EXPECT_EQ(Tree(browser.GetMainMenu()), "First[a b] Second[z[c]] Third[]");
    ASSERT_EQ(browser.NumItems(), 3);

    VxString selected;
    EXPECT_EQ(browser.SelectFile(Path("absent.dat").c_str()), -1);
    browser.GetSelectedFile(selected);
    EXPECT_STREQ(selected.Get(), "");

    EXPECT_EQ(browser.SelectFile(Path("two/z/c.dat").c_str()), 2);
    browser.GetSelectedFile(selected);
    EXPECT_EQ(selected.Get(), Path("two/z/c.dat"));
    browser.CheckSelectedItem();
    EXPECT_EQ(Tree(browser.GetMainMenu()), "First[a b] Second[z[c*]] Third[]");
    EXPECT_EQ(browser.SelectFile(Path("one/a.dat").c_str()), 0);
    browser.CheckSelectedItem();
    EXPECT_EQ(Tree(browser.GetMainMenu()), "First[a* b] Second[z[c]] Third[]");

    // A rebuild forgets the selection; clearing the folders leaves nothing to list.
    browser.SetupMenu();
    EXPECT_EQ(browser.selectedIndex, -1);
    browser.ClearPathList();
    EXPECT_EQ(browser.NumItems(), 0);
    browser.SetupMenu();
    EXPECT_EQ(Tree(browser.GetMainMenu()), "");
}

TEST_F(DirBrowseTest, LinkLoopsEndTheScan) {
    Touch("lib/a/1.dat");
    Touch("lib/b/2.dat");
    fs::create_directory_symlink(root / "lib", root / "lib" / "a" / "up");
    fs::create_directory_symlink(root / "lib" / "b", root / "lib" / "a" / "to-b");
    fs::create_directory_symlink(root / "lib" / "a", root / "lib" / "b" / "to-a");
    Browser browser("dat");
    browser.AddPath(Path("lib").c_str(), "");
    browser.SetupMenu();
    // Each sibling is entered once through the other, never back up.
    EXPECT_EQ(Tree(browser.GetMainMenu()), "a[1 to-b[2]] b[2 to-a[1]]");
}

TEST_F(DirBrowseTest, ScansStopAtTheDepthLimit) {
    fs::path deep = "top";
    for (int level = 0; level < Browser::kMaxDepth + 3; ++level)
        deep /= "d";
    Touch(deep / "deep.dat");
    Touch("top/shallow.dat");
    Browser browser("dat");
    browser.AddPath(Path("top").c_str(), "");
    browser.SetupMenu();
    // Only the file above the limit is listed; the too-deep branch is dropped empty.
    EXPECT_EQ(Tree(browser.GetMainMenu()), "shallow");
    EXPECT_EQ(browser.NumItems(), 1);
}

TEST(MenuItems, IndexedAndSortedInsertion) {
    IPopupMenu menu;
    const auto add = [&](const char* text, int index) {
        IPopupMenu::Item item;
        item.text.SetBounded(text);
        menu.AddItem(std::move(item), index);
    };
    add("abe", -2);
    add("abc", -2);
    add("ABD", -2);
    add("Abd", -2); // equal ignoring case: before the one there
    add("first", 0);
    add("last", 99);
    add("front", -5);
    add("end", -1);
    EXPECT_EQ(Tree(menu), "front first abc Abd ABD abe last end");

    int completions = 0;
    menu.SetCompletion([&](IPopupMenu*) { ++completions; });
    menu.AddItem("sub", std::make_unique<IPopupMenu>(), 1);
    menu.AddItem("full", 1, [] {
        auto sub = std::make_unique<IPopupMenu>();
        sub->AddItem("leaf");
        return sub;
    }());
    ASSERT_TRUE(menu.GetItem(2)->submenu->GetCompletion());
    menu.GetItem(2)->submenu->GetCompletion()(nullptr);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(menu.GetItem(1)->tag, -1);

    menu.RemoveEmptySubmenus();
    EXPECT_EQ(Tree(menu), "front full[leaf] first abc Abd ABD abe last end");
}

} // namespace
