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

    std::function<void(ComboBox&)> onPopUp;
    std::function<void(ComboBox&)> onClose;
    std::function<void(ComboBox&)> onSelectionChanged;
    std::function<void(ComboBox&)> onTextChanged;
    std::function<void(ComboBox&)> onEditingEnded;

private:
    static void OnChanged(void*, ComboBox* self);
    static void OnPopupShown(void*, void*, ComboBox* self);
    static void OnEntryChanged(void*, ComboBox* self);
    static int OnFocusOut(void*, void*, ComboBox* self);
    void Notify(const std::function<void(ComboBox&)>& callback);
    int m_count = 0;
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
