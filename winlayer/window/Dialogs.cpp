// Dialogs from registered resources: modeless windows, child views and
// modal dialogs whose loop answers EndDialog's value.
#include "platform/ak/Application.h"
#include "winlayer/window/DialogCalls.h"
#include "winlayer/window/TopLevel.h"
#include "winlayer/window/WindowCalls.h"
#include "winlayer/window/WindowView.h"

#include <algorithm>
#include <vector>

using winlayer::FindObject;

namespace {

constexpr int kChildStyle = 1 << 0;
constexpr std::int64_t kSyntheticBase = 0x400000;
constexpr std::int64_t kSyntheticMask = 0xF;
// Synthetic windows without a record: opaque and flipped, as the records' bits 4 and 2.
constexpr int kPlainDialogFlags = (1 << 4) | (1 << 2);
constexpr unsigned kChildCreateFlags = 15;

const DialogResourceRecord* FindRecord(const DialogResourceRecord* head, std::int64_t id) {
    for (const DialogResourceRecord* record = head; record; record = record->next)
        if (record->resourceId == id)
            return record;
    return nullptr;
}

// Bit 0 resizable, bit 1 no miniaturize button, bit 2 no close button.
uint32_t SyntheticStyle(std::int64_t low) {
    uint32_t style =
        ak::StyleMask::Titled | ak::StyleMask::Closable | ak::StyleMask::Miniaturizable;
    if (low & 1)
        style |= ak::StyleMask::Resizable;
    if (low & 2)
        style &= ~ak::StyleMask::Miniaturizable;
    if (low & 4)
        style &= ~ak::StyleMask::Closable;
    return style;
}

// File panels that take a dialog as their accessory view while they run.
std::vector<ak::SavePanel*>& FilePanels() {
    static std::vector<ak::SavePanel*> panels;
    return panels;
}

ak::SavePanel* FilePanelOf(HWND parent) {
    for (ak::SavePanel* panel : FilePanels())
        if (static_cast<const void*>(panel) == static_cast<const void*>(parent))
            return panel;
    return nullptr;
}

HWND CreateAccessory(ak::SavePanel& panel, const DialogResourceRecord* record, DLGPROC proc,
                     LPARAM param) {
    auto holder = ak::MakeRef<ak::View>();
    auto* view = Wisp_vOmnarControl_hwnd::initChild(record, holder.Get(), proc, param);
    if (!view)
        return nullptr;
    ak::Ref<ak::View> keep(view);
    view->RemoveFromSuperview();
    view->setWispCreateWindowFlags(kChildCreateFlags);
    panel.SetAccessoryView(view);
    return view->Handle();
}

// A view stands for itself, a window for its content view.
ak::View* ParentView(HWND parent) {
    ak::Responder* object = FindObject(parent);
    if (auto* view = dynamic_cast<ak::View*>(object))
        return view;
    if (auto* window = dynamic_cast<ak::Window*>(object))
        return window->ContentView();
    return nullptr;
}

// Destroys the dialog box's content and closes it, once.
void FinishDialogBox(Wisp_vOmnarControl_dialogbox& box) {
    ak::Ref<ak::Window> hold(&box);
    auto* content = dynamic_cast<Wisp_vOmnarControl_hwnd*>(box.ContentView());
    if (content && !content->wispHasBeenDestroyed())
        content->onWispMessage(WM_DESTROY, 0, 0);
    box.doDestroyStuff();
    if (!box.IsClosed())
        box.Close();
}

} // namespace

HWND WISP_CreateDialog(DialogResourceRecord* resources, int resourceId, HWND parent, DLGPROC proc,
                       LPARAM param) {
    std::int64_t searched = resourceId;
    uint32_t forced = 0;
    const bool synthetic = (searched & ~kSyntheticMask) == kSyntheticBase;
    if (synthetic) {
        forced = SyntheticStyle(searched & kSyntheticMask) | winlayer::kExactStyle;
        searched = 0;
    }
    const DialogResourceRecord* record = FindRecord(resources, searched);
    static const DialogResourceRecord plainChild{0,   nullptr, kPlainDialogFlags, nullptr, 300,
                                                 200, nullptr};
    static const DialogResourceRecord plainWindow{0,  nullptr, kPlainDialogFlags, nullptr, 10,
                                                  10, nullptr};
    if (!record && !synthetic)
        return nullptr;
    const bool childAllowed =
        synthetic ? (resourceId & kSyntheticMask) == 0 : (record->flags & kChildStyle) != 0;
    if (ak::SavePanel* panel = FilePanelOf(parent))
        return CreateAccessory(*panel, record ? record : &plainChild, proc, param);
    ak::View* parentView = ParentView(parent);
    if (parentView && childAllowed) {
        auto* view = Wisp_vOmnarControl_hwnd::initChild(record ? record : &plainChild, parentView,
                                                        proc, param);
        if (!view)
            return nullptr;
        view->setWispCreateWindowFlags(kChildCreateFlags);
        return view->Handle();
    }
    return winlayer::CreateModelessWindow(record ? record : &plainWindow, parent, proc, param,
                                          forced);
}

int WISP_DialogBox(DialogResourceRecord* resources, int resourceId, HWND parent, DLGPROC proc,
                   LPARAM param) {
    const DialogResourceRecord* record = resources ? FindRecord(resources, resourceId) : nullptr;
    if (!record || (record->flags & kChildStyle))
        return -1;
    ak::Application* app = ak::Application::Shared();
    const HWND content = app ? winlayer::CreateDialogBox(record, parent, proc, param) : nullptr;
    ak::View* view = winlayer::FindView(content);
    auto* box = view ? dynamic_cast<Wisp_vOmnarControl_dialogbox*>(view->GetWindow()) : nullptr;
    if (!box)
        return -1;
    ak::Ref<ak::Window> hold(box);
    if (!box->wispHasModalRetVal()) {
        box->wispSetRunningModal(true);
        app->RunModal(box);
        box->wispSetRunningModal(false);
    }
    const int result = box->wispHasModalRetVal() ? box->wispGetModalRetVal() : 0;
    FinishDialogBox(*box);
    return result;
}

namespace winlayer {

void AddFilePanel(ak::SavePanel* panel) {
    if (panel && std::find(FilePanels().begin(), FilePanels().end(), panel) == FilePanels().end())
        FilePanels().push_back(panel);
}

void RemoveFilePanel(ak::SavePanel* panel) {
    std::erase(FilePanels(), panel);
}

} // namespace winlayer
