#include "winlayer/Runtime.h"
#include "winlayer/draw/Keyboard.h"
#include "winlayer/listviews/Cursor.h"
#include "winlayer/listviews/ListView.h"
#include "winlayer/window/WindowCalls.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t kControlKey = 0x40000;
constexpr int kClickAlreadyTold = 4;
constexpr int kDragBegun = 2;
constexpr int kStateImagePress = 1;
constexpr UINT kContextMenu = 0x7B;

bool EmulatedRightClick(const ak::Event& event) {
    return (event.modifierFlags & kControlKey) != 0 && winlayer::RightClickEmulation();
}

} // namespace

int Wisp_vOmnarControl_listview::logicalColumnOf(const std::string& id) const {
    const auto found = std::find(columnIds_.begin(), columnIds_.end(), id);
    return found == columnIds_.end() ? -1 : static_cast<int>(found - columnIds_.begin());
}

LPARAM Wisp_vOmnarControl_listview::cursorInParent() const {
    return winlayer::CursorInClientParam(
        GetParent(winlayer::HandleOf(const_cast<Wisp_vOmnarControl_listview*>(this))));
}

LRESULT Wisp_vOmnarControl_listview::notifyMouse(int code, int row, int column, ak::Point point,
                                                 bool withData) {
    NMLISTVIEW record{};
    record.hdr.code = code;
    record.iItem = row;
    record.iSubItem = column;
    record.ptAction = POINT{static_cast<int>(std::floor(point.x + 0.5)),
                            static_cast<int>(std::floor(point.y + 0.5))};
    if (withData && model_.Row(row))
        record.lParam = model_.Row(row)->data;
    return notifyParent(record.hdr);
}

bool Wisp_vOmnarControl_listview::MouseDownOnRows(const ak::RowMouse& mouse) {
    if (mouse.button == 1)
        return true; // a right press leaves the selection to the release
    if (mouse.button != 0)
        return false;
    if (EmulatedRightClick(mouse.event)) {
        fakeRightMouse_ = true;
        startItem_ = startSubItem_ = -1;
        return true;
    }
    leftMouseMoveCount_ = 0;
    fakeRightMouse_ = false;
    startItem_ = mouse.row;
    startSubItem_ = logicalColumnOf(mouse.column);
    startClickMode_ = 0;
    press_ = mouse;
    if (startItem_ < 0)
        return true;
    if (fastClickMask_ & (1u << (startSubItem_ & 31))) {
        notifyMouse(mouse.event.clickCount >= 2 ? NM_DBLCLK : NM_CLICK, startItem_, startSubItem_,
                    mouse.location, true);
        startClickMode_ = kClickAlreadyTold;
    } else if (model_.ImageListKind() == 1) {
        const ak::Rect row = RectOfRow(startItem_);
        if (mouse.location.x >= row.origin.x && mouse.location.x < row.origin.x + row.size.height)
            startClickMode_ = kStateImagePress;
    }
    return true;
}

void Wisp_vOmnarControl_listview::MouseDraggedOnRows(const ak::RowMouse&) {
    const int count = leftMouseMoveCount_++;
    if (count == 3 && !model_.ListBoxMode() && startItem_ >= 0 &&
        !(startClickMode_ & (kStateImagePress | kDragBegun))) {
        if (!(startClickMode_ & kClickAlreadyTold) && !model_.IsSelected(startItem_)) {
            model_.Select(startItem_, GetAsyncKeyState(0x11) < 0 && !model_.SingleSelection());
            Changed();
        }
        NMLISTVIEW record{};
        record.hdr.code = LVN_BEGINDRAG;
        record.iItem = startItem_;
        record.iSubItem = startSubItem_;
        notifyParent(record.hdr);
        startClickMode_ |= kDragBegun;
    }
    if (count >= 4 && !(startClickMode_ & kStateImagePress))
        SendMessage(GetParent(Handle()), WM_MOUSEMOVE, 0, cursorInParent());
}

bool Wisp_vOmnarControl_listview::MouseUpOnRows(const ak::RowMouse& mouse) {
    if (mouse.button != 0)
        return false;
    if ((fakeRightMouse_ || (mouse.event.modifierFlags & kControlKey)) &&
        winlayer::RightClickEmulation()) {
        rightRelease(mouse);
    } else if (startClickMode_ & kStateImagePress) {
        // The state image took the click; the selection stays.
    } else if ((startClickMode_ & kClickAlreadyTold) || leftMouseMoveCount_ >= 4) {
        if (leftMouseMoveCount_ >= 4)
            SendMessage(GetParent(Handle()), WM_LBUTTONUP, 0, cursorInParent());
    } else {
        if (model_.ListBoxMode() && model_.SingleSelection()) {
            model_.ReplaceSelection({});
            Changed();
        }
        PerformDefaultClick(press_);
        // The table's own tracking, run here, reports a second click.
        if (press_.event.clickCount >= 2)
            doubleClicked(press_);
    }
    if (!model_.ListBoxMode() && !(startClickMode_ & (kDragBegun | kClickAlreadyTold)))
        notifyMouse(NM_CLICK, mouse.row, logicalColumnOf(mouse.column), mouse.location, true);
    return true;
}

void Wisp_vOmnarControl_listview::doubleClicked(const ak::RowMouse& press) {
    if (model_.ListBoxMode()) {
        SendMessage(GetParent(Handle()), WM_COMMAND, winlayer::CommandParam(LBN_DBLCLK, Tag()),
                    reinterpret_cast<LPARAM>(Handle()));
        return;
    }
    notifyMouse(NM_DBLCLK, press.row, logicalColumnOf(press.column), press.location, true);
}

void Wisp_vOmnarControl_listview::RightMouseUpOnRows(const ak::RowMouse& mouse) {
    rightRelease(mouse);
}

void Wisp_vOmnarControl_listview::rightRelease(const ak::RowMouse& mouse) {
    const HWND parent = GetParent(Handle());
    if (model_.ListBoxMode()) {
        SendMessage(parent, kContextMenu, reinterpret_cast<WPARAM>(Handle()),
                    winlayer::CursorOnScreenParam());
    } else {
        if (mouse.row >= 0 && !model_.IsSelected(mouse.row)) {
            model_.Select(mouse.row, false);
            Changed();
        }
        if (notifyMouse(NM_RCLICK, mouse.row, logicalColumnOf(mouse.column), mouse.location,
                        false) == 0)
            SendMessage(parent, kContextMenu, reinterpret_cast<WPARAM>(Handle()),
                        winlayer::CursorOnScreenParam());
    }
    fakeRightMouse_ = false;
}

void WISP_SetListViewFastClickMask(HWND handle, std::uint32_t mask) {
    auto* list =
        handle ? dynamic_cast<Wisp_vOmnarControl_listview*>(winlayer::FindObject(handle)) : nullptr;
    if (list)
        list->setFastClickMask(mask);
}
