#include "winlayer/ApiNames.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/draw/Menus.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/window/MenuSlots.h"
#include "winlayer/window/Monitors.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <mutex>

namespace winlayer {
namespace {

#define API_ENTRY(function)                                                                        \
    ApiFunction {                                                                                  \
#function, reinterpret_cast < void*>(&function)                                            \
    }

const ApiFunction kWindowFunctions[] = {
    API_ENTRY(GetDlgItem),
    API_ENTRY(ShowWindow),
    API_ENTRY(DestroyWindow),
    API_ENTRY(SetDlgItemText),
    API_ENTRY(SetDlgItemInt),
    API_ENTRY(GetDlgItemInt),
    API_ENTRY(GetDlgItemText),
    API_ENTRY(GetWindowTextLength),
    API_ENTRY(CheckDlgButton),
    API_ENTRY(IsDlgButtonChecked),
    API_ENTRY(EnableWindow),
    API_ENTRY(SetFocus),
    API_ENTRY(GetFocus),
    API_ENTRY(SetForegroundWindow),
    API_ENTRY(SetCapture),
    API_ENTRY(GetCapture),
    API_ENTRY(ReleaseCapture),
    API_ENTRY(GetParent),
    API_ENTRY(SetParent),
    API_ENTRY(GetWindow),
    API_ENTRY(ClientToScreen),
    API_ENTRY(ScreenToClient),
    API_ENTRY(WindowFromPoint),
    API_ENTRY(WISP_SetWindowLevel),
    API_ENTRY(InvalidateRect),
    API_ENTRY(UpdateWindow),
    API_ENTRY(GetWindowLong),
    API_ENTRY(SetWindowLong),
    API_ENTRY(ScrollWindow),
    API_ENTRY(EnumPropsEx),
    API_ENTRY(GetProp),
    API_ENTRY(SetProp),
    API_ENTRY(RemoveProp),
    API_ENTRY(IsWindowVisible),
    API_ENTRY(IsWindow),
    API_ENTRY(WISP_ModalWindowStart),
    API_ENTRY(WISP_CloseWindow),
    API_ENTRY(WISP_GetDefaultWindowMenu),
    API_ENTRY(WISP_SetDefaultWindowMenu),
    API_ENTRY(WISP_GetDefaultModalWindowMenu),
    API_ENTRY(WISP_SetDefaultModalWindowMenu),
    API_ENTRY(WISP_GetCurrentMenu),
    API_ENTRY(DefWindowProc),
    API_ENTRY(EndDialog),
    API_ENTRY(WISP_GetDefaultButtonID),
    API_ENTRY(SendMessage),
    API_ENTRY(WISP_GetViewPort),
    API_ENTRY(EnumDisplayMonitors),
    API_ENTRY(GetMonitorInfo),
    API_ENTRY(SetOpaque),
    API_ENTRY(SetAllowNoMiddleManRendering),
    API_ENTRY(WISP_SetNoMultiMonitorAutoSize),
    API_ENTRY(EndPaint),
    API_ENTRY(WISP_FlushWindow),
    API_ENTRY(GetSystemMetrics),
    API_ENTRY(WISP_SetWindowRepre),
    API_ENTRY(WISP_PostQuitMessage),
    API_ENTRY(WISP_Internal_PostMessage_Init),
    API_ENTRY(EnumChildWindows),
    API_ENTRY(IsChild),
    API_ENTRY(EnumWindows),
    API_ENTRY(FindWindowEx),
    API_ENTRY(GetForegroundWindow),
    API_ENTRY(GetWindowContentViewRect),
    API_ENTRY(WISP_GetGestureInfo),
    API_ENTRY(WISP_GetWindowWantRaiseAmt),
    API_ENTRY(WISP_SetWindowWantRaiseAmt),
    API_ENTRY(WISP_IsRetinaHWND),
    API_ENTRY(WISP_IsStaticText),
    API_ENTRY(WISP_GetDesiredControlSize),
    API_ENTRY(IsWindowEnabled),
    API_ENTRY(GetClassName),
    API_ENTRY(WISP_SetClassName),
    API_ENTRY(WISP_DialogBox),
    API_ENTRY(WISP_CreateDialog),
    API_ENTRY(WISP_BroadcastMessage),
    API_ENTRY(BeginPaint),
    API_ENTRY(GetDC),
    API_ENTRY(GetWindowDC),
    API_ENTRY(ReleaseDC),
    API_ENTRY(SetMenu),
    API_ENTRY(GetMenu),
    API_ENTRY(TrackPopupMenu),
    API_ENTRY(WISP_SetMenuDestination),
    API_ENTRY(WISP_SetCurrentMenu),
    API_ENTRY(DragQueryPoint),
    API_ENTRY(DragFinish),
    API_ENTRY(DragQueryFile),
    API_ENTRY(WISP_InitiateDragDrop),
    API_ENTRY(WISP_InitiateDragDropOfFileList),
    API_ENTRY(WISP_FinishDragDrop),
    API_ENTRY(WISP_SetViewGL),
    API_ENTRY(WISP_GetViewGL),
    API_ENTRY(WISP_SetGLContextToView),
    API_ENTRY(WISP_EnableMetal),
    API_ENTRY(WISP_CreateMetalDC),
};

#undef API_ENTRY

} // namespace

void AddWindowApiNames() {
    static std::once_flag added;
    std::call_once(added, [] {
        AddDrawingApiNames();
        AddApiFunctions(kWindowFunctions);
    });
    AddControlApiNames();
}

} // namespace winlayer
