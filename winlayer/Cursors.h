#pragma once

#include "winlayer/WinTypes.h"

#include "platform/ak/Cursor.h"
#include "platform/ak/Event.h"

// Cursors by Win32 id, from 16×16 bitmaps and ".cur" files, and the cursor
// position with its show counter. Main thread.

using HCURSOR = ak::Cursor*;

inline constexpr int IDC_ARROW = 32512;
inline constexpr int IDC_IBEAM = 32513;
inline constexpr int IDC_UPARROW = 32516;
inline constexpr int IDC_SIZENWSE = 32642;
inline constexpr int IDC_SIZENESW = 32643;
inline constexpr int IDC_SIZEWE = 32644;
inline constexpr int IDC_SIZENS = 32645;
inline constexpr int IDC_SIZEALL = 32646;
inline constexpr int IDC_NO = 32648;
inline constexpr int IDC_HAND = 32649;

struct CursorResourceNode {
    INT_PTR resourceId;
    const char* name;
    int hotX;
    int hotY;
    ak::Ref<ak::Cursor> cursor;
    CursorResourceNode* next;
};

// Kept for the process; not to be released.
HCURSOR WISP_LoadCursor(INT_PTR id);
// A new cursor the caller owns (ak::Cursor::Release), or null.
HCURSOR WISP_LoadCursorFromFile(const char* name);
CursorResourceNode* WISP_Register_Cursor_Resource(INT_PTR id, const char* name, int hotX, int hotY);
void WISP_SetCursor(HCURSOR cursor);
HCURSOR WISP_GetCursor();
HCURSOR WISP_GetLastSetCursor();
BOOL GetCursorPos(POINT* point);
DWORD GetMessagePos();
int WISP_IsCursorVisible();
int WISP_ShowCursor(BOOL show);
int WISP_SetCursorPos(int x, int y);

namespace ak {
class View;
}

// A mouse event's position in the view; while the cursor is hidden, the
// virtual position (moved by the motion for WM_MOUSEMOVE) in the view.
ak::Point MouseEventPosition(UINT message, ak::View* view, const ak::Event& event);

namespace winlayer {

// (y << 16) | (x & 0xFFFF).
DWORD PackMessagePos(int x, int y);

// The image of a cursor file or named image, with the file's hot spot
// ((0, 0) when it was not a cursor file); null when nothing could be read.
ak::Ref<ak::Image> WISP_ReadCursorFile(const char* name, POINT* hotSpot);

// The 16×16 grey-and-alpha bitmaps of the built-in cursors (one byte a pixel:
// grey in the high four bits, opacity in the low four).
enum class BuiltInCursor { SizeNorthWestSouthEast, SizeNorthEastSouthWest, SizeAll, No };
const unsigned char* BuiltInCursorBitmap(BuiltInCursor which);
ak::Ref<ak::Image> ImageFromCursorBitmap(const unsigned char* bitmap);

} // namespace winlayer
