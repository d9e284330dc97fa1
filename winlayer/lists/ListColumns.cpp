#include "winlayer/lists/ListModel.h"

#include <algorithm>
#include <cstring>

namespace winlayer {

namespace {

ColumnAlign AlignOf(int fmt) {
    return fmt == 1 ? ColumnAlign::right : fmt == 2 ? ColumnAlign::centre : ColumnAlign::left;
}

} // namespace

void ListModel::InsertColumn(int position, const LVCOLUMN& info) {
    ListColumn column;
    if (info.fmt == 1 || info.fmt == 2)
        column.align = AlignOf(info.fmt);
    if (!listBox_ && !(style_ & LVS_NOCOLUMNHEADER) && info.pszText)
        column.header = info.pszText;
    column.statusCell = imageList_ && (position == 0 || subItemImages_);
    if (info.mask & LVCF_WIDTH) {
        column.hidden = info.cx == 0;
        if (info.cx != 0)
            column.width = info.cx;
    }
    const int count = ColumnCount();
    if (position < 0 || position >= count) {
        display_.push_back(count);
        columns_.push_back(column);
        events_.Changed();
        return;
    }
    // Later logical columns move up one, and so do their cells, so no column
    // shows a neighbour's data.
    for (int& logical : display_)
        if (logical >= position)
            ++logical;
    display_.insert(display_.begin() + position, position);
    columns_.insert(columns_.begin() + position, column);
    for (ListRow& row : rows_)
        if (static_cast<int>(row.cells.size()) > position)
            row.cells.insert(row.cells.begin() + position, ListCell{});
    events_.Changed();
}

bool ListModel::DeleteColumn(int column) {
    if (column < 0 || column >= ColumnCount())
        return false;
    display_.erase(std::find(display_.begin(), display_.end(), column));
    for (int& logical : display_)
        if (logical > column)
            --logical;
    columns_.erase(columns_.begin() + column);
    for (ListRow& row : rows_)
        if (static_cast<int>(row.cells.size()) > column)
            row.cells.erase(row.cells.begin() + column);
    events_.Changed();
    return true;
}

ListColumn* ListModel::Column(int column) {
    return column >= 0 && column < ColumnCount() ? &columns_[column] : nullptr;
}

void ListModel::SetColumn(int column, const LVCOLUMN& info) {
    ListColumn* target = Column(column);
    if (!target)
        return;
    if (info.mask & LVCF_FMT)
        target->align = AlignOf(info.fmt);
    if (info.mask & LVCF_WIDTH)
        SetColumnWidth(column, info.cx);
    if ((info.mask & LVCF_TEXT) && !listBox_ && !(style_ & LVS_NOCOLUMNHEADER))
        target->header = info.pszText ? info.pszText : "";
    events_.Changed();
}

void ListModel::GetColumn(int column, LVCOLUMN& info) const {
    if (column < 0 || column >= ColumnCount())
        return;
    const ListColumn& source = columns_[column];
    if (info.mask & LVCF_FMT)
        info.fmt = source.align == ColumnAlign::centre  ? 2
                   : source.align == ColumnAlign::right ? 1
                                                        : 0;
    if (info.mask & LVCF_WIDTH)
        info.cx = source.hidden ? 0 : source.width;
    if ((info.mask & LVCF_TEXT) && info.cchTextMax > 0 && info.pszText && !listBox_ &&
        !(style_ & LVS_NOCOLUMNHEADER)) {
        const std::size_t n =
            std::min(source.header.size(), static_cast<std::size_t>(info.cchTextMax - 1));
        std::memcpy(info.pszText, source.header.data(), n);
        info.pszText[n] = '\0';
    }
}

void ListModel::SetColumnWidth(int column, int width) {
    ListColumn* target = Column(column);
    if (!target)
        return;
    // A hidden column keeps its width for when it shows again.
    target->hidden = width == 0;
    if (width != 0)
        target->width = width;
    events_.Changed();
}

int ListModel::ColumnWidth(int column) const {
    if (column < 0 || column >= ColumnCount())
        return 0;
    return columns_[column].hidden ? 0 : columns_[column].width;
}

int ListModel::DisplayPosition(int column) const {
    if (column < 0 || column >= ColumnCount())
        return column;
    return static_cast<int>(std::find(display_.begin(), display_.end(), column) - display_.begin());
}

int ListModel::LogicalColumn(int position) const {
    if (position < 0 || position >= ColumnCount())
        return position;
    return display_[position];
}

bool ListModel::GetColumnOrder(int count, int* order) const {
    if (count != ColumnCount() || !order)
        return false;
    for (int i = 0; i < count; ++i)
        order[i] = DisplayPosition(i);
    return true;
}

bool ListModel::SetColumnOrder(int count, const int* order) {
    if (count != ColumnCount() || !order)
        return false;
    for (int position = 0; position < count; ++position) {
        const int* wanted = std::find(order, order + count, position);
        if (wanted == order + count)
            continue; // no column asks for this place
        const int logical = static_cast<int>(wanted - order);
        display_.erase(std::find(display_.begin(), display_.end(), logical));
        display_.insert(display_.begin() + position, logical);
    }
    events_.Changed();
    return true;
}

void ListModel::SetImageList(void* list, int kind) {
    imageList_ = list;
    imageKind_ = kind;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (i == 0 || subItemImages_)
            columns_[i].statusCell = true;
    events_.Changed();
}

} // namespace winlayer
