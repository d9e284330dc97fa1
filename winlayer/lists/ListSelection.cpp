#include "winlayer/lists/ListModel.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace winlayer {

void ListModel::Select(int row, bool extend) {
    if (row < 0 || row >= RowCount())
        return;
    if (!extend)
        selection_.clear();
    selection_.insert(row);
    current_ = row;
}

void ListModel::Deselect(int row) {
    selection_.erase(row);
    if (current_ == row)
        current_ = selection_.empty() ? -1 : *selection_.rbegin();
}

void ListModel::ReplaceSelection(const std::set<int>& rows) {
    selection_.clear();
    for (int row : rows)
        if (row >= 0 && row < RowCount())
            selection_.insert(row);
    current_ = selection_.empty() ? -1 : *selection_.rbegin();
}

bool ListModel::SetItemState(int row, UINT state, UINT mask) {
    if (row == -1)
        return SetAllRowsState(state, mask);
    if (OwnerData() ? row < 0 || row >= RowCount() : !Row(row))
        return false;
    bool imagesChanged = false;
    if ((mask & LVIS_STATEIMAGEMASK) && !OwnerData()) {
        std::vector<ListCell>& cells = rows_[row].cells;
        const int image = static_cast<int>((state >> 16) & 0xFF);
        if (cells.empty() && image != 0)
            cells.push_back(ListCell{std::string(), 0});
        if (!cells.empty() && cells[0].image != image) {
            cells[0].image = image;
            imagesChanged = true;
        }
    }
    bool selectionChanged = false;
    if (mask & 1) {
        if ((state & 1) && !IsSelected(row)) {
            Select(row, !SingleSelection());
            selectionChanged = true;
        } else if (!(state & 1) && IsSelected(row)) {
            Deselect(row);
            selectionChanged = true;
        }
    }
    if (selectionChanged && allRowsDepth_ == 0 && !inItemChanged_) {
        inItemChanged_ = true;
        events_.ItemChanged(row, state);
        inItemChanged_ = false;
    }
    if (imagesChanged || selectionChanged)
        events_.Changed();
    return true;
}

bool ListModel::SetAllRowsState(UINT state, UINT mask) {
    const std::set<int> before = selection_;
    if (mask & 1) {
        if (!(state & 1)) {
            selection_.clear();
            current_ = -1;
        } else if (SingleSelection()) {
            mask &= ~1u; // one row at most: the selection stays as it is
        } else {
            for (int row = 0; row < RowCount(); ++row)
                selection_.insert(row);
            current_ = RowCount() - 1;
        }
    }
    ++allRowsDepth_;
    for (int row = 0; row < RowCount(); ++row) {
        if (mask & ~1u)
            SetItemState(row, state, mask & ~1u);
        const bool was = before.count(row) != 0;
        if ((mask & 1) && was != ((state & 1) != 0) && !inAllRowsChanged_) {
            inAllRowsChanged_ = true;
            events_.ItemChanged(row, state);
            inAllRowsChanged_ = false;
        }
    }
    --allRowsDepth_;
    events_.Changed();
    return true;
}

int ListModel::InsertText(int position, const char* text) {
    LVITEM item{};
    item.mask = LVIF_TEXT;
    item.iItem = position;
    item.pszText = const_cast<char*>(text);
    return InsertItem(&item);
}

LRESULT ListModel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    const int count = RowCount();
    const int row = static_cast<int>(wParam);
    const bool rowExists = wParam < static_cast<WPARAM>(count) && Row(row);
    switch (message) {
    case LB_ADDSTRING:
        return InsertText(listBox_ && (style_ & LBS_SORT) ? SortedPlace(text, false) : count, text);
    case LB_INSERTSTRING:
        return InsertText(wParam < static_cast<WPARAM>(count) ? row : count, text);
    case LB_DELETESTRING:
        DeleteItem(row);
        return 0;
    case LB_GETTEXT_WISP: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer)
            return -1;
        buffer[0] = '\0';
        if (!rowExists || rows_[row].cells.empty() || !rows_[row].cells[0].text)
            return -1;
        const std::string& value = *rows_[row].cells[0].text;
        std::memcpy(buffer, value.c_str(), value.size() + 1);
        return static_cast<LRESULT>(value.size());
    }
    case LB_RESETCONTENT:
        DeleteAllItems();
        return 0;
    case LB_SETSEL:
        SetItemState(static_cast<int>(lParam), wParam != 0 ? 1 : 0, 1);
        return 0;
    case LB_SETCURSEL:
        if (wParam < static_cast<WPARAM>(count))
            Select(row, false);
        else
            ReplaceSelection({});
        events_.Changed();
        return 0;
    case LB_GETSEL:
        return wParam < static_cast<WPARAM>(count) && IsSelected(row) ? 1 : 0;
    case LB_GETCURSEL:
        return current_;
    case LB_GETTEXTLEN:
        if (!rowExists)
            return -1;
        return static_cast<LRESULT>(std::strlen(FirstText(row)));
    case LB_GETCOUNT:
        return count;
    case LB_GETSELCOUNT:
        return SelectedCount();
    case LB_GETITEMDATA:
        return rowExists ? rows_[row].data : 0;
    case LB_SETITEMDATA:
        if (rowExists)
            rows_[row].data = lParam;
        return 0;
    case LB_FINDSTRINGEXACT: {
        if (!text || count == 0 || OwnerData())
            return -1;
        const int start = static_cast<std::int64_t>(wParam) < 0 ? -1 : row;
        for (int step = 1; step <= count; ++step) {
            const int candidate =
                static_cast<int>((static_cast<std::int64_t>(start) + step) % count);
            if (strcasecmp(FirstText(candidate), text) == 0)
                return candidate;
        }
        return -1;
    }
    default:
        return 0;
    }
}

} // namespace winlayer
