#include "winlayer/lists/ListModel.h"

#include <algorithm>
#include <cstring>

namespace winlayer {

namespace {

int CompareTexts(const char* a, const char* b) {
    return std::strcmp(a ? a : "", b ? b : "");
}

void CopyText(const char* text, char* buffer, int size) {
    const std::size_t length = text ? std::strlen(text) : 0;
    const std::size_t n = std::min(length, static_cast<std::size_t>(size - 1));
    if (n)
        std::memcpy(buffer, text, n);
    buffer[n] = '\0';
}

} // namespace

ListModel::ListModel(int style, bool listBoxMode, ListEvents& events)
    : style_(style), listBox_(listBoxMode), events_(events) {}

bool ListModel::SingleSelection() const {
    return listBox_ ? !(style_ & LBS_EXTENDEDSEL) : (style_ & LVS_SINGLESEL) != 0;
}

int ListModel::RowCount() const {
    return OwnerData() ? ownerCount_ : static_cast<int>(rows_.size());
}

const ListRow* ListModel::Row(int row) const {
    return row >= 0 && row < static_cast<int>(rows_.size()) ? &rows_[row] : nullptr;
}

const char* ListModel::FirstText(int row) const {
    const ListRow& r = rows_[row];
    return r.cells.empty() || !r.cells[0].text ? "" : r.cells[0].text->c_str();
}

// Binary search for the place that keeps the first-column texts in order; an
// equal text goes before the equal row the search meets.
int ListModel::SortedPlace(const char* text, bool descending) const {
    const int count = static_cast<int>(rows_.size());
    const auto compare = [&](int row) {
        const int c = CompareTexts(text, FirstText(row));
        return descending ? -c : c;
    };
    int lo = 0;
    int n = count;
    if (n == 0)
        return 0;
    for (;;) {
        const int mid = lo + n / 2;
        const int c = compare(mid);
        if (c == 0)
            return mid;
        if (c > 0) {
            if (mid + 1 == count || compare(mid + 1) <= 0)
                return mid + 1;
            lo = mid + 1;
            --n;
        }
        if (n < 2)
            return 0;
        n /= 2;
    }
}

void ListModel::ShiftSelection(int from, int by) {
    std::set<int> shifted;
    for (int row : selection_)
        if (row < from)
            shifted.insert(row);
        else if (row + by >= from)
            shifted.insert(row + by);
    if (current_ >= from)
        current_ = current_ + by >= from ? current_ + by : -1;
    selection_ = shifted;
}

int ListModel::InsertItem(const LVITEM* item) {
    if (OwnerData())
        return -1;
    if (!item || item->iSubItem != 0)
        return -1; // not row 0: nothing was inserted there
    int count = RowCount();
    int position = item->iItem < 0 ? 0 : std::min(item->iItem, count);
    if (!listBox_ && (item->mask & LVIF_TEXT)) {
        if (style_ & LVS_SORTASCENDING)
            position = SortedPlace(item->pszText, false);
        else if (style_ & LVS_SORTDESCENDING)
            position = SortedPlace(item->pszText, true);
    }
    ListRow row;
    ListCell cell;
    if (item->mask & LVIF_TEXT) {
        if (item->pszText)
            cell.text = item->pszText;
    } else {
        cell.text = std::string();
    }
    if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_STATEIMAGEMASK))
        cell.image = static_cast<int>(item->state >> 16);
    row.cells.push_back(cell);
    if (item->mask & LVIF_PARAM)
        row.data = item->lParam;
    position = std::clamp(position, 0, count);
    rows_.insert(rows_.begin() + position, row);
    if (position != count)
        ShiftSelection(position, 1);
    if ((item->mask & LVIF_STATE) && (item->stateMask & 1) && (item->state & 1))
        Select(position, !SingleSelection());
    events_.Changed();
    return position;
}

void ListModel::SetItemText(int row, int column, const char* text) {
    if (OwnerData() || column < 0 || (column > 0 && column >= ColumnCount()) || row < 0 ||
        row >= RowCount())
        return;
    std::vector<ListCell>& cells = rows_[row].cells;
    while (static_cast<int>(cells.size()) < column + 1)
        cells.push_back(ListCell{std::string(), 0});
    cells[column].text = text ? std::optional<std::string>(text) : std::nullopt;
    events_.Changed();
}

bool ListModel::SetItem(const LVITEM* item) {
    if (!item)
        return false;
    if (!OwnerData()) {
        if (item->iItem < 0 || item->iItem >= RowCount())
            return false;
        ListRow& row = rows_[item->iItem];
        if (item->mask & LVIF_PARAM)
            row.data = item->lParam;
        if ((item->mask & LVIF_TEXT) && item->pszText)
            SetItemText(item->iItem, item->iSubItem, item->pszText);
        if ((item->mask & LVIF_IMAGE) && item->iImage >= 0 && item->iSubItem >= 0 &&
            item->iSubItem < static_cast<int>(row.cells.size())) {
            row.cells[item->iSubItem].image = item->iImage + 1;
            events_.Changed();
        }
    }
    if ((item->mask & LVIF_STATE) && item->stateMask)
        SetItemState(item->iItem, item->state, item->stateMask);
    return true;
}

bool ListModel::GetItem(LVITEM* item) {
    if (!item)
        return false;
    const bool hasBuffer = item->pszText && item->cchTextMax >= 1;
    if ((item->mask & LVIF_TEXT) && hasBuffer)
        item->pszText[0] = '\0';
    item->state = 0;
    const int row = item->iItem;
    if (OwnerData()) {
        if (row < 0 || row >= RowCount())
            return false;
        UINT mask = item->mask & (LVIF_TEXT | LVIF_PARAM);
        if (!hasBuffer)
            mask &= ~LVIF_TEXT;
        if (mask) {
            NMLVDISPINFO info{};
            info.hdr.code = LVN_GETDISPINFO;
            info.item.mask = mask;
            info.item.iItem = row;
            info.item.iSubItem = item->iSubItem;
            info.item.pszText = item->pszText;
            info.item.cchTextMax = item->cchTextMax;
            events_.GetDispInfo(info);
            if ((mask & LVIF_TEXT) && info.item.pszText != item->pszText)
                CopyText(info.item.pszText, item->pszText, item->cchTextMax);
            if (mask & LVIF_PARAM)
                item->lParam = info.item.lParam;
        }
    } else {
        const ListRow* record = Row(row);
        if (!record)
            return false;
        const ListCell* cell =
            item->iSubItem >= 0 && item->iSubItem < static_cast<int>(record->cells.size())
                ? &record->cells[item->iSubItem]
                : nullptr;
        if (item->mask & LVIF_PARAM)
            item->lParam = record->data;
        if ((item->mask & LVIF_TEXT) && hasBuffer)
            CopyText(cell && cell->text ? cell->text->c_str() : "", item->pszText,
                     item->cchTextMax);
        if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_STATEIMAGEMASK))
            item->state |= static_cast<UINT>(cell ? cell->image : 0) << 16;
    }
    if (item->mask & LVIF_STATE) {
        if ((item->stateMask & 1) && IsSelected(row))
            item->state |= LVIS_SELECTED;
        if ((item->stateMask & 2) && current_ == row)
            item->state |= LVIS_FOCUSED;
    }
    return true;
}

UINT ListModel::GetItemState(int row, UINT mask) const {
    UINT state = 0;
    if ((mask & 1) && IsSelected(row))
        state |= LVIS_SELECTED;
    if ((mask & 2) && current_ == row && row >= 0)
        state |= LVIS_FOCUSED;
    const ListRow* record = Row(row);
    if ((mask & LVIS_STATEIMAGEMASK) && record && !record->cells.empty())
        state |= static_cast<UINT>(record->cells[0].image) << 16;
    return state;
}

void ListModel::DeleteItem(int row) {
    if (row < 0 || row >= RowCount() || OwnerData())
        return;
    rows_.erase(rows_.begin() + row);
    selection_.erase(row);
    if (current_ == row)
        current_ = -1;
    ShiftSelection(row + 1, -1);
    events_.Changed();
}

void ListModel::DeleteAllItems() {
    ownerCount_ = 0;
    rows_.clear();
    selection_.clear();
    current_ = -1;
    events_.Changed();
}

void ListModel::SetItemCount(int count) {
    if (!OwnerData())
        return;
    ownerCount_ = std::max(count, 0);
    std::erase_if(selection_, [&](int row) { return row >= ownerCount_; });
    if (current_ >= ownerCount_)
        current_ = -1;
    events_.Changed();
}

int ListModel::GetNextItem(int start, UINT flags) const {
    if (flags == LVNI_SELECTED) {
        const auto next = selection_.lower_bound(start < 0 ? 0 : start + 1);
        return next == selection_.end() ? -1 : *next;
    }
    if (flags == LVNI_FOCUSED)
        return current_;
    return -1;
}

// A stable top-down merge sort: the left row goes first unless the caller's
// comparison puts it after the right one.
void ListModel::SortItems(PFNLVCOMPARE compare, LPARAM sortParam) {
    if (listBox_ || OwnerData() || !compare)
        return;
    struct Entry {
        ListRow row;
        bool selected;
    };
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        entries.push_back({std::move(rows_[i]), IsSelected(static_cast<int>(i))});
    std::vector<Entry> scratch(entries.size());
    const auto sort = [&](auto& self, std::size_t begin, std::size_t end) -> void {
        if (end - begin < 2)
            return;
        const std::size_t middle = begin + (end - begin) / 2;
        self(self, begin, middle);
        self(self, middle, end);
        std::size_t left = begin, right = middle, out = begin;
        while (left < middle && right < end) {
            const bool leftFirst =
                compare(entries[left].row.data, entries[right].row.data, sortParam) <= 0;
            scratch[out++] = std::move(entries[leftFirst ? left++ : right++]);
        }
        while (left < middle)
            scratch[out++] = std::move(entries[left++]);
        while (right < end)
            scratch[out++] = std::move(entries[right++]);
        for (std::size_t i = begin; i < end; ++i)
            entries[i] = std::move(scratch[i]);
    };
    sort(sort, 0, entries.size());
    std::set<int> selected;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        rows_[i] = std::move(entries[i].row);
        if (entries[i].selected)
            selected.insert(static_cast<int>(i));
    }
    if (!rows_.empty())
        ReplaceSelection(selected);
    events_.Changed();
}

ListCellValue ListModel::ValueOf(int row, int column) {
    ListCellValue value;
    if (OwnerData()) {
        char buffer[1024] = "";
        NMLVDISPINFO info{};
        info.hdr.code = LVN_GETDISPINFO;
        info.item.mask = imageKind_ == 1 ? 9u : imageKind_ == 2 ? 3u : LVIF_TEXT;
        info.item.iItem = row;
        info.item.iSubItem = column;
        info.item.pszText = buffer;
        info.item.cchTextMax = 1023;
        info.item.iImage = -1;
        events_.GetDispInfo(info);
        if (info.item.pszText)
            value.text = info.item.pszText;
        value.image = imageKind_ == 2   ? info.item.iImage + 1
                      : imageKind_ == 1 ? static_cast<int>(info.item.state >> 16)
                                        : 0;
        return value;
    }
    const ListRow* record = Row(row);
    if (!record || column < 0 || column >= static_cast<int>(record->cells.size()))
        return value;
    const ListCell& cell = record->cells[column];
    value.text = cell.text.value_or("");
    if ((imageKind_ == 1 || imageKind_ == 2) && (column == 0 || subItemImages_))
        value.image = cell.image;
    return value;
}

} // namespace winlayer
