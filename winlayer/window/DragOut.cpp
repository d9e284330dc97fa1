// Drags out of window views: a list of files, or one promised file that the
// caller's callback writes only when a receiver asks for it. Receivers here
// take "text/uri-list", so a promise is served into a fresh private folder
// the moment the receiver asks for the data.
#include "platform/ak/Alert.h"
#include "winlayer/drops/DropBlock.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using PromiseWriter = void (*)(const char* path);

// The drag started last: the promised file's source path and its writer.
struct DragSource {
    std::string path;
    PromiseWriter writer = nullptr;
};

DragSource& Source() {
    static DragSource source;
    return source;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

enum class Clash { keepBoth, stop, replace };

Clash AskAboutClash(const std::string& name) {
    ak::Alert alert;
    alert.SetMessageText("Copy");
    alert.SetInformativeText("An item named \"" + name +
                             "\" already exists in this location. Do you want to replace it "
                             "with the one you're moving?");
    alert.AddButton("Keep Both Files");
    alert.AddButton("Stop");
    alert.AddButton("Replace");
    switch (alert.RunModal() - ak::AlertResponse::FirstButton) {
    case 2:
        return Clash::replace;
    case 1:
        return Clash::stop;
    default:
        return Clash::keepBoth;
    }
}

// A fresh folder only this user can enter, for one promised file.
std::string PrivateFolder() {
    char folder[] = "/tmp/omnar-drag-XXXXXX";
    return mkdtemp(folder) ? std::string(folder) : std::string();
}

} // namespace

namespace winlayer {

std::optional<std::string> ServePromisedFile(const std::string& directory) {
    const DragSource source = Source();
    WISP_FinishDragDrop();
    if (directory.empty() || source.path.empty() || !source.writer)
        return std::nullopt;
    std::optional<std::string> target = PromiseCandidate(directory, source.path);
    if (target && Exists(*target)) {
        switch (AskAboutClash(NameOf(*target))) {
        case Clash::replace:
            break;
        case Clash::stop:
            return std::nullopt;
        case Clash::keepBoth:
            target = KeepBothName(*target, Exists);
            break;
        }
    }
    if (!target)
        return std::nullopt;
    source.writer(target->c_str());
    if (!Exists(*target))
        return std::nullopt;
    return NameOf(*target);
}

} // namespace winlayer

void WISP_FinishDragDrop() {
    Source() = DragSource{};
}

void WISP_InitiateDragDrop(HWND window, RECT*, const char* fileName, void* callback) {
    WISP_FinishDragDrop();
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(winlayer::FindObject(window));
    if (!view || !fileName)
        return;
    Source() = DragSource{fileName, reinterpret_cast<PromiseWriter>(callback)};
    view->BeginPromisedFileDrag([]() -> std::vector<std::string> {
        const std::string folder = PrivateFolder();
        const std::optional<std::string> name = winlayer::ServePromisedFile(folder);
        if (!name)
            return {};
        return {folder + "/" + *name};
    });
}

void WISP_InitiateDragDropOfFileList(HWND window, RECT*, const char** names, int count, void*) {
    WISP_FinishDragDrop();
    auto* view = dynamic_cast<Wisp_vOmnarControl_hwnd*>(winlayer::FindObject(window));
    if (!view || !names)
        return;
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        if (names[i])
            paths.emplace_back(names[i]);
    view->BeginFileDrag(paths);
}
