#pragma once

#include "platform/ak/Object.h"
#include "platform/ak/View.h"

#include <functional>
#include <string>
#include <vector>

namespace ak {

class Window;

namespace PanelResponse {
constexpr int Cancel = 0;
constexpr int OK = 1;
} // namespace PanelResponse

// Extensions as a panel filters by them: blanks, leading dots and repeats
// dropped, compared without case; "*" anywhere means every file (empty).
std::vector<std::string> NormalizedExtensions(const std::vector<std::string>& extensions);

// A save panel over GTK's file chooser; OpenPanel adds choosing files or
// folders. RunModal answers PanelResponse; Paths() holds full paths.
class SavePanel : public Object {
public:
    SavePanel();

    void SetTitle(const std::string& title) { m_title = title; }
    // Takes effect at once, also while the panel runs.
    void SetAllowedExtensions(const std::vector<std::string>& extensions);
    const std::vector<std::string>& AllowedExtensions() const { return m_extensions; }
    // A folder that does not exist: the home folder.
    void SetDirectory(const std::string& folder) { m_folder = folder; }
    void SetNameFieldValue(const std::string& name) { m_name = name; }
    void SetAllowsOtherFileTypes(bool allows) { m_allowsOther = allows; }
    void SetCanCreateDirectories(bool can) { m_canCreateFolders = can; }
    // Shown below the chooser, as wide as the panel: its width follows the
    // panel's, its height stays.
    void SetAccessoryView(View* view) { m_accessory = view; }
    View* AccessoryView() const { return m_accessory.Get(); }

    int RunModal(Window* parent = nullptr);
    // Returns at once; the panel runs after the current event, then the
    // completion hears its answer.
    void BeginSheet(Window* parent, std::function<void(int)> completion);
    const std::vector<std::string>& Paths() const { return m_paths; }

    // The chooser while it runs, for the tests' answering helpers.
    static void* Running();
    // Cancels the running chooser; false when none runs.
    static bool Dismiss();

protected:
    ~SavePanel() override = default;
    virtual bool IsOpenPanel() const { return false; }
    bool m_chooseFiles = true;
    bool m_chooseFolders = false;
    bool m_multiple = false;

private:
    void ApplyFilter() const;
    std::string WithExtension(const std::string& path) const;

    std::string m_title;
    std::vector<std::string> m_extensions;
    std::string m_folder;
    std::string m_name;
    bool m_allowsOther = false;
    bool m_canCreateFolders = true;
    Ref<View> m_accessory;
    std::vector<std::string> m_paths;
    void* m_dialog = nullptr;
};

class OpenPanel : public SavePanel {
public:
    void SetCanChooseFiles(bool can) { m_chooseFiles = can; }
    void SetCanChooseDirectories(bool can) { m_chooseFolders = can; }
    void SetAllowsMultipleSelection(bool allows) { m_multiple = allows; }

protected:
    bool IsOpenPanel() const override { return true; }
};

} // namespace ak
