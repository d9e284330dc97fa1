#include "winlayer/listviews/ListView.h"

#include "winlayer/draw/Gdi.h"
#include "winlayer/window/WindowCalls.h"

#include <algorithm>
#include <cmath>

int g_suppressListSelectionNotify = 0;

namespace {

// CDDS_ITEMPREPAINT | CDDS_SUBITEM: one cell is about to show.
constexpr std::uint32_t kItemSubItemPrepaint = 0x10001;

ak::TextAlignment AlignmentOf(winlayer::ColumnAlign align) {
    switch (align) {
    case winlayer::ColumnAlign::right:
        return ak::TextAlignment::Right;
    case winlayer::ColumnAlign::centre:
        return ak::TextAlignment::Center;
    default:
        return ak::TextAlignment::Left;
    }
}

} // namespace

Wisp_vOmnarControl_listview::Wisp_vOmnarControl_listview(ak::Rect frame, int style, bool listBox)
    : ak::TableView(frame), model_(style, listBox, *this),
      ownerDrawn_(listBox && (style & LBS_OWNERDRAWFIXED)) {
    SetDataSource(this);
    SetAllowsMultipleSelection(!model_.SingleSelection());
    SetHeaderVisible(!listBox && (style & LVS_REPORT) && (style & LVS_NOCOLUMNHEADER) == 0);
    SetAction([this](ak::Control&) { wispSelectionChanged(); });
    // A header click asks the parent to sort, unless the style says no.
    SetHeaderClick([this](ak::TableView&, const std::string& column) {
        if (model_.ListBoxMode() || (model_.Style() & LVS_NOSORTHEADER))
            return;
        NMLISTVIEW record{};
        record.hdr.code = LVN_COLUMNCLICK;
        record.iItem = -1;
        record.iSubItem = logicalColumnOf(column);
        notifyParent(record.hdr);
    });
}

Wisp_vOmnarControl_listview::~Wisp_vOmnarControl_listview() = default;

void Wisp_vOmnarControl_listview::insertColumn(int position, const LVCOLUMN& column) {
    const int count = model_.ColumnCount();
    model_.InsertColumn(position, column);
    const std::string id = "c" + std::to_string(nextColumnId_++);
    const bool atEnd = position < 0 || position >= count;
    columnIds_.insert(atEnd ? columnIds_.end() : columnIds_.begin() + position, id);
    const int logical = atEnd ? count : position;
    const winlayer::ListColumn& made = *model_.Column(logical);
    AddColumn(id, made.header, made.width, atEnd ? -1 : position);
    showColumns();
}

bool Wisp_vOmnarControl_listview::deleteColumn(int column) {
    if (!model_.DeleteColumn(column))
        return false;
    RemoveColumn(columnIds_[column]);
    columnIds_.erase(columnIds_.begin() + column);
    showColumns();
    return true;
}

// The columns' looks and order as the model has them.
void Wisp_vOmnarControl_listview::showColumns() {
    std::vector<int> order(columnIds_.size());
    for (std::size_t i = 0; i < columnIds_.size(); ++i) {
        const winlayer::ListColumn& column = *model_.Column(static_cast<int>(i));
        SetColumnTitle(columnIds_[i], column.header);
        SetColumnWidth(columnIds_[i], column.width);
        SetColumnHidden(columnIds_[i], column.hidden);
        SetColumnAlignment(columnIds_[i], AlignmentOf(column.align));
        const ak::CellKind kind = i == 0 && ownerDrawn_ ? ak::CellKind::OwnerDraw
                                  : column.statusCell   ? ak::CellKind::Status
                                                        : ak::CellKind::Text;
        SetColumnCell(columnIds_[i], kind, i == 0);
        order[i] = model_.DisplayPosition(static_cast<int>(i));
    }
    // The table's logical order is its order of adding, which is not the
    // model's after an insert in the middle; reorder by identifier instead.
    const std::vector<std::string> ids = ColumnIdentifiers();
    std::vector<int> positions(ids.size());
    for (std::size_t t = 0; t < ids.size(); ++t) {
        const auto logical =
            std::find(columnIds_.begin(), columnIds_.end(), ids[t]) - columnIds_.begin();
        positions[t] = order[static_cast<std::size_t>(logical)];
    }
    SetDisplayOrder(positions);
}

LRESULT Wisp_vOmnarControl_listview::onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETREDRAW) {
        if (wParam != 0) {
            EndUpdates();
            SetNeedsDisplay();
        } else {
            BeginUpdates();
        }
        return 0;
    }
    return model_.OnMessage(message, wParam, lParam);
}

std::string Wisp_vOmnarControl_listview::TextAt(ak::TableView&, const std::string& column,
                                                int row) {
    const auto found = std::find(columnIds_.begin(), columnIds_.end(), column);
    if (found == columnIds_.end())
        return {};
    return model_.ValueOf(row, static_cast<int>(found - columnIds_.begin())).text;
}

ak::Ref<ak::Image> Wisp_vOmnarControl_listview::ImageAt(ak::TableView&, const std::string& column,
                                                        int row) {
    const int logical = logicalColumnOf(column);
    if (logical < 0 || !model_.ImageList())
        return {};
    const int image = model_.ValueOf(row, logical).image;
    auto* list = static_cast<HIMAGELIST>(model_.ImageList());
    if (image <= 0 || image > ImageList_GetImageCount(list))
        return {};
    return ak::Ref<ak::Image>(
        static_cast<ak::Image*>(GetNSImageFromHICON(WISP_ImageList_GetImage(list, image - 1))));
}

std::optional<ak::Color>
Wisp_vOmnarControl_listview::TextColorAt(ak::TableView&, const std::string& column, int row) {
    NMLVCUSTOMDRAW record{};
    record.nmcd.hdr.hwndFrom = Handle();
    record.nmcd.hdr.idFrom = static_cast<std::uint64_t>(Tag() & 0xFFFF);
    record.nmcd.hdr.code = NM_CUSTOMDRAW;
    record.nmcd.dwDrawStage = kItemSubItemPrepaint;
    record.nmcd.dwItemSpec = static_cast<std::uint64_t>(row);
    record.clrText = -1;
    record.clrTextBk = -1;
    record.iSubItem = logicalColumnOf(column);
    SendMessage(GetParent(Handle()), WM_NOTIFY, static_cast<WPARAM>(Tag()),
                reinterpret_cast<LPARAM>(&record));
    if (record.clrText == -1)
        return std::nullopt;
    return winlayer::RgbColor(record.clrText);
}

void Wisp_vOmnarControl_listview::DrawCell(ak::TableView&, const std::string&, int row, cairo_t* cr,
                                           ak::Rect frame, bool) {
    HDC hdc = WISP_WrapGraphicsContext(cr);
    if (!hdc)
        return;
    const auto round = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = static_cast<std::uint32_t>(Tag());
    item.itemID = static_cast<std::uint32_t>(row);
    item.hwndItem = Handle();
    item.hDC = hdc;
    item.rcItem =
        RECT{round(frame.origin.x), round(frame.origin.y), round(frame.origin.x + frame.size.width),
             round(frame.origin.y + frame.size.height)};
    if (const winlayer::ListRow* data = model_.Row(row))
        item.itemData = static_cast<std::uint64_t>(data->data);
    SendMessage(GetParent(Handle()), WM_DRAWITEM, static_cast<WPARAM>(Tag()),
                reinterpret_cast<LPARAM>(&item));
    WISP_DeleteGfxContext(hdc);
}

LRESULT Wisp_vOmnarControl_listview::notifyParent(NMHDR& header) {
    header.hwndFrom = Handle();
    header.idFrom = static_cast<std::uint64_t>(Tag());
    return SendMessage(GetParent(Handle()), WM_NOTIFY, static_cast<WPARAM>(Tag()),
                       reinterpret_cast<LPARAM>(&header));
}

void Wisp_vOmnarControl_listview::ItemChanged(int row, UINT newState) {
    NMLISTVIEW record{};
    record.hdr.code = LVN_ITEMCHANGED;
    record.iItem = row;
    record.uNewState = newState;
    notifyParent(record.hdr);
}

void Wisp_vOmnarControl_listview::GetDispInfo(NMLVDISPINFO& info) {
    notifyParent(info.hdr);
}

void Wisp_vOmnarControl_listview::Changed() {
    ++g_suppressListSelectionNotify;
    ReloadData();
    const std::set<int>& selection = model_.Selection();
    SelectRows(std::vector<int>(selection.begin(), selection.end()));
    if (model_.CurrentRow() >= 0)
        SelectRow(model_.CurrentRow(), true);
    --g_suppressListSelectionNotify;
}

void Wisp_vOmnarControl_listview::wispSelectionChanged() {
    const std::vector<int> rows = SelectedRows();
    model_.ReplaceSelection(std::set<int>(rows.begin(), rows.end()));
    if (CurrentRow() >= 0 && IsRowSelected(CurrentRow()))
        model_.Select(CurrentRow(), true);
    if (g_suppressListSelectionNotify != 0)
        return;
    if (model_.ListBoxMode()) {
        SendMessage(GetParent(Handle()), WM_COMMAND, winlayer::CommandParam(1, Tag()),
                    reinterpret_cast<LPARAM>(Handle()));
    } else {
        ItemChanged(model_.CurrentRow(), 1);
    }
}

namespace winlayer {

HWND CreateListView(HWND parent, ak::Rect frame, int id, int style, bool listBox) {
    ak::View* view = FindView(parent);
    if (!view)
        return nullptr;
    auto list = ak::MakeRef<Wisp_vOmnarControl_listview>(frame, style, listBox);
    list->SetTag(id);
    list->SetHidden((style & winlayer::kHiddenStyle) != 0);
    view->AddSubview(list.Get());
    // Added views get the parent's command action; the list reports its own way.
    list->SetAction([raw = list.Get()](ak::Control&) { raw->wispSelectionChanged(); });
    return list->Handle();
}

} // namespace winlayer
