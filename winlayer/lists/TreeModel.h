#pragma once

#include "winlayer/InputRecords.h"
#include "winlayer/WinTypes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Records and the item tree of the tree view control, kept apart from any
// toolkit. A tree-item handle points at a TreeItem; handles are checked by
// searching the tree, so a stale one is never read.

using HTREEITEM = void*;

inline constexpr std::uintptr_t TVI_ROOT_VALUE = 0xFFFF0000;
inline constexpr std::uintptr_t TVI_FIRST_VALUE = 0xFFFF0001;
inline constexpr std::uintptr_t TVI_LAST_VALUE = 0xFFFF0002;
inline constexpr std::uintptr_t TVI_SORT_VALUE = 0xFFFF0003;
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(TVI_ROOT_VALUE);
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(TVI_FIRST_VALUE);
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(TVI_LAST_VALUE);
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(TVI_SORT_VALUE);

inline constexpr UINT TVIF_TEXT = 0x1;
inline constexpr UINT TVIF_PARAM = 0x4;
inline constexpr UINT TVIF_STATE = 0x8;
inline constexpr UINT TVIF_HANDLE = 0x10;
inline constexpr UINT TVIF_CHILDREN = 0x40;
inline constexpr UINT TVIS_SELECTED = 0x2;
inline constexpr UINT TVIS_EXPANDED = 0x20;
inline constexpr int TVE_COLLAPSE = 1;
inline constexpr int TVE_EXPAND = 2;
inline constexpr int TVE_TOGGLE = 3;
inline constexpr int TVS_DISABLEDRAGDROP = 0x10;
inline constexpr int TVN_BEGINDRAG = -407;

struct TVINSERTSTRUCT {
    HTREEITEM hParent;
    HTREEITEM hInsertAfter;
    TVITEM item;
};

struct TVHITTESTINFO {
    POINT pt;
    UINT flags;
    HTREEITEM hItem;
};

namespace winlayer {

struct TreeItem {
    std::optional<std::string> text; // none shows as ""
    bool hasChildren = false;
    bool expanded = false;
    LPARAM data = 0;
    std::vector<std::unique_ptr<TreeItem>> children;
};

class TreeEvents {
public:
    virtual ~TreeEvents() = default;
    // TVN_SELCHANGED to the parent window.
    virtual void SelectionChanged(TreeItem* item) = 0;
    // Items, texts, expansion or selection changed: the view shows them.
    virtual void Changed() {}
};

class TreeModel {
public:
    explicit TreeModel(TreeEvents& events) : events_(events) {}

    struct Place {
        TreeItem* parent = nullptr; // null for the top level
        std::size_t index = 0;
    };
    // Where the item sits, searched without reading the handle.
    std::optional<Place> Find(HTREEITEM item) const;

    HTREEITEM Insert(const TVINSERTSTRUCT* insert);
    void Delete(HTREEITEM item);
    void DeleteAll();
    bool GetItem(TVITEM* item) const;
    bool SetItem(const TVITEM* item);
    HTREEITEM Root() const;
    HTREEITEM Child(HTREEITEM item) const;
    HTREEITEM NextSibling(HTREEITEM item) const;
    HTREEITEM Parent(HTREEITEM item) const;
    HTREEITEM Selection() const { return selected_; }
    void Select(HTREEITEM item);
    // The user's own selection: nothing is reported from here.
    void SetSelectionQuietly(TreeItem* item) { selected_ = item; }
    bool Expand(HTREEITEM item, int code);
    // Shown as a row: every ancestor expanded.
    bool HasRow(const TreeItem* item) const;
    const std::vector<std::unique_ptr<TreeItem>>& TopLevel() const { return top_; }
    // The rows as the view lists them, expanded subtrees inline.
    std::vector<TreeItem*> Rows() const;

private:
    std::vector<std::unique_ptr<TreeItem>>& ChildrenOf(TreeItem* parent);
    const std::vector<std::unique_ptr<TreeItem>>& ChildrenOf(const TreeItem* parent) const;
    bool InSubtree(const TreeItem* root, const TreeItem* item) const;

    TreeEvents& events_;
    std::vector<std::unique_ptr<TreeItem>> top_;
    TreeItem* selected_ = nullptr;
    bool inSelectChanged_ = false;
    bool inSetItemChanged_ = false;
};

} // namespace winlayer
