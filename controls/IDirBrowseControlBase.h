#pragma once

#include "framework/VxPointerList.h"
#include "framework/VxString.h"
#include "toolkit/IContainerBase.h"
#include "toolkit/IPopupMenu.h"

#include <string>
#include <vector>

namespace vx::ui {

// Turns folders on disk into a popup-menu tree of the files with one
// extension: a submenu per folder when there are several, one per subfolder
// when scanning recursively. Subclasses decide how mainMenu is shown.
class IDirBrowseControlBase : public IContainerBase {
public:
    // The extension is given without its dot; empty lists no files. Scans
    // recursively, hides extensions and drops folders without files.
    IDirBrowseControlBase(const IRECT& bounds, const char* fileExtension);
    ~IDirBrowseControlBase() override;

    void AddPath(const char* path, const char* label);
    // Rebuilds the tree from the folders; nothing is selected afterwards.
    void SetupMenu();
    int NumItems() const { return leafItems.GetSize(); }
    // The index of the file among the leaf items, now selected; -1 when absent.
    int SelectFile(const char* path);
    // "" when nothing is selected.
    void GetSelectedFile(VxString& out) const;
    void CheckSelectedItem();
    void ClearPathList();

    IPopupMenu& GetMainMenu() { return mainMenu; }

    // A link back to the scanned folder or an ancestor is never followed, a
    // folder already open higher up is not scanned again, and no scan goes
    // deeper than this, so loops of links always end.
    static constexpr int kMaxDepth = 32;

protected:
    void ScanDirectory(const char* path, IPopupMenu& menu);
    // The leaf items in menu order; a submenu's items take its item's place.
    void CollectLeafItems(IPopupMenu& menu);
    // The item text for a file name; false when the name does not match.
    bool MatchName(const char* name, VxString& text) const;

    bool scanRecursively = true;
    bool showFileExtensions = false;
    bool keepEmptyFolders = false;
    int selectedIndex = -1;
    IPopupMenu mainMenu;
    VxPointerList<VxString> folderPaths;
    VxPointerList<VxString> pathLabels;
    VxPointerList<VxString> filePaths;
    VxPointerList<IPopupMenu::Item> leafItems; // owned by the menus
    VxString fileExtension;

private:
    void ScanFolder(const char* path, IPopupMenu& menu, std::vector<std::string>& openFolders);
};

} // namespace vx::ui
