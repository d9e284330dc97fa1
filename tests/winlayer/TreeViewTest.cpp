// The tree view control in a window view on a display: calls reach the
// outline, the parent hears selection and expansion, hit tests and right
// clicks answer as Win32.
#include "winlayer/listviews/TreeView.h"

#include "tests/winlayer/support/ControlHost.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/listviews/ListView.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace winlayer::test {
namespace {

class TreeViewTest : public ControlHostTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowHost([](UINT message, LPARAM lParam) -> std::string {
            if (message == WM_NOTIFY) {
                const auto* record = reinterpret_cast<const NMTREEVIEW*>(lParam);
                const auto* item = static_cast<const TreeItem*>(record->itemNew.hItem);
                return std::to_string(record->hdr.code) + " " +
                       (item ? item->text.value_or("") : std::string("-"));
            }
            return message == 0x7B ? "context" : "";
        });
        // From a control list, as a dialog's creator builds it: a caption in
        // the type field, the id in the flag, the class in the text and the
        // style in the id field.
        EnableListControls();
        WISP_MakeSetCurParms(top, 0, 0, 1, 1, 0, 0);
        const DialogControlListEntry entries[] = {
            {"Presets", 44, "SysTreeView32", 0, 10, 10, 200, 150, 0}};
        WISP_GenerateDialogFromList(entries, 1);
        tree = GetDlgItem(top, 44);
        ASSERT_NE(tree, nullptr);
        char className[32] = "";
        GetClassName(tree, className, sizeof className);
        ASSERT_STREQ(className, "SysTreeView32");
        Settle();
    }
    HTREEITEM Add(HTREEITEM parent, const char* text) {
        TVINSERTSTRUCT insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.cChildren = 1;
        return TreeView_InsertItem(tree, &insert);
    }
    Wisp_vOmnarControl_treeview& Outline() {
        return *dynamic_cast<Wisp_vOmnarControl_treeview*>(FindObject(tree));
    }

    HWND tree = nullptr;
};

TEST_F(TreeViewTest, CallsReachTheOutlineAndTheParentHears) {
    HTREEITEM a = Add(TVI_ROOT, "a");
    Add(a, "a1");
    HTREEITEM b = Add(TVI_ROOT, "b");
    Settle();
    EXPECT_EQ(Outline().NumberOfRows(), 2);

    EXPECT_TRUE(TreeView_Expand(tree, a, TVE_EXPAND));
    Settle();
    EXPECT_EQ(Outline().NumberOfRows(), 3);
    EXPECT_EQ(notes, (std::vector<std::string>{"-405 a"}));

    notes.clear();
    TreeView_SelectItem(tree, b);
    Settle();
    EXPECT_EQ(Outline().SelectedItem(), b);
    EXPECT_EQ(TreeView_GetSelection(tree), b);
    EXPECT_EQ(notes, (std::vector<std::string>{"-402 b"})); // once: the outline does not echo

    // Another class and a stale item are refused.
    EXPECT_EQ(TreeView_GetRoot(top), nullptr);
    TreeView_DeleteItem(tree, b);
    TVITEM item{};
    item.mask = TVIF_HANDLE;
    item.hItem = b;
    EXPECT_FALSE(TreeView_GetItem(tree, &item));
}

TEST_F(TreeViewTest, HitTestBelowTheRowsAndRightClicks) {
    Add(TVI_ROOT, "only");
    Settle();
    const ak::Rect row = Outline().RectOfRow(0);
    TVHITTESTINFO info{};
    info.pt = POINT{20, static_cast<int>(row.origin.y + row.size.height + 20)};
    EXPECT_EQ(TreeView_HitTest(tree, &info), nullptr);
    EXPECT_EQ(info.flags, 0x1u);
    info = TVHITTESTINFO{};
    info.pt = POINT{20, static_cast<int>(row.origin.y + row.size.height / 2)};
    EXPECT_EQ(TreeView_HitTest(tree, &info), TreeView_GetRoot(tree));

    ak::Window* window = FindWindow(top);
    const ak::Point onRow{10 + 40.0, 10 + row.origin.y + row.size.height / 2};
    ak::test::Enter(*window, onRow);
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    Settle();
    notes.clear();
    const ak::test::Button right{3};
    ak::test::Press(*window, onRow, right);
    ak::test::Release(*window, onRow, right);
    Settle();
    EXPECT_EQ(notes, (std::vector<std::string>{"-5 -", "context"}));
}

// Item drags run with the parent through the capture: without it the drag
// stays silent; with it each move asks the parent, whose -1 refuses the drop
// and -2 moves it after the last child of the last item that has children
// (following last children from the last top-level item).
TEST_F(TreeViewTest, DragsAskTheParentOnlyWhileItHoldsTheCapture) {
    HTREEITEM a = Add(TVI_ROOT, "a");
    Add(a, "a1");
    HTREEITEM b = Add(TVI_ROOT, "b");
    Add(b, "b1");
    TreeView_Expand(tree, a, TVE_EXPAND);
    Settle();
    struct Case {
        bool capture;
        LRESULT answer;
        std::vector<std::string> notes;
        std::optional<ak::OutlineDrop> shown;
    };
    const Case cases[] = {
        {false, 0, {"-407 a1"}, std::nullopt},
        {true, -1, {"-407 a1", "move", "up"}, std::nullopt},
        {true, -2, {"-407 a1", "move", "up"}, ak::OutlineDrop{b, 1}},
    };
    ak::Window& window = *FindWindow(top);
    const auto rowPoint = [&](int row) {
        const ak::Rect r = Outline().RectOfRow(row);
        return Outline().ConvertPointToView({r.origin.x + 60, r.origin.y + r.size.height / 2},
                                            nullptr);
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::vector<std::string> heard;
        probe.hook = [&](HWND parent, UINT message, WPARAM, LPARAM lParam) -> LRESULT {
            if (message == WM_NOTIFY) {
                const auto* record = reinterpret_cast<const NMTREEVIEW*>(lParam);
                if (record->hdr.code != TVN_BEGINDRAG)
                    return 0;
                heard.push_back(
                    "-407 " +
                    static_cast<const TreeItem*>(record->itemNew.hItem)->text.value_or(""));
                if (c.capture)
                    SetCapture(parent);
            } else if (message == WM_MOUSEMOVE && !heard.empty()) {
                if (heard.back() != "move")
                    heard.push_back("move");
                return c.answer;
            } else if (message == WM_LBUTTONUP && !heard.empty()) {
                heard.push_back("up");
                ReleaseCapture();
            }
            return 0;
        };
        const ak::Point from = rowPoint(1);
        const ak::Point to = rowPoint(2);
        ak::test::Enter(window, from);
        ak::test::Move(window, from);
        ak::test::Press(window, from);
        Settle();
        for (int i = 1; i <= 4; ++i)
            ak::test::Move(window, {from.x, from.y + (to.y - from.y) * i / 4}, 1);
        Settle();
        EXPECT_EQ(Outline().CurrentDrop(), c.shown);
        ak::test::Release(window, to);
        Settle();
        EXPECT_EQ(heard, c.notes);
        EXPECT_EQ(GetCapture(), nullptr);
        probe.hook = nullptr;
    }
}

} // namespace
} // namespace winlayer::test
