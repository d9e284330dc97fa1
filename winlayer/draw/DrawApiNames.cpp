#include "winlayer/ApiNames.h"
#include "winlayer/draw/Cursors.h"
#include "winlayer/draw/Gdi.h"
#include "winlayer/draw/GdiText.h"
#include "winlayer/draw/Keyboard.h"
#include "winlayer/draw/Menus.h"

#include <mutex>

#define API_NAME(function)                                                                         \
    ApiFunction {                                                                                  \
#function, reinterpret_cast < void*>(&function)                                            \
    }

namespace winlayer {

void AddDrawingApiNames() {
    static const ApiFunction names[] = {
        API_NAME(WISP_CreateMemContext),
        API_NAME(WISP_WrapGraphicsContext),
        API_NAME(WISP_DeleteGfxContext),
        API_NAME(WISP_GetCtxGC),
        API_NAME(WISP_GetCtxFrameBuffer),
        API_NAME(WISP_IsRetinaDC),
        API_NAME(WISP_PushClipRegion),
        API_NAME(WISP_SetClipRegion),
        API_NAME(WISP_PopClipRegion),
        API_NAME(CreatePen),
        API_NAME(CreatePenAlpha),
        API_NAME(CreateSolidBrush),
        API_NAME(CreateSolidBrushAlpha),
        API_NAME(GetStockObject),
        API_NAME(SelectObject),
        API_NAME(DeleteObject),
        API_NAME(WISP_CloneGDIObject),
        API_NAME(GetObject),
        API_NAME(CreateBitmap),
        API_NAME(CreateIconIndirect),
        API_NAME(LoadNamedImage),
        API_NAME(GetNSImageFromHICON),
        API_NAME(DrawImageInRect),
        API_NAME(ImageList_CreateEx),
        API_NAME(ImageList_Add),
        API_NAME(ImageList_ReplaceIcon),
        API_NAME(ImageList_Remove),
        API_NAME(ImageList_Destroy),
        API_NAME(MoveToEx),
        API_NAME(LineTo),
        API_NAME(PolyBezierTo),
        API_NAME(PolyPolyline),
        API_NAME(WISP_Polygon),
        API_NAME(RoundRect),
        API_NAME(Rectangle),
        API_NAME(Ellipse),
        API_NAME(WISP_FillRect),
        API_NAME(SetPixel),
        API_NAME(BitBlt),
        API_NAME(StretchBlt),
        API_NAME(WISP_FillDialogBackground),
        API_NAME(GetSysColor),
        API_NAME(WISP_osx_is_dark_mode),
        API_NAME(CreateFont),
        API_NAME(CreateFontIndirect),
        API_NAME(SetTextColor),
        API_NAME(GetTextColor),
        API_NAME(SetBkColor),
        API_NAME(SetBkMode),
        API_NAME(WISP_DrawText),
        API_NAME(GetTextMetrics),
        API_NAME(GetTextFace),
        API_NAME(GetGlyphIndicesW),
        API_NAME(AddFontResourceEx),
        API_NAME(WISP_FontHandleToCTFont),
        API_NAME(WISP_MacKeyToWindowsKey),
        API_NAME(WISP_MacKeyToWindowsKeyEx),
        API_NAME(WISP_KeyToASCII),
        API_NAME(GetAsyncKeyState),
        API_NAME(WISP_KeyboardLayoutChar),
        API_NAME(WISP_LoadCursor),
        API_NAME(WISP_LoadCursorFromFile),
        API_NAME(WISP_Register_Cursor_Resource),
        API_NAME(WISP_SetCursor),
        API_NAME(WISP_GetCursor),
        API_NAME(WISP_GetLastSetCursor),
        API_NAME(GetCursorPos),
        API_NAME(GetMessagePos),
        API_NAME(WISP_IsCursorVisible),
        API_NAME(WISP_ShowCursor),
        API_NAME(WISP_SetCursorPos),
        API_NAME(CreatePopupMenu),
        API_NAME(CreatePopupMenuEx),
        API_NAME(DestroyMenu),
        API_NAME(WISP_DuplicateMenu),
        API_NAME(GetMenuItemCount),
        API_NAME(GetMenuItemID),
        API_NAME(GetSubMenu),
        API_NAME(AddMenuItem),
        API_NAME(WISP_Menu_AddMenuItem),
        API_NAME(WISP_InsertMenu),
        API_NAME(InsertMenuItem),
        API_NAME(DeleteMenu),
        API_NAME(GetMenuItemInfo),
        API_NAME(SetMenuItemInfo),
        API_NAME(SetMenuItemText),
        API_NAME(EnableMenuItem),
        API_NAME(CheckMenuItem),
        API_NAME(SetMenuItemModifier),
        API_NAME(WISP_LoadMenu),
        API_NAME(WISP_GenerateMenuFromList),
        API_NAME(DrawMenuBar),
    };
    static std::once_flag registered;
    std::call_once(registered, [] { AddApiFunctions(names); });
}

} // namespace winlayer
