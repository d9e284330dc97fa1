#include "winlayer/listviews/TreeView.h"

#include "winlayer/Runtime.h"
#include "winlayer/lists/ListRecords.h"
#include "winlayer/listviews/Cursor.h"
#include "winlayer/window/WindowCalls.h"

#include <algorithm>
#include <cmath>

namespace {

using winlayer::TreeItem;

constexpr std::uint32_t kControlKey = 0x40000;
constexpr UINT kContextMenu = 0x7B;
// The one column is this wide at least.
constexpr double kTreeColumnBase = 300;

const TreeItem* ItemOf(ak::OutlineItem item) {
    return static_cast<const TreeItem*>(item);
}

} // namespace

Wisp_vOmnarControl_treeview::Wisp_vOmnarControl_treeview(ak::Rect frame, int style)
    : ak::OutlineView(frame), style_(style) {
    AddColumn("tree", "", std::ceil(std::max(kTreeColumnBase, frame.size.width)));
    SetHeaderVisible(false);
    SetDataSource(this);
    SetAction([this](ak::Control&) { wispSelectionChanged(); });
    // Before the user or a call opens or closes an item.
    SetWillExpand([this](ak::OutlineItem item) {
        notifyParent(TVN_ITEMEXPANDING, const_cast<TreeItem*>(ItemOf(item)));
        const_cast<TreeItem*>(ItemOf(item))->expanded = true;
    });
    SetWillCollapse([this](ak::OutlineItem item) {
        notifyParent(TVN_ITEMEXPANDING, const_cast<TreeItem*>(ItemOf(item)));
        const_cast<TreeItem*>(ItemOf(item))->expanded = false;
    });
    SetDragBegin([this](ak::OutlineView&, ak::OutlineItem item) { return beginDrag(item); });
    SetDropValidate([this](ak::OutlineView&, const ak::OutlineDrop& proposed) {
        return validateDrop(proposed);
    });
    SetDrop([this](ak::OutlineView&, const ak::OutlineDrop&) { sendButtonUp(); });
    SetDragEnded([this](ak::OutlineView&) { sendButtonUp(); });
}

int Wisp_vOmnarControl_treeview::NumberOfChildren(ak::OutlineView&, ak::OutlineItem item) {
    return static_cast<int>(item ? ItemOf(item)->children.size() : model_.TopLevel().size());
}

ak::OutlineItem Wisp_vOmnarControl_treeview::Child(ak::OutlineView&, ak::OutlineItem item,
                                                   int index) {
    const auto& children = item ? ItemOf(item)->children : model_.TopLevel();
    return index >= 0 && index < static_cast<int>(children.size()) ? children[index].get()
                                                                   : nullptr;
}

bool Wisp_vOmnarControl_treeview::IsExpandable(ak::OutlineView&, ak::OutlineItem item) {
    return !item || ItemOf(item)->hasChildren;
}

std::string Wisp_vOmnarControl_treeview::TextAt(ak::OutlineView&, const std::string&,
                                                ak::OutlineItem item) {
    return item ? ItemOf(item)->text.value_or("") : std::string();
}

LRESULT Wisp_vOmnarControl_treeview::notifyParent(int code, TreeItem* item, bool) {
    NMTREEVIEW record{};
    record.hdr.hwndFrom = Handle();
    record.hdr.idFrom = static_cast<std::uint64_t>(Tag());
    record.hdr.code = code;
    record.itemNew.hItem = item;
    record.itemNew.lParam = item ? item->data : 0;
    return SendMessage(GetParent(Handle()), WM_NOTIFY, static_cast<WPARAM>(Tag()),
                       reinterpret_cast<LPARAM>(&record));
}

void Wisp_vOmnarControl_treeview::SelectionChanged(TreeItem* item) {
    Changed();
    notifyParent(TVN_SELCHANGED, item);
}

// The outline shows the model: its items, expansion and selection, without
// telling the parent again.
void Wisp_vOmnarControl_treeview::Changed() {
    syncing_ = true;
    ReloadData();
    const auto sync = [this](const auto& self, const auto& items) -> void {
        for (const auto& item : items) {
            if (item->expanded && !IsItemExpanded(item.get()))
                ExpandItem(item.get());
            else if (!item->expanded && IsItemExpanded(item.get()))
                CollapseItem(item.get());
            if (item->expanded)
                self(self, item->children);
        }
    };
    sync(sync, model_.TopLevel());
    SelectItem(model_.Selection());
    syncing_ = false;
}

void Wisp_vOmnarControl_treeview::wispSelectionChanged() {
    if (syncing_)
        return;
    auto* item = const_cast<TreeItem*>(ItemOf(SelectedItem()));
    model_.SetSelectionQuietly(item);
    notifyParent(TVN_SELCHANGED, item);
}

bool Wisp_vOmnarControl_treeview::MouseDownOnRows(const ak::RowMouse& mouse) {
    if (mouse.button == 1)
        return true; // a right press leaves the selection to the release
    if (mouse.button != 0)
        return false;
    if ((mouse.event.modifierFlags & kControlKey) && winlayer::RightClickEmulation()) {
        fakeRightMouse_ = true;
        return true;
    }
    notifyParent(NM_CLICK, nullptr);
    fakeRightMouse_ = false;
    // The outline's own press handling arms its item drags.
    return ak::OutlineView::MouseDownOnRows(mouse);
}

bool Wisp_vOmnarControl_treeview::MouseUpOnRows(const ak::RowMouse& mouse) {
    if (mouse.button != 0)
        return false;
    if (fakeRightMouse_ || (mouse.event.modifierFlags & kControlKey)) {
        rightRelease();
        return true;
    }
    return ak::OutlineView::MouseUpOnRows(mouse);
}

void Wisp_vOmnarControl_treeview::RightMouseUpOnRows(const ak::RowMouse&) {
    rightRelease();
}

void Wisp_vOmnarControl_treeview::rightRelease() {
    if (notifyParent(NM_RCLICK, nullptr) == 0)
        SendMessage(GetParent(Handle()), kContextMenu, reinterpret_cast<WPARAM>(Handle()),
                    winlayer::CursorOnScreenParam());
    fakeRightMouse_ = false;
}

bool Wisp_vOmnarControl_treeview::parentHasCapture() {
    const HWND parent = GetParent(Handle());
    return parent && GetCapture() == parent;
}

bool Wisp_vOmnarControl_treeview::beginDrag(ak::OutlineItem dragged) {
    if ((style_ & TVS_DISABLEDRAGDROP) || !GetParent(Handle()))
        return false;
    auto* item = const_cast<TreeItem*>(ItemOf(dragged));
    if (item && model_.Find(item) && model_.Selection() != item)
        model_.Select(item);
    else if (!item || !model_.Find(item))
        item = static_cast<TreeItem*>(model_.Selection());
    notifyParent(TVN_BEGINDRAG, item);
    return parentHasCapture();
}

std::optional<ak::OutlineDrop>
Wisp_vOmnarControl_treeview::validateDrop(const ak::OutlineDrop& proposed) {
    if (!parentHasCapture())
        return std::nullopt;
    const LRESULT answer = SendMessage(GetParent(Handle()), WM_MOUSEMOVE, 0,
                                       winlayer::CursorInClientParam(GetParent(Handle())));
    if (answer == -1)
        return std::nullopt;
    if (answer == -2) {
        // After the last child of the deepest last item that has children.
        const TreeItem* target = nullptr;
        const auto* level = &model_.TopLevel();
        while (!level->empty() && !level->back()->children.empty()) {
            target = level->back().get();
            level = &target->children;
        }
        if (!target)
            return proposed;
        return ak::OutlineDrop{target, static_cast<int>(target->children.size())};
    }
    if (answer > 0xFFFF) {
        const auto handle = reinterpret_cast<HTREEITEM>(answer);
        if (const auto place = model_.Find(handle); place && place->parent)
            return ak::OutlineDrop{place->parent, static_cast<int>(place->index)};
    }
    return proposed;
}

void Wisp_vOmnarControl_treeview::sendButtonUp() {
    if (!parentHasCapture())
        return;
    SendMessage(GetParent(Handle()), WM_LBUTTONUP, 0,
                winlayer::CursorInClientParam(GetParent(Handle())));
}

namespace winlayer {

HWND CreateTreeView(HWND parent, ak::Rect frame, int id, int style) {
    ak::View* view = FindView(parent);
    if (!view)
        return nullptr;
    auto tree = ak::MakeRef<Wisp_vOmnarControl_treeview>(frame, style);
    tree->SetTag(id);
    tree->SetHidden((style & winlayer::kHiddenStyle) != 0);
    view->AddSubview(tree.Get());
    tree->SetAction([raw = tree.Get()](ak::Control&) { raw->wispSelectionChanged(); });
    return tree->Handle();
}

} // namespace winlayer
