#include "winlayer/lists/TreeModel.h"

#include <algorithm>
#include <cstring>

namespace winlayer {

namespace {

using Items = std::vector<std::unique_ptr<TreeItem>>;

bool IsSpecial(HTREEITEM item) {
    const auto value = reinterpret_cast<std::uintptr_t>(item);
    return value >= TVI_ROOT_VALUE && value <= TVI_SORT_VALUE;
}

std::optional<std::size_t> IndexIn(const Items& items, HTREEITEM item) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == item)
            return i;
    return std::nullopt;
}

// Children first, then each child's subtree, so a shallow hit wins.
std::optional<TreeModel::Place> SearchBelow(TreeItem* parent, HTREEITEM item) {
    if (const auto index = IndexIn(parent->children, item))
        return TreeModel::Place{parent, *index};
    for (const auto& child : parent->children)
        if (auto place = SearchBelow(child.get(), item))
            return place;
    return std::nullopt;
}

void AppendRows(const Items& items, std::vector<TreeItem*>& rows) {
    for (const auto& item : items) {
        rows.push_back(item.get());
        if (item->expanded)
            AppendRows(item->children, rows);
    }
}

} // namespace

std::optional<TreeModel::Place> TreeModel::Find(HTREEITEM item) const {
    if (!item)
        return std::nullopt;
    if (const auto index = IndexIn(top_, item))
        return Place{nullptr, *index};
    for (const auto& top : top_)
        if (auto place = SearchBelow(top.get(), item))
            return place;
    return std::nullopt;
}

Items& TreeModel::ChildrenOf(TreeItem* parent) {
    return parent ? parent->children : top_;
}

const Items& TreeModel::ChildrenOf(const TreeItem* parent) const {
    return parent ? parent->children : top_;
}

HTREEITEM TreeModel::Insert(const TVINSERTSTRUCT* insert) {
    if (!insert)
        return nullptr;
    TreeItem* parent = nullptr;
    if (insert->hParent && !IsSpecial(insert->hParent)) {
        const auto place = Find(insert->hParent);
        if (!place)
            return nullptr;
        parent = static_cast<TreeItem*>(insert->hParent);
    }
    Items& siblings = ChildrenOf(parent);
    const HTREEITEM after = insert->hInsertAfter;
    std::size_t index = siblings.size();
    if (after == TVI_FIRST)
        index = 0;
    else if (after && after != TVI_LAST && after != TVI_SORT) {
        const auto found = IndexIn(siblings, after);
        index = found ? *found + 1 : 0;
    }
    auto item = std::make_unique<TreeItem>();
    const TVITEM& source = insert->item;
    if (source.mask & TVIF_CHILDREN)
        item->hasChildren = source.cChildren != 0;
    if (source.mask & TVIF_PARAM)
        item->data = source.lParam;
    if ((source.mask & TVIF_TEXT) && source.pszText)
        item->text = source.pszText;
    TreeItem* raw = item.get();
    siblings.insert(siblings.begin() +
                        static_cast<std::ptrdiff_t>(std::min(index, siblings.size())),
                    std::move(item));
    events_.Changed();
    return raw;
}

bool TreeModel::InSubtree(const TreeItem* root, const TreeItem* item) const {
    if (root == item)
        return true;
    return std::any_of(root->children.begin(), root->children.end(),
                       [&](const auto& child) { return InSubtree(child.get(), item); });
}

void TreeModel::Delete(HTREEITEM item) {
    const auto place = Find(item);
    if (!place)
        return;
    Items& siblings = ChildrenOf(place->parent);
    const bool selectionGoes = selected_ && InSubtree(siblings[place->index].get(), selected_);
    std::unique_ptr<TreeItem> removed = std::move(siblings[place->index]);
    siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(place->index));
    if (selectionGoes) {
        if (place->parent)
            Select(place->parent);
        else
            selected_ = nullptr; // its row is gone; nothing is reported
    }
    events_.Changed();
}

void TreeModel::DeleteAll() {
    selected_ = nullptr;
    top_.clear();
    events_.Changed();
}

bool TreeModel::GetItem(TVITEM* item) const {
    if (!item || !(item->mask & TVIF_HANDLE) || !Find(item->hItem))
        return false;
    const auto* source = static_cast<const TreeItem*>(item->hItem);
    item->cChildren = source->hasChildren ? 1 : 0;
    item->lParam = source->data;
    if ((item->mask & TVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        const std::string text = source->text.value_or("");
        const std::size_t n = std::min(text.size(), static_cast<std::size_t>(item->cchTextMax - 1));
        std::memcpy(item->pszText, text.data(), n);
        item->pszText[n] = '\0';
    }
    item->state = 0;
    if (selected_ == source && HasRow(source))
        item->state |= TVIS_SELECTED;
    if (source->expanded)
        item->state |= TVIS_EXPANDED;
    return true;
}

bool TreeModel::SetItem(const TVITEM* item) {
    if (!item || !(item->mask & TVIF_HANDLE) || !Find(item->hItem))
        return false;
    auto* target = static_cast<TreeItem*>(item->hItem);
    if (item->mask & TVIF_CHILDREN)
        target->hasChildren = item->cChildren != 0;
    if (item->mask & TVIF_PARAM)
        target->data = item->lParam;
    if ((item->mask & TVIF_TEXT) && item->pszText)
        target->text = item->pszText;
    if ((item->stateMask & TVIS_SELECTED) && (item->state & TVIS_SELECTED) && HasRow(target)) {
        selected_ = target;
        if (!inSetItemChanged_) {
            inSetItemChanged_ = true;
            events_.SelectionChanged(target);
            inSetItemChanged_ = false;
        }
    }
    if (item->stateMask & TVIS_EXPANDED)
        target->expanded = (item->state & TVIS_EXPANDED) != 0;
    events_.Changed();
    return true;
}

HTREEITEM TreeModel::Root() const {
    return top_.empty() ? nullptr : top_.front().get();
}

HTREEITEM TreeModel::Child(HTREEITEM item) const {
    if (!item || item == TVI_ROOT)
        return Root();
    if (!Find(item))
        return nullptr;
    const auto* parent = static_cast<const TreeItem*>(item);
    return parent->children.empty() ? nullptr : parent->children.front().get();
}

HTREEITEM TreeModel::NextSibling(HTREEITEM item) const {
    if (!item)
        return Root();
    const auto place = Find(item);
    if (!place)
        return nullptr;
    const Items& siblings = ChildrenOf(place->parent);
    return place->index + 1 < siblings.size() ? siblings[place->index + 1].get() : nullptr;
}

HTREEITEM TreeModel::Parent(HTREEITEM item) const {
    if (!item)
        return Root();
    const auto place = Find(item);
    return place ? place->parent : nullptr;
}

void TreeModel::Select(HTREEITEM item) {
    if (!item) {
        selected_ = nullptr; // clearing is silent
        events_.Changed();
        return;
    }
    if (!Find(item))
        return;
    auto* target = static_cast<TreeItem*>(item);
    if (HasRow(target))
        selected_ = target;
    if (!inSelectChanged_) {
        inSelectChanged_ = true;
        events_.SelectionChanged(target);
        inSelectChanged_ = false;
    }
    events_.Changed();
}

bool TreeModel::Expand(HTREEITEM item, int code) {
    if (!Find(item))
        return false;
    auto* target = static_cast<TreeItem*>(item);
    const bool acts = code == TVE_TOGGLE || (code == TVE_EXPAND && !target->expanded) ||
                      (code == TVE_COLLAPSE && target->expanded);
    if (!acts)
        return false;
    target->expanded = !target->expanded;
    events_.Changed();
    return true;
}

bool TreeModel::HasRow(const TreeItem* item) const {
    const auto place = Find(const_cast<TreeItem*>(item));
    if (!place)
        return false;
    return !place->parent || (place->parent->expanded && HasRow(place->parent));
}

std::vector<TreeItem*> TreeModel::Rows() const {
    std::vector<TreeItem*> rows;
    AppendRows(top_, rows);
    return rows;
}

} // namespace winlayer
