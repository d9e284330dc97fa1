#include "controls/IDirBrowseControlBase.h"

#include "controls/DirectoryScanner.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace vx::ui {

namespace {

// Code 4: a link leading back up the tree.
constexpr int kLinkToAncestor = 4;

void AddCopy(VxPointerList<VxString>& list, const char* text) {
    auto* copy = new VxString(text ? text : "");
    if (!list.Add(copy))
        delete copy;
}

} // namespace

IDirBrowseControlBase::IDirBrowseControlBase(const IRECT& bounds, const char* extension)
    : IContainerBase(bounds) {
    fileExtension.SetBounded(extension ? extension : "");
}

IDirBrowseControlBase::~IDirBrowseControlBase() {
    ClearPathList();
}

void IDirBrowseControlBase::AddPath(const char* path, const char* label) {
    AddCopy(folderPaths, path);
    AddCopy(pathLabels, label);
}

void IDirBrowseControlBase::ClearPathList() {
    folderPaths.Empty(true);
    pathLabels.Empty(true);
    filePaths.Empty(true);
    leafItems.Empty(false);
}

void IDirBrowseControlBase::SetupMenu() {
    filePaths.Empty(true);
    leafItems.Empty(false);
    mainMenu.Clear();
    selectedIndex = -1;
    const int folders = folderPaths.GetSize();
    if (folders == 1) {
        ScanDirectory(folderPaths.Get(0)->Get(), mainMenu);
    } else {
        for (int i = 0; i < folders; ++i) {
            IPopupMenu::Item& item =
                mainMenu.AddItem(pathLabels.Get(i)->Get(), i, std::make_unique<IPopupMenu>());
            ScanDirectory(folderPaths.Get(i)->Get(), *item.submenu);
        }
    }
    CollectLeafItems(mainMenu);
}

bool IDirBrowseControlBase::MatchName(const char* name, VxString& text) const {
    const int extensionLength = fileExtension.GetLength();
    const int nameLength = int(std::strlen(name));
    if (extensionLength == 0)
        return false;
    int found = -1;
    for (int at = 0; at + extensionLength <= nameLength; ++at)
        if (std::strncmp(name + at, fileExtension.Get(), size_t(extensionLength)) == 0)
            found = at;
    if (found <= 0 || found + extensionLength != nameLength)
        return false;
    // The character before the extension is taken as its dot.
    const int keep = showFileExtensions || found == 1 ? nameLength : found - 1;
    text.Set(name, keep);
    return true;
}

void IDirBrowseControlBase::ScanDirectory(const char* path, IPopupMenu& menu) {
    std::vector<std::string> openFolders;
    ScanFolder(path, menu, openFolders);
}

void IDirBrowseControlBase::ScanFolder(const char* path, IPopupMenu& menu,
                                       std::vector<std::string>& openFolders) {
    char resolved[PATH_MAX];
    const std::string real = path && realpath(path, resolved) ? resolved : "";
    if (openFolders.size() >= size_t(kMaxDepth) ||
        std::find(openFolders.begin(), openFolders.end(), real) != openFolders.end())
        return;
    DirectoryScanner scanner;
    if (scanner.First(path) != 0)
        return;
    openFolders.push_back(real);
    do {
        const char* name = scanner.CurrentName();
        if (name[0] == '.')
            continue;
        VxString fullPath;
        scanner.CurrentFullPath(fullPath);
        const int folder = scanRecursively ? scanner.CurrentIsDirectory() : 0;
        if (folder) {
            if (folder == kLinkToAncestor)
                continue;
            IPopupMenu::Item& item = menu.AddItem(name, -2, std::make_unique<IPopupMenu>());
            ScanFolder(fullPath.Get(), *item.submenu, openFolders);
            continue;
        }
        IPopupMenu::Item item;
        if (!MatchName(name, item.text))
            continue;
        item.tag = filePaths.GetSize();
        AddCopy(filePaths, fullPath.Get());
        menu.AddItem(std::move(item), -2);
    } while (scanner.Next());
    openFolders.pop_back();
    if (!keepEmptyFolders)
        menu.RemoveEmptySubmenus();
}

void IDirBrowseControlBase::CollectLeafItems(IPopupMenu& menu) {
    for (int i = 0; i < menu.NItems(); ++i) {
        IPopupMenu::Item* item = menu.GetItem(i);
        if (item->submenu)
            CollectLeafItems(*item->submenu);
        else
            leafItems.Add(item);
    }
}

int IDirBrowseControlBase::SelectFile(const char* path) {
    selectedIndex = -1;
    if (!path)
        return -1;
    for (int file = 0; file < filePaths.GetSize(); ++file) {
        if (std::strcmp(filePaths.Get(file)->Get(), path) != 0)
            continue;
        for (int leaf = 0; leaf < leafItems.GetSize(); ++leaf)
            if (leafItems.Get(leaf)->tag == file)
                return selectedIndex = leaf;
    }
    return -1;
}

void IDirBrowseControlBase::GetSelectedFile(VxString& out) const {
    const IPopupMenu::Item* item = leafItems.Get(selectedIndex);
    const VxString* file = item ? filePaths.Get(item->tag) : nullptr;
    out.SetBounded(file ? file->Get() : "");
}

void IDirBrowseControlBase::CheckSelectedItem() {
    if (selectedIndex >= 0)
        mainMenu.CheckItem(leafItems.Get(selectedIndex));
}

} // namespace vx::ui
