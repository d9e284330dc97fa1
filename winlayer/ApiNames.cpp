#include "winlayer/ApiNames.h"

#include "winlayer/Handles.h"
#include "winlayer/HostWindowCalls.h"
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
