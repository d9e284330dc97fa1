#include "winlayer/Runtime.h"
#include "winlayer/WinBasics.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

using DragEnterHook = void (*)(HDROP, POINT);
using DragOverHook = void (*)(POINT);
using DragLeaveHook = void (*)();
using TargetPathHook = const char* (*)(const char* fileType);

POINT Rounded(ak::Point point) {
    return POINT{static_cast<int>(std::floor(point.x + 0.5)),
                 static_cast<int>(std::floor(point.y + 0.5))};
}

// What a hovering drag names: its files, or "tmp." and the type of each
// file its source promises to write at the drop.
std::vector<std::string> HoverNames(const ak::FileDrag& drag) {
    if (!drag.paths.empty())
        return drag.paths;
    std::vector<std::string> names;
    for (const std::string& type : drag.promisedTypes)
        names.push_back("tmp." + type);
    return names;
}

// A fresh folder in the temporary folder that only this user can enter: the
// source picks the file's name, and a name in the shared folder itself could
// be taken over by anyone (a link planted under it, say). Empty on failure.
std::string PrivateTemporaryFolder() {
    std::error_code error;
    std::filesystem::path shared = std::filesystem::temp_directory_path(error);
    if (error)
        shared = "/tmp";
    std::string folder = (shared / "omnar-drop-XXXXXX").string();
    return mkdtemp(folder.data()) ? folder : std::string();
}

void CallDragLeave() {
    if (const auto hook =
            reinterpret_cast<DragLeaveHook>(winlayer::CurrentDragDropHooks().onDragLeave))
        hook();
}

} // namespace

bool Wisp_vOmnarControl_hwnd::DraggingEntered(const ak::FileDrag& drag) {
    if (!supportsDrop_)
        return false;
    const auto hook = reinterpret_cast<DragEnterHook>(winlayer::CurrentDragDropHooks().onDragEnter);
    const std::vector<std::string> names = HoverNames(drag);
    if (hook && !names.empty()) {
        if (HDROP block = winlayer::MakeDropBlock(names, Rounded(drag.location))) {
            POINT onScreen = Rounded(drag.location);
            ClientToScreen(Handle(), &onScreen);
            hook(block, onScreen);
            GlobalFree(block);
        }
    }
    return true;
}

bool Wisp_vOmnarControl_hwnd::DraggingUpdated(const ak::FileDrag& drag) {
    if (!supportsDrop_)
        return false;
    if (const auto hook =
            reinterpret_cast<DragOverHook>(winlayer::CurrentDragDropHooks().onDragOver)) {
        POINT onScreen = Rounded(drag.location);
        ClientToScreen(Handle(), &onScreen);
        hook(onScreen);
    }
    return true;
}

void Wisp_vOmnarControl_hwnd::DraggingExited() {
    if (supportsDrop_)
        CallDragLeave();
}

bool Wisp_vOmnarControl_hwnd::PerformDrop(const ak::FileDrag& drag) {
    if (!supportsDrop_)
        return false;
    CallDragLeave();
    if (drag.paths.empty())
        return false;
    HDROP block = winlayer::MakeDropBlock(drag.paths, Rounded(drag.location));
    if (!block)
        return false; // no memory: no drop and no message
    ak::Ref<ak::View> hold(this);
    onWispMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    GlobalFree(block);
    return true;
}

std::string Wisp_vOmnarControl_hwnd::PromisedFilesFolder(const ak::FileDrag& drag) {
    const auto hook =
        reinterpret_cast<TargetPathHook>(winlayer::CurrentDragDropHooks().getDroppedFileTargetPath);
    if (!supportsDrop_ || !hook || drag.promisedTypes.empty())
        return {};
    // The hook sees the first type, cut to what its buffer holds.
    char type[256] = "";
    std::strncpy(type, drag.promisedTypes.front().c_str(), sizeof type - 1);
    const char* folder = hook(type);
    return folder && *folder ? std::string(folder) : PrivateTemporaryFolder();
}
