// File and folder panels over ak's, with the "File type:" selector and the
// caller's accessory template.
#include "platform/ak/FilePanel.h"
#include "winlayer/FileTypeList.h"
#include "winlayer/controls/ControlCalls.h"
#include "winlayer/dialogs/CommonDialogs.h"
#include "winlayer/dialogs/PanelMenus.h"
#include "winlayer/window/DialogCalls.h"
#include "winlayer/window/WindowCalls.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace winlayer;

namespace {

constexpr int kChildFlags = 1 | (1 << 2); // child style, top-down, not opaque
constexpr int kSelectorWidth = 338;
constexpr int kSelectorHeight = 22;
// The list's left edge from the middle of the row.
constexpr int kSelectorListOffset = 85;
constexpr int kCbnSelChange = 1;

struct Template {
    int id = 0;
    DLGPROC proc = nullptr;
    DialogResourceRecord* resources = nullptr;
};

// One-shot: the next panel that finds it takes it.
Template& PendingTemplate() {
    static Template pending;
    return pending;
}

// What the selector's procedure works on while its panel runs.
struct Selector {
    ak::SavePanel* panel;
    const char* fileTypes;
    std::vector<FileTypeChoice> choices;
    int initial;
    std::string chosen; // the chosen entry's extension list

    void Choose(int index) {
        if (index < 0 || index >= int(choices.size()))
            return;
        chosen = choices[index].extensions;
        panel->SetAllowedExtensions(FileTypesOf(fileTypes, FirstExtension(chosen)));
    }
};

void BuildSelector(HWND view, int) {
    WISP_MakeSetCurParms(view, 0, 0, 1, 1, 0, 0);
    WISP_MakeLabel(1, "File type:", kFileTypeLabelId, 0, 2, 80, 22, 0);
    WISP_MakeCombo(kFileTypeListId, 84, 0, 250, 0, 3);
}

// The label and list stay centred as a pair in the panel's width.
void CentreSelectorRow(HWND view) {
    RECT client{};
    if (!GetClientRect(view, &client))
        return;
    const int middle = (client.right - client.left) / 2;
    const std::pair<int, int> row[] = {{kFileTypeLabelId, middle - kSelectorWidth / 2},
                                       {kFileTypeListId, middle - kSelectorListOffset}};
    for (const auto& [id, left] : row)
        if (ak::View* control = FindView(GetDlgItem(view, id))) {
            const ak::Rect frame = control->Frame();
            control->SetFrame({{double(left), frame.origin.y}, frame.size});
        }
}

INT_PTR SelectorProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        CentreSelectorRow(view);
        return 0;
    }
    if (message == WM_INITDIALOG) {
        auto* selector = reinterpret_cast<Selector*>(lParam);
        SetWindowLong(view, GWL_USERDATA, lParam);
        const HWND list = GetDlgItem(view, kFileTypeListId);
        for (const FileTypeChoice& choice : selector->choices)
            SendMessage(list, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(choice.description.c_str()));
        SendMessage(list, CB_SETCURSEL, WPARAM(selector->initial), 0);
        selector->Choose(selector->initial);
        return 1;
    }
    if (message == WM_COMMAND && (wParam & 0xFFFF) == WPARAM(kFileTypeListId) &&
        (wParam >> 16) == WPARAM(kCbnSelChange)) {
        if (auto* selector = reinterpret_cast<Selector*>(GetWindowLong(view, GWL_USERDATA)))
            selector->Choose(
                int(SendMessage(GetDlgItem(view, kFileTypeListId), CB_GETCURSEL, 0, 0)));
        return 1;
    }
    return 0;
}

HWND PanelHandle(ak::SavePanel& panel) {
    return reinterpret_cast<HWND>(static_cast<void*>(&panel));
}

// The panel's accessories while it runs: the selector, the caller's
// template dialog, or the template inside the selector below its row.
class Accessories {
public:
    Accessories(ak::SavePanel& panel, Selector* selector) : panel_(panel) {
        AddFilePanel(&panel);
        static DialogResourceRecord selectorRecord{
            1, nullptr, kChildFlags, &BuildSelector, kSelectorWidth, kSelectorHeight, nullptr};
        if (selector)
            selector_ = WISP_CreateDialog(&selectorRecord, 1, PanelHandle(panel), &SelectorProc,
                                          reinterpret_cast<LPARAM>(selector));
        // The panel holds one accessory: the selector must outlive its turn.
        const ak::Ref<ak::View> selectorHeld(FindView(selector_));
        Template& pending = PendingTemplate();
        if (pending.id && pending.proc) {
            const Template chosen = std::exchange(pending, Template{});
            template_ =
                WISP_CreateDialog(chosen.resources, chosen.id, PanelHandle(panel), chosen.proc, 0);
        }
        ak::View* selectorView = selectorHeld.Get();
        ak::View* templateView = FindView(template_);
        if (selectorView && templateView) {
            const ak::Size row = selectorView->Frame().size;
            const ak::Size below = templateView->Frame().size;
            ak::Ref<ak::View> hold(templateView);
            templateView->SetFrame({{0, row.height}, below});
            selectorView->AddSubview(templateView);
            selectorView->SetFrame({selectorView->Frame().origin,
                                    {std::max(row.width, below.width), row.height + below.height}});
            panel.SetAccessoryView(selectorView);
        }
    }
    ~Accessories() {
        panel_.SetAccessoryView(nullptr);
        for (HWND dialog : {template_, selector_})
            if (dialog && IsWindow(dialog))
                DestroyWindow(dialog);
        RemoveFilePanel(&panel_);
    }
    Accessories(const Accessories&) = delete;
    Accessories& operator=(const Accessories&) = delete;

private:
    ak::SavePanel& panel_;
    HWND selector_ = nullptr;
    HWND template_ = nullptr;
};

void Start(ak::SavePanel& panel, const InitialName& initial) {
    if (!initial.folder.empty())
        panel.SetDirectory(initial.folder);
    if (!initial.name.empty())
        panel.SetNameFieldValue(initial.name);
}

// Runs the panel with its accessories and the panel menus.
int RunPanel(ak::SavePanel& panel, Selector* selector) {
    PanelMenus menus;
    Accessories accessories(panel, selector);
    return panel.RunModal();
}

} // namespace

int BrowseForSaveFile(const char* title, const char* initialFolder, const char* initialFile,
                      const char* fileTypes, char* out, int outSize) {
    auto panel = ak::MakeRef<ak::SavePanel>();
    panel->SetTitle(title ? title : "");
    const std::vector<std::string> types = FileTypesOf(fileTypes);
    const InitialName initial = InitialNameOf(initialFile, initialFolder, types, true);
    Start(*panel, initial);
    std::optional<Selector> selector;
    if (types.size() >= 2) {
        std::vector<FileTypeChoice> choices = FileTypeChoices(fileTypes);
        const int first = ChoiceForFile(choices, initialFile ? initialFile : "");
        selector.emplace(Selector{panel.Get(), fileTypes, std::move(choices), first, ""});
    } else if (!types.empty()) {
        panel->SetAllowedExtensions(types);
    }
    const int response = RunPanel(*panel, selector ? &*selector : nullptr);
    if (response != ak::PanelResponse::OK || panel->Paths().empty() || !out || outSize <= 0)
        return 0;
    const std::string path =
        SavedPath(panel->Paths().front(), types, selector ? selector->chosen : "", initialFile);
    return !path.empty() && CopyWhole(path, out, outSize) ? 1 : 0;
}

char* BrowseForFiles(const char* title, const char* initialFolder, const char* initialFile,
                     BOOL allowMultiple, const char* fileTypes) {
    auto panel = ak::MakeRef<ak::OpenPanel>();
    panel->SetTitle(title ? title : "");
    panel->SetCanChooseFiles(true);
    panel->SetCanChooseDirectories(false);
    panel->SetAllowsMultipleSelection(allowMultiple != 0);
    const std::vector<std::string> types = FileTypesOf(fileTypes);
    Start(*panel, InitialNameOf(initialFile, initialFolder, types, false));
    if (!types.empty())
        panel->SetAllowedExtensions(types);
    const int response = RunPanel(*panel, nullptr);
    if (response != ak::PanelResponse::OK || panel->Paths().empty())
        return nullptr;
    std::vector<std::string> paths = panel->Paths();
    if (!allowMultiple)
        paths.resize(1);
    const std::string block = FileListBlock(paths);
    auto* copy = static_cast<char*>(std::malloc(block.size()));
    if (copy)
        std::memcpy(copy, block.data(), block.size());
    return copy;
}

int BrowseForDirectory(const char* title, const char* initialFolder, char* out, int outSize) {
    auto panel = ak::MakeRef<ak::OpenPanel>();
    panel->SetTitle(title ? title : "");
    panel->SetCanChooseFiles(false);
    panel->SetCanChooseDirectories(true);
    panel->SetAllowsMultipleSelection(false);
    panel->SetCanCreateDirectories(true);
    if (initialFolder && *initialFolder)
        panel->SetDirectory(initialFolder);
    const int response = RunPanel(*panel, nullptr);
    if (response != ak::PanelResponse::OK || panel->Paths().empty())
        return 0;
    return CopyWhole(panel->Paths().front(), out, outSize) ? 1 : 0;
}

void BrowseFile_SetTemplate(int dialogId, DLGPROC proc, DialogResourceRecord* resources) {
    PendingTemplate() = Template{dialogId, proc, resources};
}
