#include "winlayer/Modules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct ModuleRecord {
    void* library = nullptr;
    int referenceCount = 1;
    ModuleEntryPoint wispDllMain = nullptr;
    ModuleEntryPoint dllMain = nullptr;
    void* lastSymbol = nullptr;
};

constexpr DWORD kAttach = 1;
constexpr DWORD kDetach = 0;

// Loaded modules sorted by library handle. Recursive, since entry points run
// under it and may load or look up modules themselves.
struct ModuleList {
    std::recursive_mutex mutex;
    std::vector<ModuleRecord*> modules;

    std::vector<ModuleRecord*>::iterator LowerBound(void* library) {
        return std::lower_bound(
            modules.begin(), modules.end(), library,
            [](const ModuleRecord* m, void* key) { return std::less<void*>()(m->library, key); });
    }
    ModuleRecord* FindByLibrary(void* library) {
        auto it = LowerBound(library);
        return it != modules.end() && (*it)->library == library ? *it : nullptr;
    }
    bool Contains(const ModuleRecord* record) {
        return std::find(modules.begin(), modules.end(), record) != modules.end();
    }
    void Insert(ModuleRecord* record) { modules.insert(LowerBound(record->library), record); }
    void Remove(ModuleRecord* record) { std::erase(modules, record); }
};

ModuleList& Modules() {
    static ModuleList list;
    return list;
}

bool IsExistingFile(const char* path) {
    struct stat status {};
    return stat(path, &status) == 0 && !S_ISDIR(status.st_mode);
}

void* FindSymbol(ModuleRecord& record, const char* name) {
    void* symbol = dlsym(record.library, name);
    if (symbol)
        record.lastSymbol = symbol;
    return symbol;
}

// Takes a refused module out again; only the entry points that accepted have
// been told, so no detach runs here.
void DiscardRefused(ModuleList& list, ModuleRecord* record) {
    list.Remove(record);
    dlclose(record->library);
    delete record;
}

} // namespace

HINSTANCE LoadLibrary(const char* path) {
    return LoadLibraryGlobals(path, 0);
}

HINSTANCE LoadLibraryGlobals(const char* path, int globals) {
    if (!path || !*path)
        return nullptr;
    void* library = dlopen(path, RTLD_NOW | (globals ? RTLD_GLOBAL : RTLD_LOCAL));
    if (!library) {
        if (path[0] == '/' && IsExistingFile(path)) {
            const char* reason = dlerror();
            std::fprintf(stderr, "wisp: dlopen() failed: %s\n", reason ? reason : path);
        }
        return nullptr;
    }
    ModuleList& list = Modules();
    std::lock_guard lock(list.mutex);
    if (ModuleRecord* loaded = list.FindByLibrary(library)) {
        ++loaded->referenceCount;
        return loaded;
    }
    auto* record = new ModuleRecord{library};
    list.Insert(record);
    record->wispDllMain = reinterpret_cast<ModuleEntryPoint>(FindSymbol(*record, "WISP_dllMain"));
    if (!record->wispDllMain)
        return record;
    if (!record->wispDllMain(record, kAttach, nullptr)) {
        DiscardRefused(list, record);
        return nullptr;
    }
    record->dllMain = reinterpret_cast<ModuleEntryPoint>(FindSymbol(*record, "DllMain"));
    if (record->dllMain && !record->dllMain(record, kAttach, nullptr)) {
        record->wispDllMain(record, kDetach, nullptr);
        DiscardRefused(list, record);
        return nullptr;
    }
    return record;
}

BOOL FreeLibrary(HINSTANCE module) {
    auto* record = static_cast<ModuleRecord*>(module);
    if (!record)
        return FALSE;
    ModuleList& list = Modules();
    std::lock_guard lock(list.mutex);
    if (!list.Contains(record))
        return FALSE;
    const bool last = record->referenceCount-- <= 1;
    if (last) {
        list.Remove(record);
        // Detach runs while the module's code is still mapped.
        if (record->wispDllMain) {
            record->wispDllMain(record, kDetach, nullptr);
            if (record->dllMain)
                record->dllMain(record, kDetach, nullptr);
        }
    }
    dlclose(record->library);
    if (last)
        delete record;
    return TRUE;
}

void* GetProcAddress(HINSTANCE module, const char* name) {
    auto* record = static_cast<ModuleRecord*>(module);
    if (!record || !name)
        return nullptr;
    ModuleList& list = Modules();
    std::lock_guard lock(list.mutex);
    if (!list.Contains(record))
        return nullptr;
    return FindSymbol(*record, name);
}

DWORD GetModuleFileName(HINSTANCE module, char* buffer, DWORD size) {
    if (!buffer || size < 1)
        return 0;
    buffer[0] = '\0';
    std::string path;
    if (!module) {
        char executable[4096];
        const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof executable)
            return 0;
        path.assign(executable, static_cast<std::size_t>(length));
    } else {
        ModuleList& list = Modules();
        std::lock_guard lock(list.mutex);
        auto* record = static_cast<ModuleRecord*>(module);
        Dl_info info{};
        if (!list.Contains(record) || !record->lastSymbol || !dladdr(record->lastSymbol, &info) ||
            !info.dli_fname)
            return 0;
        path = info.dli_fname;
    }
    const std::size_t length = std::min<std::size_t>(path.size(), size - 1);
    std::memcpy(buffer, path.data(), length);
    buffer[length] = '\0';
    return static_cast<DWORD>(length);
}

void* WISP_GetBundle(HINSTANCE) {
    return nullptr;
}
