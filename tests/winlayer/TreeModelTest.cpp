// The tree view's items, handles and selection rules, headless.
#include "winlayer/lists/TreeModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using winlayer::TreeItem;
using winlayer::TreeModel;

struct RecordingTreeEvents : winlayer::TreeEvents {
    std::vector<TreeItem*> selections;
    void SelectionChanged(TreeItem* item) override { selections.push_back(item); }
};

struct TreeModelTest : ::testing::Test {
    RecordingTreeEvents events;
    TreeModel tree{events};

    HTREEITEM Add(HTREEITEM parent, const char* text, HTREEITEM after = TVI_LAST) {
        TVINSERTSTRUCT insert{};
        insert.hParent = parent;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.lParam = static_cast<LPARAM>(text[0]);
        return tree.Insert(&insert);
    }
    std::vector<std::string> Texts(HTREEITEM parent) {
        std::vector<std::string> texts;
        for (HTREEITEM item = tree.Child(parent); item; item = tree.NextSibling(item))
            texts.push_back(static_cast<TreeItem*>(item)->text.value_or(""));
        return texts;
    }
};

TEST_F(TreeModelTest, InsertPlaces) {
    HTREEITEM b = Add(nullptr, "b");
    Add(nullptr, "a", TVI_SORT); // appends, does not sort
    Add(TVI_ROOT, "first", TVI_FIRST);
    Add(nullptr, "after-b", b);
    EXPECT_EQ(Texts(TVI_ROOT), (std::vector<std::string>{"first", "b", "after-b", "a"}));

    HTREEITEM child = Add(b, "c1");
    Add(b, "foreign", tree.Root()); // a sibling from another parent: at 0
    EXPECT_EQ(Texts(b), (std::vector<std::string>{"foreign", "c1"}));
    EXPECT_EQ(tree.Parent(child), b);

    int stranger = 0;
    EXPECT_EQ(Add(&stranger, "lost"), nullptr);
    EXPECT_EQ(tree.Insert(nullptr), nullptr);
}

TEST_F(TreeModelTest, FirstItemCallsAgree) {
    HTREEITEM first = Add(nullptr, "one");
    Add(first, "child");
    Add(nullptr, "two");
    for (HTREEITEM answer : {tree.Child(TVI_ROOT), tree.Child(nullptr), tree.NextSibling(nullptr),
                             tree.Parent(nullptr), tree.Root()})
        EXPECT_EQ(answer, first);
    EXPECT_EQ(tree.Parent(first), nullptr);
}

TEST_F(TreeModelTest, DeletingTheSelectionSelectsItsParent) {
    HTREEITEM top = Add(nullptr, "top");
    HTREEITEM child = Add(top, "child");
    HTREEITEM grandchild = Add(child, "grandchild");
    tree.Expand(top, TVE_EXPAND);
    tree.Expand(child, TVE_EXPAND);
    tree.Select(grandchild);
    events.selections.clear();

    tree.Delete(child); // the selection lies inside
    EXPECT_EQ(tree.Selection(), top);
    EXPECT_EQ(events.selections, std::vector<TreeItem*>{static_cast<TreeItem*>(top)});

    HTREEITEM other = Add(nullptr, "other");
    events.selections.clear();
    tree.Delete(other); // a top-level item elsewhere: selection kept, nothing said
    EXPECT_EQ(tree.Selection(), top);
    tree.Delete(top);
    EXPECT_EQ(tree.Selection(), nullptr);
    EXPECT_TRUE(events.selections.empty());
}

TEST_F(TreeModelTest, ExpandCodes) {
    HTREEITEM item = Add(nullptr, "item");
    struct Case {
        int code;
        bool acts;
        bool expandedAfter;
    };
    const Case cases[] = {{TVE_EXPAND, true, true},  {TVE_EXPAND, false, true},
                          {TVE_TOGGLE, true, false}, {TVE_COLLAPSE, false, false},
                          {TVE_TOGGLE, true, true},  {TVE_COLLAPSE, true, false},
                          {7, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(tree.Expand(item, c.code), c.acts) << c.code;
        EXPECT_EQ(static_cast<TreeItem*>(item)->expanded, c.expandedAfter) << c.code;
    }
}

TEST_F(TreeModelTest, StaleAndForeignHandlesAreRefused) {
    HTREEITEM gone = Add(nullptr, "gone");
    tree.Delete(gone);
    TreeModel other(events);
    TVINSERTSTRUCT insert{};
    HTREEITEM foreign = other.Insert(&insert);

    char buffer[8];
    for (HTREEITEM handle : {gone, foreign}) {
        TVITEM item{};
        item.mask = TVIF_HANDLE | TVIF_TEXT;
        item.hItem = handle;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        EXPECT_FALSE(tree.GetItem(&item));
        EXPECT_FALSE(tree.SetItem(&item));
        EXPECT_EQ(tree.Child(handle), nullptr);
        EXPECT_EQ(tree.NextSibling(handle), nullptr);
        EXPECT_FALSE(tree.Expand(handle, TVE_TOGGLE));
        tree.Delete(handle);
    }
}

TEST_F(TreeModelTest, SelectAndItemRecords) {
    HTREEITEM top = Add(nullptr, "top");
    HTREEITEM hidden = Add(top, "hidden");
    tree.Select(hidden); // no row while its parent is collapsed: reported, not selected
    EXPECT_EQ(tree.Selection(), nullptr);
    EXPECT_EQ(events.selections.size(), 1u);
    tree.Select(top);
    EXPECT_EQ(tree.Selection(), top);
    tree.Select(nullptr);
    EXPECT_EQ(tree.Selection(), nullptr);
    EXPECT_EQ(events.selections.size(), 2u);

    TVITEM set{};
    set.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_CHILDREN;
    set.hItem = top;
    set.pszText = const_cast<char*>("renamed");
    set.cChildren = 1;
    set.state = TVIS_SELECTED | TVIS_EXPANDED;
    set.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
    EXPECT_TRUE(tree.SetItem(&set));
    EXPECT_EQ(events.selections.size(), 3u);

    char buffer[4];
    TVITEM get{};
    get.mask = TVIF_HANDLE | TVIF_TEXT;
    get.hItem = top;
    get.pszText = buffer;
    get.cchTextMax = sizeof buffer;
    EXPECT_TRUE(tree.GetItem(&get));
    EXPECT_STREQ(buffer, "ren");
    EXPECT_EQ(get.state, TVIS_SELECTED | TVIS_EXPANDED);
    EXPECT_EQ(get.cChildren, 1);
    EXPECT_EQ(get.lParam, 't');
    EXPECT_EQ(tree.Rows().size(), 2u);
    get.mask = TVIF_TEXT;
    EXPECT_FALSE(tree.GetItem(&get));
}

} // namespace
