#pragma once

#include "winlayer/WinTypes.h"

// Loading of shared libraries as modules. A module may export the entry points
// "WISP_dllMain" and "DllMain" (module, reason 1 attach / 0 detach, null),
// either of which can refuse the attach. Safe from any thread.

using ModuleEntryPoint = BOOL (*)(HINSTANCE module, DWORD reason, void* reserved);

HINSTANCE LoadLibrary(const char* path);
// globals non-zero makes the module's symbols available to later loads.
HINSTANCE LoadLibraryGlobals(const char* path, int globals);
BOOL FreeLibrary(HINSTANCE module);
void* GetProcAddress(HINSTANCE module, const char* name);
// The module's file (found through the last symbol looked up in it), or the
// executable's for a null module. Answers the length written.
DWORD GetModuleFileName(HINSTANCE module, char* buffer, DWORD size);
// There are no bundles on this system: always null.
void* WISP_GetBundle(HINSTANCE module);
