#pragma once

#include "platform/ak/Control.h"

#include <functional>
#include <string>

namespace ak {

// An editable combo box: a text entry with a list of items. The callbacks
// hear the user only.
class ComboBox : public Control {
public:
    explicit ComboBox(Rect frame);

    void AddItem(const std::string& title);
    // index clamped to [0, Count()].
    void InsertItem(int index, const std::string& title);
    void RemoveItemAt(int index);
    std::string TitleAt(int index) const;
    void RemoveAllItems();
    int Count() const { return m_count; }
    int SelectedIndex() const;
    void SelectIndex(int index);
    std::string Text() const;
    void SetText(const std::string& text);
    // Off: neither a right click nor the menu key opens the text's menu.
    void SetContextMenuEnabled(bool enabled) { m_menuEnabled = enabled; }
    bool ContextMenuEnabled() const { return m_menuEnabled; }

    std::function<void(ComboBox&)> onPopUp;
    std::function<void(ComboBox&)> onClose;
    std::function<void(ComboBox&)> onSelectionChanged;
    std::function<void(ComboBox&)> onTextChanged;
    std::function<void(ComboBox&)> onEditingEnded;
    // The text takes the keyboard focus (a click, Tab or the program).
    std::function<void(ComboBox&)> onFocusTaken;

private:
    static void OnChanged(void*, ComboBox* self);
    static void OnPopupShown(void*, void*, ComboBox* self);
    static void OnEntryChanged(void*, ComboBox* self);
    static int OnFocusOut(void*, void*, ComboBox* self);
    static void OnGrabFocus(void*, ComboBox* self);
    static int OnButtonPress(void*, void* event, ComboBox* self);
    static int OnPopupMenu(void*, ComboBox* self);
    void Notify(const std::function<void(ComboBox&)>& callback);
    int m_count = 0;
    bool m_menuEnabled = true;
};

// Label-only tabs over GtkNotebook. The callback hears every change of the
// selected tab except those that inserting and removing tabs cause.
class TabView : public Control {
public:
    explicit TabView(Rect frame);

    void InsertTab(int index, const std::string& label);
    void RemoveTab(int index);
    int Count() const;
    std::string LabelAt(int index) const;
    int SelectedIndex() const;
    void SelectIndex(int index);

    std::function<void(TabView&, int index)> onSelectionChanged;

private:
    static void OnSwitchPage(void*, void*, unsigned page, TabView* self);
    bool m_changingTabs = false;
};

} // namespace ak
