#pragma once

#include "platform/ak/Geometry.h"
#include "platform/ak/Image.h"
#include "platform/ak/Object.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace ak {

class Menu;
class View;

// One entry of a menu: a command (title with '&' mnemonics, tag, key
// equivalent, state), a separator, or the opener of a submenu.
class MenuItem : public Object {
public:
    explicit MenuItem(const std::string& title, int64_t tag = 0);
    static Ref<MenuItem> Separator();
    // Everything, submenus included, callbacks too.
    Ref<MenuItem> Copy() const;

    bool IsSeparator() const { return m_separator; }
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title);
    // Off: '&' and '_' show as they are.
    void SetUsesMnemonic(bool uses) { m_mnemonic = uses; }
    bool UsesMnemonic() const { return m_mnemonic; }
    int64_t Tag() const { return m_tag; }
    void SetTag(int64_t tag) { m_tag = tag; }
    int64_t Data() const { return m_data; }
    void SetData(int64_t data) { m_data = data; }
    // key: one character ("q", ",") or a key name ("F5", "Delete"); modifiers
    // in ModifierFlag bits (Command is Ctrl, Control is Super, Option is Alt).
    // An empty key removes the equivalent.
    void SetKeyEquivalent(const std::string& key, uint32_t modifiers);
    const std::string& KeyEquivalent() const { return m_key; }
    uint32_t KeyModifiers() const { return m_modifiers; }
    bool IsEnabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked);
    int Indent() const { return m_indent; }
    void SetIndent(int level);
    void SetImage(Image* image);
    Image* GetImage() const { return m_image.Get(); }
    Menu* Submenu() const { return m_submenu.Get(); }
    void SetSubmenu(Menu* submenu);

    // Heard when the user chooses the item (or its key equivalent).
    std::function<void(MenuItem&)> onActivate;

    GtkWidget* Widget() const { return m_widget; }
    // Binds the key equivalent in a window's accelerator group (null: none).
    void BindAccelerators(void* accelGroup);

private:
    MenuItem(const std::string& title, int64_t tag, bool separator);
    ~MenuItem() override;
    static void OnActivate(void* widget, MenuItem* self);
    void RebuildChild();
    void UpdateAccelerator();

    bool m_separator;
    bool m_mnemonic = true;
    std::string m_title;
    int64_t m_tag;
    int64_t m_data = 0;
    std::string m_key;
    uint32_t m_modifiers = 0;
    bool m_enabled = true;
    bool m_checked = false;
    int m_indent = 0;
    Ref<Image> m_image;
    Ref<Menu> m_submenu;
    GtkWidget* m_widget;
    GtkWidget* m_label = nullptr;
    unsigned long m_activateHandler = 0;
    void* m_accelGroup = nullptr;
    Menu* m_menu = nullptr; // the menu holding the item
    friend class Menu;
};

class Menu : public Object {
public:
    explicit Menu(const std::string& title = {});
    Ref<Menu> Copy() const;

    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    const std::vector<Ref<MenuItem>>& Items() const { return m_items; }
    int Count() const { return static_cast<int>(m_items.size()); }
    MenuItem* ItemAt(int index) const;
    void AddItem(MenuItem* item) { InsertItem(item, Count()); }
    // An index out of range appends. An item already in a menu moves.
    void InsertItem(MenuItem* item, int index);
    void RemoveItemAt(int index);
    void RemoveAllItems();
    int IndexOf(const MenuItem* item) const;
    // This menu first, then depth-first through the submenus.
    MenuItem* ItemWithTag(int64_t tag) const;

    // Heard before the menu opens, for bringing items up to date.
    std::function<void(Menu&)> onWillShow;

    // Shows the menu at a point of the view and runs a nested loop until it
    // closes; answers the chosen item or null. Timers keep ticking.
    Ref<MenuItem> PopUp(View* view, Point inView, MenuItem* positioned = nullptr);

    // The GTK menu shell: a GtkMenu, or the GtkMenuBar a window shows.
    GtkWidget* Shell() const { return m_shell; }
    // Moves the items into a new menu bar (or back into the menu); answers it.
    GtkWidget* BecomeMenuBar(bool bar);

private:
    friend class MenuItem;
    ~Menu() override;
    static void OnShow(void* widget, Menu* self);

    std::string m_title;
    std::vector<Ref<MenuItem>> m_items;
    GtkWidget* m_menu;
    GtkWidget* m_shell;
    MenuItem* m_owner = nullptr;
};

// The height a window's menu bar takes, in points, measured on a bar with one item.
double MenuBarHeight();

} // namespace ak
