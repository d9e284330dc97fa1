// Tab controls and progress bars.
#include "winlayer/controls/TabCalls.h"

#include "winlayer/InputRecords.h"
#include "winlayer/controls/DialogControls.h"
#include "winlayer/window/WindowCalls.h"

#include <algorithm>

using namespace winlayer;

namespace {

// The tab strip and the frame around the display area.
constexpr int kSideInset = 7;
constexpr int kTopInset = 26;
constexpr int kBottomInset = 3;

Wisp_vOmnarControl_tabview* TabsOf(HWND tabs) {
    return dynamic_cast<Wisp_vOmnarControl_tabview*>(FindObject(tabs));
}

void ReportSelection(ak::TabView& view, int) {
    auto& tabs = static_cast<Wisp_vOmnarControl_tabview&>(view);
    const HWND dest = tabs.getNotificationWindow();
    if (!dest)
        return;
    NMHDR header{HandleOf(&tabs), std::uint64_t(tabs.Tag()), TCN_SELCHANGE};
    SendMessage(dest, WM_NOTIFY, WPARAM(tabs.Tag()), reinterpret_cast<LPARAM>(&header));
}

} // namespace

Wisp_vOmnarControl_tabview::Wisp_vOmnarControl_tabview(ak::Rect frame) : ak::TabView(frame) {
    onSelectionChanged = &ReportSelection;
}

LRESULT Wisp_vOmnarControl_progind::onWispMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Positions are signed, so a negative delta moves the bar back.
    const auto position = static_cast<std::int64_t>(wParam);
    if (message == PBM_SETRANGE)
        SetRange(double(lParam & 0xFFFF), double((lParam >> 16) & 0xFFFF));
    else if (message == PBM_SETPOS)
        SetValue(double(position));
    else if (message == PBM_DELTAPOS)
        SetValue(Value() + double(position));
    return 0;
}

namespace winlayer {

RECT AdjustTabRect(RECT rect, bool larger) {
    const int sign = larger ? -1 : 1;
    return {rect.left + sign * kSideInset, rect.top + sign * kTopInset,
            rect.right - sign * kSideInset, rect.bottom - sign * kBottomInset};
}

} // namespace winlayer

int TabCtrl_GetItemCount(HWND tabs) {
    auto* view = TabsOf(tabs);
    return view ? view->Count() : 0;
}

int TabCtrl_InsertItem(HWND tabs, int index, const TCITEM* item) {
    auto* view = TabsOf(tabs);
    if (!view || !item || !(item->mask & TCIF_TEXT) || !item->pszText)
        return -1;
    const int at = std::clamp(index, 0, view->Count());
    // A selection the insertion causes is not the user's: nobody hears it.
    const HWND dest = view->getNotificationWindow();
    view->setNotificationWindow(nullptr);
    view->InsertTab(at, item->pszText);
    view->setNotificationWindow(dest);
    return at;
}

BOOL TabCtrl_DeleteItem(HWND tabs, int index) {
    auto* view = TabsOf(tabs);
    if (!view || index < 0 || index >= view->Count())
        return FALSE;
    view->RemoveTab(index);
    return TRUE;
}

int TabCtrl_GetCurSel(HWND tabs) {
    auto* view = TabsOf(tabs);
    return view ? std::max(view->SelectedIndex(), 0) : 0;
}

int TabCtrl_SetCurSel(HWND tabs, int index) {
    auto* view = TabsOf(tabs);
    if (!view)
        return -1;
    const int previous = std::max(view->SelectedIndex(), 0);
    if (index >= 0 && index < view->Count() && index != view->SelectedIndex())
        view->SelectIndex(index);
    return previous;
}

BOOL TabCtrl_AdjustRect(HWND tabs, BOOL larger, RECT* rect) {
    if (!TabsOf(tabs) || !rect)
        return FALSE;
    *rect = AdjustTabRect(*rect, larger != 0);
    return TRUE;
}
