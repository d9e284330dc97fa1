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

TEST_F(OutlineViewTest, TakingTheFocusSelectsNothing) {
    outline->BecomeFirstResponder();
    ASSERT_TRUE(ak::test::WaitUntilServed());
    EXPECT_TRUE(outline->HasFocus());
    EXPECT_EQ(outline->SelectedItem(), nullptr);
    EXPECT_EQ(fired, 0);
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

namespace {

struct OutlineDragTest : OutlineViewTest {
    void SetUp() override {
        OutlineViewTest::SetUp();
        outline->ExpandItem(Bank(0)); // Bank A, Clean, Drive, Bank B
        outline->SetDragBegin([this](ak::OutlineView&, OutlineItem item) {
            begun.push_back(item);
            return takeDrags;
        });
        outline->SetDropValidate([this](ak::OutlineView&, const ak::OutlineDrop& proposed) {
            proposals.push_back(proposed);
            return answer ? answer(proposed) : std::optional<ak::OutlineDrop>(proposed);
        });
        outline->SetDrop(
            [this](ak::OutlineView&, const ak::OutlineDrop& at) { drops.push_back(at); });
        outline->SetDragEnded([this](ak::OutlineView&) { ++ended; });
    }
    // A point of a row (fraction: how far down it), in the window.
    ak::Point RowPoint(int row, double fraction) {
        const Rect r = outline->RectOfRow(row);
        return outline->ConvertPointToView({r.MinX() + 60, r.MinY() + r.size.height * fraction},
                                           nullptr);
    }
    void Drag(ak::Point from, ak::Point to) {
        ak::test::Enter(*window, from);
        ak::test::Move(*window, from);
        ak::test::Press(*window, from);
        EXPECT_TRUE(ak::test::WaitUntilSettled(*window));
        for (int i = 1; i <= 4; ++i)
            ak::test::Move(*window, {from.x, from.y + (to.y - from.y) * i / 4}, 1);
        EXPECT_TRUE(ak::test::WaitUntilSettled(*window));
        dropShown = outline->CurrentDrop();
        ak::test::Release(*window, to);
        EXPECT_TRUE(ak::test::WaitUntilSettled(*window));
    }
    bool takeDrags = true;
    std::function<std::optional<ak::OutlineDrop>(const ak::OutlineDrop&)> answer;
    std::vector<OutlineItem> begun;
    std::vector<ak::OutlineDrop> proposals;
    std::vector<ak::OutlineDrop> drops;
    std::optional<ak::OutlineDrop> dropShown;
    int ended = 0;
};

TEST_F(OutlineDragTest, TheCallerRetargetsADropAndReceivesItsOwnPlace) {
    const ak::OutlineDrop elsewhere{Bank(0), 2};
    answer = [&](const ak::OutlineDrop&) { return elsewhere; };
    Drag(RowPoint(1, 0.5), RowPoint(3, 0.4));
    EXPECT_EQ(begun, std::vector<OutlineItem>{Preset("Bank A", 0)});
    EXPECT_EQ(outline->SelectedItem(), Preset("Bank A", 0));
    ASSERT_FALSE(proposals.empty());
    EXPECT_EQ(proposals.back(), (ak::OutlineDrop{Bank(1), -1})) << "onto a bank";
    EXPECT_EQ(dropShown, elsewhere);
    EXPECT_EQ(drops, std::vector<ak::OutlineDrop>{elsewhere});
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(outline->IsDragging());
    EXPECT_EQ(outline->CurrentDrop(), std::nullopt);
}

TEST_F(OutlineDragTest, ProposalsBetweenRowsAndRefusedDrops) {
    answer = [](const ak::OutlineDrop&) { return std::nullopt; };
    Drag(RowPoint(2, 0.5), RowPoint(3, 0.1));
    EXPECT_EQ(proposals.back(), (ak::OutlineDrop{nullptr, 1})) << "before Bank B";
    Drag(RowPoint(2, 0.5), RowPoint(1, 0.9));
    EXPECT_EQ(proposals.back(), (ak::OutlineDrop{Bank(0), 1})) << "after Clean, a preset";
    Drag(RowPoint(2, 0.5), RowPoint(3, 3.5));
    EXPECT_EQ(proposals.back(), (ak::OutlineDrop{nullptr, 2})) << "below every row";
    EXPECT_TRUE(drops.empty());
    EXPECT_EQ(ended, 3);
}

TEST_F(OutlineDragTest, ADragTheCallerDeclinesGoesNoFurther) {
    takeDrags = false;
    Drag(RowPoint(1, 0.5), RowPoint(3, 0.5));
    EXPECT_EQ(begun.size(), 1u);
    EXPECT_TRUE(proposals.empty());
    EXPECT_EQ(ended, 0);
    outline->SetDragBegin(nullptr);
    Drag(RowPoint(1, 0.5), RowPoint(3, 0.5));
    EXPECT_EQ(begun.size(), 1u);
    EXPECT_TRUE(drops.empty());
}

} // namespace
