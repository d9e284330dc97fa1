#pragma once

#include "platform/ak/Control.h"

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
};

// A tree of rows in columns; the first column carries the disclosure
// triangles. The action fires when the user changes the selection.
class OutlineView : public Control {
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
    void AddColumn(const std::string& identifier, const std::string& title, double width);

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
    int NumberOfRows() const;
    int RowForItem(OutlineItem item) const;
    OutlineItem ItemAtRow(int row) const;

    void SelectItem(OutlineItem item);
    OutlineItem SelectedItem() const;
    // The indentation of one level, in pixels.
    void SetIndentation(int pixels);

private:
    static void OnSelectionChanged(void* selection, OutlineView* self);
    static int OnTestExpand(void* tree, void* iter, void* path, OutlineView* self);
    static int OnTestCollapse(void* tree, void* iter, void* path, OutlineView* self);
    void Fill(void* parentIter, OutlineItem item, int depth);
    std::vector<OutlineItem> VisibleItems() const;
    bool FindIter(OutlineItem item, void* iter) const;
    // The parent's iter (null for the root) or false when it is not shown.
    bool ParentIter(OutlineItem parent, void* iter, void** out) const;
    OutlineDataSource* m_source = nullptr;
    void* m_tree;
    void* m_store;
    bool m_collapsing = false;
    std::function<void(OutlineItem)> m_willExpand;
    std::function<void(OutlineItem)> m_willCollapse;
};

} // namespace ak
