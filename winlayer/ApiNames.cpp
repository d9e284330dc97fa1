#include "winlayer/ApiNames.h"

#include "winlayer/Cursors.h"
#include "winlayer/Gdi.h"
#include "winlayer/GdiText.h"
#include "winlayer/Handles.h"
#include "winlayer/HostWindowCalls.h"
#include "winlayer/Keyboard.h"
#include "winlayer/Menus.h"
#include "winlayer/MessageQueue.h"
#include "winlayer/Modules.h"
#include "winlayer/PrivateProfile.h"
#include "winlayer/Runtime.h"
#include "winlayer/WinBasics.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

struct ApiEntry {
    const char* name;
    void* address;
};

#define API_ENTRY(function)                                                                        \
    { #function, reinterpret_cast < void*>(&function) }

// In the layer's published order; sorted by name before the first lookup.
// Each part of the layer adds its functions here as it is built.
ApiEntry g_table[] = {
    API_ENTRY(lstrcpyn),
    API_ENTRY(MulDiv),
    API_ENTRY(Sleep),
    API_ENTRY(GetTickCount),
    API_ENTRY(GetFileTime),
    API_ENTRY(WritePrivateProfileString),
    API_ENTRY(GetPrivateProfileString),
    API_ENTRY(GetPrivateProfileInt),
    API_ENTRY(GetPrivateProfileStruct),
    API_ENTRY(WritePrivateProfileStruct),
    API_ENTRY(WritePrivateProfileSection),
    API_ENTRY(GetPrivateProfileSection),
    API_ENTRY(GetModuleFileName),
    API_ENTRY(WISP_CStringToCFString),
    API_ENTRY(WISP_CFStringToCString),
    API_ENTRY(WISP_PtInRect),
    API_ENTRY(WinOffsetRect),
    API_ENTRY(WinSetRect),
    API_ENTRY(WinUnionRect),
    API_ENTRY(WinIntersectRect),
    API_ENTRY(WISP_EnableRightClickEmulate),
    API_ENTRY(GlobalAlloc),
    API_ENTRY(GlobalLock),
    API_ENTRY(GlobalSize),
    API_ENTRY(GlobalUnlock),
    API_ENTRY(GlobalFree),
    API_ENTRY(CreateThread),
    API_ENTRY(CreateEvent),
    API_ENTRY(CreateEventAsSocket),
    API_ENTRY(GetCurrentThreadId),
    API_ENTRY(WaitForSingleObject),
    API_ENTRY(WaitForAnySocketObject),
    API_ENTRY(CloseHandle),
    API_ENTRY(SetThreadPriority),
    API_ENTRY(SetEvent),
    API_ENTRY(ResetEvent),
    API_ENTRY(WISP_EnsureMultithreadedCocoa),
    API_ENTRY(WISP_InitAutoRelease),
    API_ENTRY(WISP_QuitAutoRelease),
    API_ENTRY(WISP_TerminateProcess),
    API_ENTRY(WISP_CreateProcessIO),
    API_ENTRY(WISP_ReadWriteProcessIO),
    API_ENTRY(WISP_CreateProcess),
    API_ENTRY(WISP_GetProcessExitCode),
    API_ENTRY(LoadLibraryGlobals),
    API_ENTRY(LoadLibrary),
    API_ENTRY(GetProcAddress),
    API_ENTRY(FreeLibrary),
    API_ENTRY(WISP_GetBundle),
    API_ENTRY(WISP_ExtendedAPI),
    API_ENTRY(_controlfp),
    API_ENTRY(GetTempPath),
    API_ENTRY(WISP_GenerateGUID),
    API_ENTRY(WISP_DisableAppNap),
    API_ENTRY(WISP_GetOSXVersion),
    API_ENTRY(SetTimer),
    API_ENTRY(KillTimer),
    API_ENTRY(PostMessage),
    API_ENTRY(WISP_MessageQueue_Flush),
    API_ENTRY(WISP_MessageQueue_Clear),
    API_ENTRY(WISP_CreateMemContext),
    API_ENTRY(WISP_WrapGraphicsContext),
    API_ENTRY(WISP_CreateMetalDC),
    API_ENTRY(WISP_DeleteGfxContext),
    API_ENTRY(WISP_GetCtxGC),
    API_ENTRY(WISP_GetCtxFrameBuffer),
    API_ENTRY(WISP_IsRetinaDC),
    API_ENTRY(WISP_PushClipRegion),
    API_ENTRY(WISP_SetClipRegion),
    API_ENTRY(WISP_PopClipRegion),
    API_ENTRY(CreatePen),
    API_ENTRY(CreatePenAlpha),
    API_ENTRY(CreateSolidBrush),
    API_ENTRY(CreateSolidBrushAlpha),
    API_ENTRY(GetStockObject),
    API_ENTRY(SelectObject),
    API_ENTRY(DeleteObject),
    API_ENTRY(WISP_CloneGDIObject),
    API_ENTRY(GetObject),
    API_ENTRY(CreateBitmap),
    API_ENTRY(CreateIconIndirect),
    API_ENTRY(LoadNamedImage),
    API_ENTRY(GetNSImageFromHICON),
    API_ENTRY(DrawImageInRect),
    API_ENTRY(ImageList_CreateEx),
    API_ENTRY(ImageList_Add),
    API_ENTRY(ImageList_ReplaceIcon),
    API_ENTRY(ImageList_Remove),
    API_ENTRY(ImageList_Destroy),
    API_ENTRY(MoveToEx),
    API_ENTRY(LineTo),
    API_ENTRY(PolyBezierTo),
    API_ENTRY(PolyPolyline),
    API_ENTRY(WISP_Polygon),
    API_ENTRY(RoundRect),
    API_ENTRY(Rectangle),
    API_ENTRY(Ellipse),
    API_ENTRY(WISP_FillRect),
    API_ENTRY(SetPixel),
    API_ENTRY(BitBlt),
    API_ENTRY(StretchBlt),
    API_ENTRY(WISP_FillDialogBackground),
    API_ENTRY(GetSysColor),
    API_ENTRY(WISP_osx_is_dark_mode),
    API_ENTRY(CreateFont),
    API_ENTRY(CreateFontIndirect),
    API_ENTRY(SetTextColor),
    API_ENTRY(GetTextColor),
    API_ENTRY(SetBkColor),
    API_ENTRY(SetBkMode),
    API_ENTRY(WISP_DrawText),
    API_ENTRY(GetTextMetrics),
    API_ENTRY(GetTextFace),
    API_ENTRY(GetGlyphIndicesW),
    API_ENTRY(AddFontResourceEx),
    API_ENTRY(WISP_FontHandleToCTFont),
    API_ENTRY(WISP_MacKeyToWindowsKey),
    API_ENTRY(WISP_MacKeyToWindowsKeyEx),
    API_ENTRY(WISP_KeyToASCII),
    API_ENTRY(GetAsyncKeyState),
    API_ENTRY(WISP_KeyboardLayoutChar),
    API_ENTRY(WISP_LoadCursor),
    API_ENTRY(WISP_LoadCursorFromFile),
    API_ENTRY(WISP_Register_Cursor_Resource),
    API_ENTRY(WISP_SetCursor),
    API_ENTRY(WISP_GetCursor),
    API_ENTRY(WISP_GetLastSetCursor),
    API_ENTRY(GetCursorPos),
    API_ENTRY(GetMessagePos),
    API_ENTRY(WISP_IsCursorVisible),
    API_ENTRY(WISP_ShowCursor),
    API_ENTRY(WISP_SetCursorPos),
    API_ENTRY(CreatePopupMenu),
    API_ENTRY(CreatePopupMenuEx),
    API_ENTRY(DestroyMenu),
    API_ENTRY(WISP_DuplicateMenu),
    API_ENTRY(GetMenuItemCount),
    API_ENTRY(GetMenuItemID),
    API_ENTRY(GetSubMenu),
    API_ENTRY(AddMenuItem),
    API_ENTRY(WISP_Menu_AddMenuItem),
    API_ENTRY(WISP_InsertMenu),
    API_ENTRY(InsertMenuItem),
    API_ENTRY(DeleteMenu),
    API_ENTRY(GetMenuItemInfo),
    API_ENTRY(SetMenuItemInfo),
    API_ENTRY(SetMenuItemText),
    API_ENTRY(EnableMenuItem),
    API_ENTRY(CheckMenuItem),
    API_ENTRY(SetMenuItemModifier),
    API_ENTRY(WISP_LoadMenu),
    API_ENTRY(WISP_GenerateMenuFromList),
    API_ENTRY(DrawMenuBar),
    API_ENTRY(GetClientRect),
    API_ENTRY(GetWindowRect),
    API_ENTRY(SetWindowPos),
};

#undef API_ENTRY

bool NameLess(const ApiEntry& a, const ApiEntry& b) {
    return std::strcmp(a.name, b.name) < 0;
}

struct AddedFunctions {
    std::mutex mutex;
    std::vector<ApiEntry> entries; // sorted by name
};

AddedFunctions& Added() {
    static AddedFunctions added;
    return added;
}

void* FindAdded(const char* name) {
    AddedFunctions& added = Added();
    std::lock_guard lock(added.mutex);
    const ApiEntry key{name, nullptr};
    const auto it = std::lower_bound(added.entries.begin(), added.entries.end(), key, NameLess);
    return it != added.entries.end() && std::strcmp(it->name, name) == 0 ? it->address : nullptr;
}

} // namespace

namespace winlayer {

void AddApiFunctions(std::span<const ApiFunction> functions) {
    AddedFunctions& added = Added();
    std::lock_guard lock(added.mutex);
    for (const ApiFunction& function : functions) {
        const ApiEntry entry{function.name, function.address};
        const auto it =
            std::lower_bound(added.entries.begin(), added.entries.end(), entry, NameLess);
        if (it == added.entries.end() || std::strcmp(it->name, function.name) != 0)
            added.entries.insert(it, entry);
    }
}

} // namespace winlayer

void* LookupAPIFunctionByName(const char* name) {
    if (!name)
        return reinterpret_cast<void*>(256);
    static std::once_flag sorted;
    std::call_once(sorted, [] { std::sort(std::begin(g_table), std::end(g_table), NameLess); });
    const ApiEntry key{name, nullptr};
    const auto it = std::lower_bound(std::begin(g_table), std::end(g_table), key, NameLess);
    if (it != std::end(g_table) && std::strcmp(it->name, name) == 0)
        return it->address;
    return FindAdded(name);
}
