#pragma once

#include "winlayer/HostWindowCalls.h"
#include "winlayer/MessageQueue.h"
#include "winlayer/WindowApi.h"

#include <optional>
#include <string>

// The window calls beyond those the shell uses (WindowApi.h). Main thread
// only, except the queue and timer calls of MessageQueue.h.

struct MINMAXINFO;

LONG_PTR GetWindowLong(HWND window, int index);
LONG_PTR SetWindowLong(HWND window, int index, LONG_PTR value);
BOOL GetDlgItemText(HWND window, int id, char* buffer, int size);
BOOL SetDlgItemText(HWND window, int id, const char* text);
BOOL IsWindowEnabled(HWND window);
HWND GetParent(HWND window);
// Moves a view to newParent and answers its previous superview; a window's
// content joins newParent (answered) and its window goes; a child given no
// parent becomes a window again (null). Null for anything else.
HWND SetParent(HWND window, HWND newParent);
void ScreenToClient(HWND window, POINT* point);
void ClientToScreen(HWND window, POINT* point);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void WISP_PostQuitMessage(HWND window);
void WISP_Internal_PostMessage_Init();

HWND GetFocus();
HWND GetCapture();
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
BOOL IsWindow(HWND window);
BOOL IsWindowVisible(HWND window);

void WISP_ApplyCtlColors(HWND window, DLGPROC proc, BOOL force);
void WISP_SetMenuDestination(HMENU menu, HWND destination);
// The combo-box and trackbar calls (winlayer/controls); id 0 names the handle itself.
int WISP_CB_InsertString(HWND window, int id, int index, const char* text);
void WISP_CB_DeleteString(HWND window, int id, int index);
int WISP_CB_GetItemText(HWND window, int id, int index, char* buffer, int size);
void WISP_CB_Empty(HWND window, int id);
int WISP_CB_FindString(HWND window, int id, int start, const char* text, BOOL exact);
void WISP_CB_SetCurSel(HWND window, int id, int index);
LONG_PTR WISP_CB_GetItemData(HWND window, int id, int index);
void WISP_CB_SetItemData(HWND window, int id, int index, LONG_PTR value);
int WISP_TB_GetPos(HWND window, int id);
void WISP_TB_SetPos(HWND window, int id, int pos);
void WISP_TB_SetRange(HWND window, int id, int low, int high);
void WISP_TB_SetTic(HWND window, int id, int pos);

namespace ak {
class Responder;
class Window;
class View;
} // namespace ak
class Wisp_vOmnarControl_hwnd;

namespace winlayer {

// Lets the queue, the timers and the geometry calls find the live windows,
// and puts the window calls into the name table.
void InstallLiveWindows();
void AddWindowApiNames();
BOOL ClientRectOf(HWND window, RECT* rect);
BOOL WindowRectOf(HWND window, RECT* rect);
BOOL SetWindowPosOf(HWND window, HWND after, int x, int y, int width, int height, UINT flags);
// The live objects behind handles.
void RegisterView(Wisp_vOmnarControl_hwnd* view);
void UnregisterView(Wisp_vOmnarControl_hwnd* view);
// The object a handle names when it is alive: a window of the application, a
// view below one, or a window view; found by address, the handle unread.
ak::Responder* FindObject(HWND window);
// A window stands for its content view.
ak::View* FindView(HWND window);
// A content view stands for its window.
ak::Window* FindWindow(HWND window);

// Top-level window services the view's sequences call.
void WantKeyOnFirstShow(ak::Window& window);
void DestroyOwnedWindows(ak::Window& window);
void ForgetMenu(HMENU menu);
void ApplyCtlColors(HWND window, DLGPROC proc);
// A window whose focus lies in the view (or is the view) loses it.
void ClearFocusWithin(ak::View& view);

} // namespace winlayer

struct PAINTSTRUCT {
    void* hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    void* lppos;
};

inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT WM_GESTURE = 0x0119;

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HWND WindowFromPoint(POINT onScreen);
// The frame (workArea FALSE) or visible frame of the screen that overlaps
// source most, or is nearest to it; the main screen without a source.
void WISP_GetViewPort(RECT* out, const RECT* source, BOOL workArea);

namespace winlayer {
// True for an application window, its content view or a view below one.
bool IsLiveWindowHandle(HWND window);
} // namespace winlayer

HWND GetWindow(HWND window, UINT command);
// True when child lies inside parent (a view below it, or a view of that window).
BOOL IsChild(HWND parent, HWND child);
// The content view of every window of the application until the callback answers 0.
BOOL EnumWindows(BOOL (*callback)(HWND, LPARAM), LPARAM lParam);
// With a parent: its child after childAfter whose text and class match (null
// matches any); without: the window titled title after childAfter's window.
HWND FindWindowEx(HWND parent, HWND childAfter, const char* className, const char* title);
HWND GetForegroundWindow();
// The content area of a window on screen; other views: GetWindowRect.
BOOL GetWindowContentViewRect(HWND window, RECT* rect);
// A modeless window's wish to be raised by some levels (a view in one names it).
int WISP_GetWindowWantRaiseAmt(HWND window);
void WISP_SetWindowWantRaiseAmt(HWND window, int amount);
// True when the window stands on a screen of more than 1.9 pixels per point.
BOOL WISP_IsRetinaHWND(HWND window);
// Copies the 56-byte gesture record the handle points to.
BOOL WISP_GetGestureInfo(const void* gesture, void* info);
HWND SetFocus(HWND window);
HWND SetForegroundWindow(HWND window);
// enable -1000 enables a window view without letting it take the focus.
BOOL EnableWindow(HWND window, int enable);
int GetWindowTextLength(HWND window);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
UINT GetDlgItemInt(HWND dialog, int id, BOOL* ok, BOOL isSigned);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
void* GetProp(HWND window, const char* name);
void* RemoveProp(HWND window, const char* name);
BOOL SetProp(HWND window, const char* name, void* data);
int EnumPropsEx(HWND window, BOOL (*proc)(HWND, const char*, void*, LPARAM), LPARAM lParam);
int GetClassName(HWND window, char* buffer, int size);
void WISP_SetClassName(HWND window, const char* name);
int WISP_SetWindowLevel(HWND window, int level);
void SetOpaque(HWND window, BOOL opaque);
BOOL EnumChildWindows(HWND window, BOOL (*callback)(HWND, LPARAM), LPARAM lParam);
BOOL ScrollWindow(HWND window, int dx, int dy);
void WISP_FlushWindow(HWND window);
void SetAllowNoMiddleManRendering(HWND window, BOOL allow);
void WISP_SetNoMultiMonitorAutoSize(HWND window, BOOL disable);
void WISP_SetWindowRepre(HWND window, const char* fileName, BOOL edited);
void SetWindowHasShadow(HWND window, BOOL shadow);
void MakeWindowBackgroundClear(HWND window);
BOOL WISP_IsStaticText(HWND window);
void WISP_GetDesiredControlSize(HWND window, RECT* rect);
int WISP_GetDefaultButtonID(HWND window, BOOL onlyEnabled);
void* WISP_ModalWindowStart(HWND window);
void WISP_CloseWindow(HWND window);
// Drags out of a window view, from the press being handled: one promised
// file, written by callback (void (*)(const char* path)) when a receiver asks
// for it, or a list of files. A left press in a window view or
// WISP_FinishDragDrop forgets the promise.
void WISP_InitiateDragDrop(HWND window, RECT* source, const char* fileName, void* callback);
void WISP_InitiateDragDropOfFileList(HWND window, RECT* source, const char** names, int count,
                                     void* icon);
void WISP_FinishDragDrop();
// No OpenGL here: no view gets a context.
void WISP_SetViewGL(HWND window, int mode);
BOOL WISP_GetViewGL(HWND window);
BOOL WISP_SetGLContextToView(HWND window);
// Sets a window view's Metal mode once (1 direct, 2 full, negative: a layer
// without Metal); answers the mode now, 0 for anything else.
int WISP_EnableMetal(HWND window, int mode);
namespace winlayer {
// The receiver's side of a promise into directory: the promised file's name
// there once written (asking the user when the name is taken), none when
// stopped or not written. Forgets the promise.
std::optional<std::string> ServePromisedFile(const std::string& directory);
} // namespace winlayer
