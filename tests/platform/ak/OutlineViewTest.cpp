#include "platform/ak/OutlineView.h"
#include "tests/platform/ak/ShownControl.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using ak::OutlineItem;
using ak::Rect;

// Banks holding presets; the handles are addresses of the names.
struct Library : ak::OutlineDataSource {
    std::vector<std::string> banks{"Bank A", "Bank B"};
    std::map<std::string, std::vector<std::string>> presets{{"Bank A", {"Clean", "Drive"}},
                                                            {"Bank B", {"Fuzz"}}};
    std::vector<std::string>& ChildrenOf(OutlineItem item) {
        return item ? presets[*static_cast<const std::string*>(item)] : banks;
    }
    int NumberOfChildren(ak::OutlineView&, OutlineItem item) override {
        return static_cast<int>(ChildrenOf(item).size());
    }
    OutlineItem Child(ak::OutlineView&, OutlineItem item, int index) override {
        return &ChildrenOf(item).at(static_cast<size_t>(index));
    }
    bool IsExpandable(ak::OutlineView&, OutlineItem item) override {
        return presets.count(*static_cast<const std::string*>(item)) > 0;
    }
    std::string TextAt(ak::OutlineView&, const std::string&, OutlineItem item) override {
        return *static_cast<const std::string*>(item);
    }
};

struct OutlineViewTest : ShownControl<ak::OutlineView> {
    void SetUp() override {
        ShownControl::SetUp();
        outline = control.Get();
        outline->AddColumn("name", "Name", 200);
        outline->SetDataSource(&library);
        Show();
    }
    OutlineItem Bank(int i) { return &library.banks.at(static_cast<size_t>(i)); }
    OutlineItem Preset(const std::string& bank, int i) {
        return &library.presets[bank].at(static_cast<size_t>(i));
    }
    Library library;
    ak::OutlineView* outline = nullptr;
};

TEST_F(OutlineViewTest, RowsFollowExpansionAndMapToItems) {
    EXPECT_EQ(outline->NumberOfRows(), 2);
    EXPECT_EQ(outline->ItemAtRow(1), Bank(1));
    EXPECT_EQ(outline->RowForItem(Preset("Bank A", 0)), -1) << "hidden in a closed bank";

    outline->ExpandItem(Bank(0));
    EXPECT_TRUE(outline->IsItemExpanded(Bank(0)));
    EXPECT_EQ(outline->NumberOfRows(), 4);
    EXPECT_EQ(outline->RowForItem(Preset("Bank A", 1)), 2);
    EXPECT_EQ(outline->RowForItem(Bank(1)), 3);
    EXPECT_EQ(outline->ItemAtRow(4), nullptr);
    EXPECT_EQ(outline->ItemAtRow(-1), nullptr);

    outline->CollapseItem(Bank(0));
    EXPECT_EQ(outline->NumberOfRows(), 2);
}

TEST_F(OutlineViewTest, ReloadKeepsOpenItemsAndSelectionAndTellsNothing) {
    library.presets["Bank B"].reserve(8); // handles must stay put across the reload
    outline->ReloadData();
    std::vector<OutlineItem> willExpand;
    std::vector<OutlineItem> willCollapse;
    outline->SetWillExpand([&](OutlineItem item) { willExpand.push_back(item); });
    outline->SetWillCollapse([&](OutlineItem item) { willCollapse.push_back(item); });
    outline->ExpandItem(Bank(1));
    outline->SelectItem(Preset("Bank B", 0));
    EXPECT_EQ(willExpand, std::vector<OutlineItem>{Bank(1)});

    library.presets["Bank B"].push_back("Octave");
    OutlineItem kept = Preset("Bank B", 0);
    outline->ReloadData();
    EXPECT_TRUE(outline->IsItemExpanded(Bank(1)));
    EXPECT_EQ(outline->NumberOfRows(), 4);
    EXPECT_EQ(outline->SelectedItem(), kept);
    EXPECT_EQ(willExpand.size(), 1u) << "restoring open items is no user's expansion";

    outline->CollapseItem(Bank(1));
    EXPECT_EQ(willCollapse, std::vector<OutlineItem>{Bank(1)});
    EXPECT_EQ(fired, 0) << "no selection change was the user's";
}

TEST_F(OutlineViewTest, ASourceWhoseItemsContainThemselvesStopsAtADepth) {
    struct Loop : ak::OutlineDataSource {
        std::string name = "Loop";
        int NumberOfChildren(ak::OutlineView&, OutlineItem) override { return 1; }
        OutlineItem Child(ak::OutlineView&, OutlineItem, int) override { return &name; }
        bool IsExpandable(ak::OutlineView&, OutlineItem) override { return true; }
        std::string TextAt(ak::OutlineView&, const std::string&, OutlineItem) override {
            return name;
        }
    } loop;
    outline->SetDataSource(&loop);
    EXPECT_EQ(outline->NumberOfRows(), 1);
    outline->SetDataSource(nullptr);
    EXPECT_EQ(outline->NumberOfRows(), 0);
}

} // namespace

namespace {

TEST_F(OutlineViewTest, InsertAndRemoveAtAParentTouchOnlyThatChild) {
    library.presets["Bank A"].reserve(8);
    outline->ReloadData();
    outline->ExpandItem(Bank(0));
    outline->SelectItem(Bank(1));

    auto& bankA = library.presets.at("Bank A");
    bankA.insert(bankA.begin() + 1, "Chorus");
    outline->InsertItem(Bank(0), 1);
    EXPECT_EQ(outline->NumberOfRows(), 5);
    EXPECT_EQ(outline->ItemAtRow(2), Preset("Bank A", 1));
    EXPECT_EQ(outline->SelectedItem(), Bank(1));

    outline->InsertItem(Bank(0), 7); // the source has no such child
    outline->InsertItem(Preset("Bank A", 0), 0);
    EXPECT_EQ(outline->NumberOfRows(), 5);

    const OutlineItem chorus = Preset("Bank A", 1);
    outline->RemoveItem(Bank(0), 0);
    EXPECT_EQ(outline->NumberOfRows(), 4);
    EXPECT_EQ(outline->ItemAtRow(1), chorus);
    outline->RemoveItem(nullptr, 9);
    EXPECT_EQ(outline->NumberOfRows(), 4);
    EXPECT_EQ(fired, 0);
}

} // namespace
