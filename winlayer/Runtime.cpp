#include "winlayer/Runtime.h"

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

// The values the extension hook keeps, under one mutex.
struct ExtensionValues {
    std::mutex mutex;
    void* applicationName = nullptr;
    void* fontPangram = nullptr;
    std::optional<std::string> iniFile;
    winlayer::DragDropHooks dragDrop;
};

ExtensionValues& Extensions() {
    static ExtensionValues values;
    return values;
}

std::atomic<bool> g_rightClickEmulation{true};
std::atomic<int> g_appNapRequests{0};

struct AutoReleaseToken {};

} // namespace

void* WISP_ExtendedAPI(const char* key, void* value) {
    if (!key)
        return nullptr;
    ExtensionValues& values = Extensions();
    std::lock_guard lock(values.mutex);
    const auto is = [key](const char* name) { return std::strcmp(key, name) == 0; };
    if (is("APPNAME")) {
        values.applicationName = value;
    } else if (is("INIFILE")) {
        values.iniFile.reset();
        if (value)
            values.iniFile.emplace(static_cast<const char*>(value));
    } else if (is("FONTPANGRAM")) {
        values.fontPangram = value;
    } else if (is("WISP_DDrop_onDragLeave")) {
        return values.dragDrop.onDragLeave = value;
    } else if (is("WISP_DDrop_onDragOver")) {
        return values.dragDrop.onDragOver = value;
    } else if (is("WISP_DDrop_onDragEnter")) {
        return values.dragDrop.onDragEnter = value;
    } else if (is("WISP_DDrop_getDroppedFileTargetPath")) {
        return values.dragDrop.getDroppedFileTargetPath = value;
    }
    return nullptr;
}

void WISP_EnsureMultithreadedCocoa() {}

void* WISP_InitAutoRelease() {
    return new AutoReleaseToken;
}

void WISP_QuitAutoRelease(void* pool) {
    delete static_cast<AutoReleaseToken*>(pool);
}

void WISP_DisableAppNap(int delta) {
    g_appNapRequests.fetch_add(delta);
}

void WISP_EnableRightClickEmulate(BOOL enable) {
    g_rightClickEmulation.store(enable != FALSE);
}

namespace winlayer {

std::optional<std::string> DefaultIniFileOverride() {
    ExtensionValues& values = Extensions();
    std::lock_guard lock(values.mutex);
    return values.iniFile;
}

bool RightClickEmulation() {
    return g_rightClickEmulation.load();
}

int AppNapRequests() {
    return g_appNapRequests.load();
}

DragDropHooks CurrentDragDropHooks() {
    ExtensionValues& values = Extensions();
    std::lock_guard lock(values.mutex);
    return values.dragDrop;
}

} // namespace winlayer
