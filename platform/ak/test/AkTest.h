#pragma once

// In-process input and snapshots for the display tests: events are put on
// GDK's queue at a point of a window, so they take the path real input takes.

#include "platform/ak/Application.h"
#include "platform/ak/ColorPanel.h"
#include "platform/ak/Geometry.h"
#include "platform/ak/NativeView.h"
#include "platform/ak/View.h"
#include "platform/ak/Window.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ak::test {

// Modifier states of injected events, in GDK's bits.
namespace Mod {
constexpr unsigned Shift = 1u << 0;
constexpr unsigned Ctrl = 1u << 2;
constexpr unsigned Alt = 1u << 3;
constexpr unsigned Super = 1u << 26;
} // namespace Mod

// GDK's numbering: 1 left, 2 middle, 3 right.
struct Button {
    unsigned number = 1;
    unsigned modifiers = 0;
    uint32_t timeMs = 0; // 0: a moment after the previous injected event
};

void Press(Window& window, Point inWindow, Button button = {});
void Release(Window& window, Point inWindow, Button button = {});
// A motion with button held (0: none).
void Move(Window& window, Point inWindow, unsigned heldButton = 0, unsigned modifiers = 0);
void Click(Window& window, Point inWindow, Button button = {});
// The pointer entering the window-system window under a point, as the
// crossing before a real click; native buttons take clicks only after it.
void Enter(Window& window, Point inWindow);
// direction: 0 up, 1 down, 2 left, 3 right, 4 smooth with (dx, dy).
void Scroll(Window& window, Point inWindow, int direction, double dx = 0, double dy = 0);
// Touchpad gestures. phase: 0 begin, 1 update, 2 end. angleDelta in
// radians, clockwise positive as GDK gives it.
void Pinch(Window& window, Point inWindow, int phase, double scale, double angleDelta);
void Swipe(Window& window, Point inWindow, int phase, double dx, double dy);

// The window manager's close box.
void CloseBox(Window& window);
void Key(Window& window, unsigned xKeycode, unsigned keysym, bool down, unsigned modifiers = 0);

// Runs the main loop until the predicate holds or timeoutMs pass; answers
// the predicate.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// Every event the window system sent before a round trip to it, every event
// injected so far and whatever idle work they queued has been served: the
// later event that proves an expected one would have arrived by now. Work
// the program put on a timer is not waited for.
bool WaitUntilServed(int timeoutMs = 10000);

// The window mapped, placed and drawn at least once.
bool WaitUntilShown(Window& window);
// The window has drawn once more after this call.
bool WaitUntilDrawn(Window& window);
// The window has laid out and drawn what changed before this call (a frame
// lays out before it draws), and everything queued meanwhile is served.
bool WaitUntilSettled(Window& window);

// The window system places the real pointer at the screen point and every
// event it sent on the way there has been served: a warp has landed.
bool WaitUntilPointerAt(Point onScreen);

// Runs fn inside GTK's dispatch of an event of the window stamped an hour
// past the X server's clock. The server ignores requests that carry a time
// it has not reached, so GTK's asking for the clipboard from fn is refused.
void RunDuringLateStampedEvent(Window& window, const std::function<void()>& fn);

// Writes the window's pixels to build/test-output/<name>.png; answers the path.
std::string SaveSnapshot(Window& window, const std::string& name);

} // namespace ak::test

namespace ak::test {

// Drags a "text/uri-list" over a view through the points (view coordinates),
// then drops it or leaves; answers whether the drop was taken.
bool DragFiles(View& view, const std::string& uriList, const std::vector<Point>& path, bool drop);

// A drag source of the test program that offers only a file it writes on
// demand, the direct-save way: it suggests the name and, once the receiver
// has named a place, writes the bytes there and answers success; a failing
// one answers failure and writes nothing.
struct PromisedFile {
    std::string name;
    std::string bytes;
    bool fails = false;
};
// Drags the promise over the view to the point (view coordinates) and drops
// it there; answers, once the drag has ended, whether the receiver took it.
bool DragPromisedFile(View& view, Point at, const PromisedFile& file);

// A native view hosting a one-line text entry.
Ref<NativeView> MakeTextField(Rect frame);
// Gives a native view's widget GTK's focus, as a click into it would.
void FocusNativeWidget(NativeView& view);

// Types text into the one-line entry (or the scrolled text view) of a native
// view at its cursor, as the keyboard or a paste would (the entry's filters
// see it); Return ends an entry.
void TypeIntoNativeWidget(NativeView& view, const std::string& text);
// Return as the keyboard gives it: an entry's activation, a key press in a
// text view.
void PressReturnInNativeWidget(NativeView& view);
// The lines a native view's text shows now: 1 for an entry, the wrapped
// display lines of a text view (laid out first).
int NativeDisplayLines(NativeView& view);
// How far a native view's scrolled widget stands from its top, in pixels.
double NativeVerticalScroll(NativeView& view);

// Changes the desktop theme as the user's settings would.
void SetTheme(const char* name, bool preferDark);

// The test program's one application, made on first use; fails the calling
// test (null) when there is no display.
Application* App();

} // namespace ak::test

namespace ak::test {

// The pop-up menu open now (GTK's own widgets): choosing an item activates it
// as a click would; false when no menu is open or there is no such item.
bool IsMenuOpen();
// No pop-up menu open, its grab of the pointer let go and what that queued
// served: a menu opened now does not take the last one's ungrab for its own.
bool WaitUntilNoMenu();
bool ChooseInOpenMenu(int index);
bool CancelOpenMenu();
// Chooses item subIndex of the submenu under item index of the open menu,
// then closes the open menu, as a click deep in the menu would.
bool ChooseInOpenSubmenu(int index, int subIndex);
// An item of the open menu, in screen points; empty when there is none.
Rect OpenMenuItemOnScreen(int index);

// The items of a menu as drawn now, no item highlighted: the window's menu
// bar or the open menu. Each item is drawn alone on a clear surface, and its
// title (the item's content, empty for separators) is in the item's points.
struct MenuSnapshot {
    std::vector<Surface> items;
    std::vector<Rect> titles;
};
MenuSnapshot SnapshotMenuBar(Window& window);
MenuSnapshot SnapshotOpenMenu();

// The X key code of a key symbol on the display's keymap, 0 when none.
unsigned KeycodeOf(unsigned keysym);

// The alert running now: shown, a button pressed, a key typed, the close box.
bool IsAlertShown();
// The running alert's window caption; empty when none runs.
std::string AlertTitle();
bool AlertPressButton(int index);
bool AlertKey(unsigned keysym);
bool AlertCloseBox();

} // namespace ak::test

namespace ak::test {

// The file panel running now, answered through GTK's chooser: its folder,
// the name typed, whether its filter shows a file name, and its buttons.
bool IsFilePanelShown();
std::string FilePanelFolder();
std::string FilePanelName();
bool FilePanelShows(const std::string& fileName);
// Open panels select the paths; save panels take the first as the name.
bool FilePanelAccept(const std::vector<std::string>& paths);
bool FilePanelCancel();
// Resizes the panel as the user would; true once GTK has laid it out at that width.
bool FilePanelResize(int width, int height);

} // namespace ak::test

namespace ak::test {

// Where GTK placed a native view's widget, in its window's pixels.
Rect NativeWidgetRectInWindow(NativeView& view);
// The GdkCursor the window shows, null for its parent's.
void* CursorOfWindow(Window& window);

} // namespace ak::test

namespace ak::test {

// The colour or font chooser open now: picks as the user would, then
// answers OK (accept) or Cancel when asked to.
bool ColorPanelPick(Color color);
bool FontPanelPick(const std::string& description);
bool PanelAnswer(void* dialog, bool accept);

} // namespace ak::test
