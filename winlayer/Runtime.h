#pragma once

#include "winlayer/WinTypes.h"

#include <optional>
#include <string>

// Run-time services of the layer: the extension hook and the process-wide
// switches. Safe from any thread.

// Keys "APPNAME", "INIFILE", "FONTPANGRAM" and the four "WISP_DDrop_..." drag
// hooks; the drag hooks answer the value, everything else null.
void* WISP_ExtendedAPI(const char* key, void* value);

// Threads need no preparation here.
void WISP_EnsureMultithreadedCocoa();
// A token for a pool of deferred releases; nothing is deferred on this system.
void* WISP_InitAutoRelease();
void WISP_QuitAutoRelease(void* pool);
// Counts requests to keep the application from being throttled.
void WISP_DisableAppNap(int delta);
// While on (the default), Control with a left click acts as a right click.
void WISP_EnableRightClickEmulate(BOOL enable);

namespace winlayer {

// The ini file set through WISP_ExtendedAPI("INIFILE", ...), if any.
std::optional<std::string> DefaultIniFileOverride();
bool RightClickEmulation();
int AppNapRequests();

struct DragDropHooks {
    void* onDragEnter = nullptr;
    void* onDragOver = nullptr;
    void* onDragLeave = nullptr;
    void* getDroppedFileTargetPath = nullptr;
};
DragDropHooks CurrentDragDropHooks();

} // namespace winlayer
