#pragma once

#include "platform/ak/OutlineView.h"
#include "winlayer/lists/TreeModel.h"
#include "winlayer/window/ControlReports.h"
#include "winlayer/window/WindowView.h"

// The tree view control: an ak outline showing a TreeModel, its Win32 calls,
// and the notifications and drags it runs with its parent.

class Wisp_vOmnarControl_treeview : public ak::OutlineView,
                                    public ak::OutlineDataSource,
                                    public winlayer::TreeEvents,
                                    public winlayer::WispMessageTarget,
                                    public winlayer::WispClassNamed {
public:
    Wisp_vOmnarControl_treeview(ak::Rect frame, int style);

    winlayer::TreeModel& model() { return model_; }
    const char* getWispClass() const override { return "SysTreeView32"; }
    HWND Handle() { return winlayer::HandleOf(this); }
    int style() const { return style_; }

    LRESULT onWispMessage(UINT, WPARAM, LPARAM) override { return 0; }

    int NumberOfChildren(ak::OutlineView&, ak::OutlineItem item) override;
    ak::OutlineItem Child(ak::OutlineView&, ak::OutlineItem item, int index) override;
    bool IsExpandable(ak::OutlineView&, ak::OutlineItem item) override;
    std::string TextAt(ak::OutlineView&, const std::string& column, ak::OutlineItem item) override;

    void SelectionChanged(winlayer::TreeItem* item) override;
    void Changed() override;
    // The user changed the outline's selection or expanded an item.
    void wispSelectionChanged();

protected:
    bool MouseDownOnRows(const ak::RowMouse& mouse) override;
    bool MouseUpOnRows(const ak::RowMouse& mouse) override;
    void RightMouseUpOnRows(const ak::RowMouse& mouse) override;

private:
    LRESULT notifyParent(int code, winlayer::TreeItem* item, bool toTarget = false);
    void rightRelease();
    bool parentHasCapture();
    bool beginDrag(ak::OutlineItem item);
    std::optional<ak::OutlineDrop> validateDrop(const ak::OutlineDrop& proposed);
    void sendButtonUp();

    winlayer::TreeModel model_{*this};
    int style_;
    bool fakeRightMouse_ = false;
    bool syncing_ = false;
};

namespace winlayer {
HWND CreateTreeView(HWND parent, ak::Rect frame, int id, int style);
} // namespace winlayer

HTREEITEM TreeView_InsertItem(HWND tree, const TVINSERTSTRUCT* insert);
void TreeView_DeleteItem(HWND tree, HTREEITEM item);
void TreeView_DeleteAllItems(HWND tree);
BOOL TreeView_GetItem(HWND tree, TVITEM* item);
BOOL TreeView_SetItem(HWND tree, const TVITEM* item);
HTREEITEM TreeView_GetRoot(HWND tree);
HTREEITEM TreeView_GetChild(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetNextSibling(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetParent(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetSelection(HWND tree);
void TreeView_SelectItem(HWND tree, HTREEITEM item);
BOOL TreeView_Expand(HWND tree, HTREEITEM item, int code);
void TreeView_EnsureVisible(HWND tree, HTREEITEM item);
HTREEITEM TreeView_HitTest(HWND tree, TVHITTESTINFO* info);
BOOL TreeView_SetIndent(HWND tree, int points);
void TreeView_SetBkColor(HWND tree, int color);
void TreeView_SetTextColor(HWND tree, int color);
