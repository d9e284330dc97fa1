#pragma once

#include "platform/ak/RowsView.h"

#include <optional>

#include <functional>
#include <string>
#include <vector>

namespace ak {

class OutlineView;

// Items are the caller's own handles; null is the invisible root. The
// outline keeps the handles, never a copy of what they show.
using OutlineItem = const void*;

class OutlineDataSource {
public:
    virtual ~OutlineDataSource() = default;
    virtual int NumberOfChildren(OutlineView& outline, OutlineItem item) = 0;
    virtual OutlineItem Child(OutlineView& outline, OutlineItem item, int index) = 0;
    virtual bool IsExpandable(OutlineView& outline, OutlineItem item) = 0;
    virtual std::string TextAt(OutlineView& outline, const std::string& column,
                               OutlineItem item) = 0;
    // Asked of status cells only.
    virtual Ref<Image> ImageAt(OutlineView&, const std::string& /*column*/, OutlineItem) {
        return {};
    }
    virtual std::optional<Color> TextColorAt(OutlineView&, const std::string& /*column*/,
                                             OutlineItem) {
        return std::nullopt;
    }
};

// Where a dragged item would go: the child at index of parent (null: the
// top level), or onto parent itself with index -1.
struct OutlineDrop {
    OutlineItem parent = nullptr;
    int index = -1;
    bool operator==(const OutlineDrop&) const = default;
};

// A tree of rows in columns; the first column carries the disclosure
// triangles. The action fires when the user changes the selection.
class OutlineView : public RowsView {
public:
    explicit OutlineView(Rect frame);

    // Not owned; it must outlive the outline or be replaced first.
    void SetDataSource(OutlineDataSource* source);
    // Asks the source for the whole tree again; expanded items stay expanded.
    void ReloadData();
    // The source gained or lost the child at index of parent (null: the
    // root); cheaper than a reload and keeps every other row's state.
    void InsertItem(OutlineItem parent, int index);
    void RemoveItem(OutlineItem parent, int index);

    void ExpandItem(OutlineItem item);
    void CollapseItem(OutlineItem item);
    bool IsItemExpanded(OutlineItem item) const;
    // Called before the user or a call expands or collapses an item.
    void SetWillExpand(std::function<void(OutlineItem)> callback) {
        m_willExpand = std::move(callback);
    }
    void SetWillCollapse(std::function<void(OutlineItem)> callback) {
        m_willCollapse = std::move(callback);
    }

    // Visible rows top to bottom; -1 / null where there is none.
    int NumberOfRows() const override;
    int RowForItem(OutlineItem item) const;
    OutlineItem ItemAtRow(int row) const;

    void SelectItem(OutlineItem item);
    OutlineItem SelectedItem() const;
    // The indentation of one level, in pixels.
    void SetIndentation(int pixels);

    // Dragging an item within the outline. The user's drag of a row selects
    // its item, then asks begin whether it may go on (none set: no drags).
    // Each move asks validate about the place under the pointer: nothing
    // refuses it, a place (that one or another) takes it. Releasing over a
    // taken place hands it to drop; ended comes last, whatever happened.
    using DragBegin = std::function<bool(OutlineView&, OutlineItem)>;
    using DropValidate =
        std::function<std::optional<OutlineDrop>(OutlineView&, const OutlineDrop& proposed)>;
    using Drop = std::function<void(OutlineView&, const OutlineDrop&)>;
    using DragEnded = std::function<void(OutlineView&)>;
    void SetDragBegin(DragBegin callback) { m_dragBegin = std::move(callback); }
    void SetDropValidate(DropValidate callback) { m_dropValidate = std::move(callback); }
    void SetDrop(Drop callback) { m_drop = std::move(callback); }
    void SetDragEnded(DragEnded callback) { m_dragEnded = std::move(callback); }
    bool IsDragging() const { return m_dragging; }
    // The place the drag would drop on now, if any.
    std::optional<OutlineDrop> CurrentDrop() const { return m_target; }

protected:
    // Subclasses overriding these call them too: they run the item drags.
    bool MouseDownOnRows(const RowMouse& mouse) override;
    void MouseDraggedOnRows(const RowMouse& mouse) override;
    bool MouseUpOnRows(const RowMouse& mouse) override;
    CellContent ContentOf(const std::string& column, void* model, void* iter) override;
    void* PathOfRow(int row) const override;
    int RowOfPath(void* path) const override;

private:
    OutlineDrop ProposedDrop(Point inView) const;
    void ShowDropTarget();
    void EndDrag();
    OutlineItem m_pressed = nullptr;
    Point m_pressPoint;
    bool m_dragging = false;
    std::optional<OutlineDrop> m_target;
    DragBegin m_dragBegin;
    DropValidate m_dropValidate;
    Drop m_drop;
    DragEnded m_dragEnded;

    static void OnSelectionChanged(void* selection, OutlineView* self);
    static int OnTestExpand(void* tree, void* iter, void* path, OutlineView* self);
    static int OnTestCollapse(void* tree, void* iter, void* path, OutlineView* self);
    void Fill(void* parentIter, OutlineItem item, int depth);
    std::vector<OutlineItem> VisibleItems() const;
    bool FindIter(OutlineItem item, void* iter) const;
    // The parent's iter (null for the root) or false when it is not shown.
    bool ParentIter(OutlineItem parent, void* iter, void** out) const;
    OutlineDataSource* m_source = nullptr;
    bool m_collapsing = false;
    std::function<void(OutlineItem)> m_willExpand;
    std::function<void(OutlineItem)> m_willCollapse;
};

} // namespace ak
