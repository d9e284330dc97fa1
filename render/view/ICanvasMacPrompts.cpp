// File and folder prompts, the colour panel, and the native text entry and
// popup menu that the canvas hands to its view.
#include "platform/ak/Application.h"
#include "platform/ak/FilePanel.h"
#include "platform/sys/Folders.h"
#include "render/view/ICanvasMac.h"
#include "render/view/ServiceRules.h"
#include "render/view/ViewGeometry.h"

namespace vx::ui {

namespace {

// OK: the chosen path and its folder; otherwise the strings stay.
void TakeChosenFile(const ak::SavePanel& panel, int response, VxString& fileName,
                    VxString& folder) {
    if (response != ak::PanelResponse::OK || panel.Paths().empty())
        return;
    const std::string& path = panel.Paths().front();
    fileName.SetBounded(path.c_str());
    folder.SetBounded(FolderOfPath(path).c_str());
}

// OK: the chosen folder ending in "/"; otherwise empty.
void TakeChosenFolder(const ak::SavePanel& panel, int response, VxString& folder) {
    const bool chosen = response == ak::PanelResponse::OK && !panel.Paths().empty();
    folder.SetBounded(chosen ? (panel.Paths().front() + "/").c_str() : "");
}

} // namespace

void ICanvasMac::RunFileDialog(VxString& fileName, VxString& folder, EFileAction action,
                               const char* extensions, FileDialogCompletion completion) {
    if (!view) {
        fileName.SetBounded("");
        return;
    }
    ak::Ref<ak::SavePanel> panel;
    if (action == EFileAction::Save) {
        panel = ak::MakeRef<ak::SavePanel>();
        panel->SetNameFieldValue(fileName.Get());
        panel->SetAllowsOtherFileTypes(false);
    } else {
        auto open = ak::MakeRef<ak::OpenPanel>();
        open->SetCanChooseFiles(true);
        open->SetCanChooseDirectories(false);
        panel = open;
    }
    fileName.SetBounded("");
    panel->SetAllowedExtensions(SplitExtensions(extensions));
    panel->SetDirectory(folder.Get());
    if (!completion) {
        TakeChosenFile(*panel, panel->RunModal(view->GetWindow()), fileName, folder);
        return;
    }
    std::weak_ptr<int> alive = liveness;
    panel->BeginSheet(view->GetWindow(), [panel = panel.Get(), alive, completion](int response) {
        if (alive.expired())
            return; // the canvas and whoever asked are gone
        VxString name, chosenFolder;
        TakeChosenFile(*panel, response, name, chosenFolder);
        completion(name, chosenFolder);
    });
}

void ICanvasMac::RunFolderDialog(VxString& folder, FileDialogCompletion completion) {
    if (!*folder.Get())
        folder.SetBounded(sys::DesktopFolder().c_str());
    if (!view)
        return;
    auto panel = ak::MakeRef<ak::OpenPanel>();
    panel->SetTitle("Choose a Directory");
    panel->SetCanChooseFiles(false);
    panel->SetCanChooseDirectories(true);
    panel->SetCanCreateDirectories(true);
    panel->SetDirectory(folder.Get());
    if (!completion) {
        TakeChosenFolder(*panel, panel->RunModal(view->GetWindow()), folder);
        return;
    }
    std::weak_ptr<int> alive = liveness;
    ak::SavePanel* shown = panel.Get();
    panel->BeginSheet(view->GetWindow(), [shown, alive, completion](int response) {
        if (alive.expired())
            return;
        VxString chosen;
        TakeChosenFolder(*shown, response, chosen);
        completion(VxString(), chosen);
    });
}

bool ICanvasMac::RunColorPicker(IColor& color, const char*, ColorPickerCompletion completion) {
    return view && view->PromptForColor(color, std::move(completion));
}

void ICanvasMac::ShowNativeTextEntry(int paramIdx, const IText& text, const IRECT& bounds,
                                     int length, const char* initial) {
    if (view)
        view->CreateTextEntry(paramIdx, text, initial, length, ViewRectOf(bounds, GetDrawScale()));
}

IPopupMenu* ICanvasMac::ShowNativePopupMenu(IPopupMenu& menu, bool& answersLater,
                                            const IRECT& bounds) {
    answersLater = true;
    // The menu runs its own loop after the caller's event handling is done.
    // By then the canvas may be gone, or the opener with the menu it owns.
    std::weak_ptr<int> alive = liveness;
    const IControl* opener = GetControlInPopupMenu();
    ak::Application::RunOnMainLater([this, alive, opener, menu = &menu, bounds] {
        const auto stillAsked = [&] {
            return !alive.expired() && GetControlInPopupMenu() == opener;
        };
        if (!stillAsked())
            return;
        IPopupMenu* result =
            view ? view->CreatePopupMenu(*menu, ViewRectOf(bounds, GetDrawScale())) : nullptr;
        if (!stillAsked())
            return;
        if (result && result->GetCompletion()) {
            const IPopupMenu::CompletionFunc completion = result->GetCompletion();
            completion(result);
        }
        ApplyPopupMenuChoice(result);
    });
    return nullptr;
}

} // namespace vx::ui
